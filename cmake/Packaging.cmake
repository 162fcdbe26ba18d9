# The Debian package: corvexzr_VERSION_ARCH.deb with everything `cmake --install` installs.
# Configure with -DCMAKE_INSTALL_PREFIX=/usr (scripts/package.sh does), so that the udev rule goes where
# packages put theirs (link/CMakeLists.txt), then run `cpack -G DEB` in the build folder.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME corvexzr)
set(CPACK_PACKAGE_VENDOR "Velmora Systems Inc.")
set(CPACK_PACKAGE_CONTACT "Velmora Systems Inc. <support@velmora-systems.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "variable load test of defibrillators with the Corvex analyzer")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# Lines of the control file's description, as Debian wraps them; an empty one starts a paragraph.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "CorvexZR drives the Corvex defibrillator analyzer (USB) and its ZRQ switchable"
  "load accessory through the variable load test of IEC 60601-2-4: the"
  "defibrillator is discharged into each load from 25 to 175 ohms, and the"
  "program keeps the measurements and discharge waveforms as a test record, with"
  "a text report, CSV export, printing, a waveform viewer and a PASS or FAIL"
  "verdict against the maker's declared energies."
  ""
  "corvexzr-demo runs the same program with a simulated analyzer, for training"
  "without hardware; zrqtool turns records into reports and CSV files in scripts."
  "A udev rule lets the user at the computer open the analyzer.")
set(CPACK_PACKAGE_HOMEPAGE_URL "${CORVEX_HOMEPAGE}")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link, found by dpkg-shlibdeps, and the Qt plugins they load at run time,
# which no linker sees: the SVG icon engine for the toolbar icons and SQLite for the test library; and
# the fonts with the metrics the windows and the report are laid out for (Tahoma's in Wine's fonts,
# Courier New's in Liberation Mono).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, libqt6sql6-sqlite, fonts-wine, fonts-liberation")
# A test library shared on a PostgreSQL server needs its Qt driver.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libqt6sql6-psql")
# The maintainer scripts reload udev's rules so that the analyzer's rule holds at once.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
  ${CMAKE_CURRENT_LIST_DIR}/debian/postinst ${CMAKE_CURRENT_LIST_DIR}/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# Every Debian package carries its copyright in /usr/share/doc/PACKAGE/copyright.
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/copyright CONTENT [[
Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: CorvexZR
Upstream-Contact: ${CPACK_PACKAGE_CONTACT}
Source: ${CORVEX_HOMEPAGE}

Files: *
Copyright: ${CORVEX_COPYRIGHT}
License: proprietary
 All rights reserved.
]])
install(FILES ${CMAKE_BINARY_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_PACKAGE_NAME})

include(CPack)
