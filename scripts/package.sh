#!/usr/bin/env bash
# Builds the Debian package corvexzr_VERSION_ARCH.deb in build-package/: Release, the project's
# warnings not fatal (as any packager builds), without tests and benchmarks. Its last line on standard
# output is the package's path; everything else goes to standard error.
#   sudo apt-get install ./build-package/corvexzr_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."

dir=build-package
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi

scripts/setup.sh >&2
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DCORVEX_WERROR=OFF -DCORVEX_BUILD_TESTS=OFF -DCORVEX_BUILD_BENCHMARKS=OFF "${launcher[@]}" >&2
cmake --build "$dir" --parallel "$(nproc)" >&2
rm -f "$dir"/corvexzr_*.deb
(cd "$dir" && cpack -G DEB) >&2
packages=("$PWD/$dir"/corvexzr_*.deb)
[ -f "${packages[0]}" ] || { echo "package.sh: cpack made no corvexzr_*.deb in $dir" >&2; exit 1; }
echo "${packages[0]}"
