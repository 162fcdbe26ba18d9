#!/usr/bin/env bash
# Builds the Debian package and tries it on this machine as a technician's workstation gets it:
# apt-get install ./corvexzr_*.deb (with the dependencies it declares), zrqtool from /usr/bin, then
# apt-get purge, after which nothing of it may be left. Needs root or sudo, and changes /usr while it
# runs; a package already installed is refused rather than replaced.
set -euo pipefail
cd "$(dirname "$0")/.."

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
apt_get() { $SUDO env DEBIAN_FRONTEND=noninteractive apt-get -y -qq -o Dpkg::Use-Pty=0 "$@"; }
installed() { dpkg-query -W -f='${Status}' corvexzr 2>/dev/null | grep -q 'install ok installed'; }
fail() { echo "check-package: $1" >&2; exit 1; }

installed && fail "corvexzr is installed already; remove it first (apt-get purge corvexzr)"
deb=$(scripts/package.sh | tail -n 1)
echo "check-package: $deb, $(du -k "$deb" | cut -f1) KiB"
dpkg-deb -c "$deb"
dpkg-deb -f "$deb" Package Version Architecture Depends

# What the package must hold, and what the desktop reads of it.
work=$(mktemp -d)
trap 'rm -rf "$work"; if installed; then apt_get purge corvexzr >/dev/null || true; fi' EXIT
dpkg-deb -x "$deb" "$work/root"
for path in usr/bin/corvexzr usr/bin/corvexzr-demo usr/bin/zrqtool \
            usr/share/applications/corvexzr.desktop usr/share/applications/corvexzr-demo.desktop \
            usr/share/icons/hicolor/scalable/apps/corvexzr.svg usr/share/metainfo/com.velmora.CorvexZR.metainfo.xml \
            usr/lib/udev/rules.d/70-corvexzr.rules usr/share/man/man1/zrqtool.1.gz \
            usr/share/corvexzr/profiles/generic-biphasic.json usr/share/corvexzr/postgresql-roles.sql \
            usr/share/doc/corvexzr/copyright; do
  [ -f "$work/root/$path" ] || fail "the package lacks /$path"
done
[ ! -e "$work/root/etc" ] && [ ! -e "$work/root/usr/local" ] || fail "the package installs into /etc or /usr/local"
appstreamcli validate-tree --no-net "$work/root" || fail "appstreamcli refuses the installed tree"

# Installed as a user would, used, and removed.
apt_get install "$deb"
dpkg -L corvexzr >"$work/files"
/usr/bin/zrqtool --version
man -w zrqtool | grep -qx /usr/share/man/man1/zrqtool.1.gz || fail "man does not find zrqtool(1)"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config"
/usr/bin/zrqtool simulate "$work/test.zrq" --profile simulator-bte --energy 200
/usr/bin/zrqtool info "$work/test.zrq"
apt_get purge corvexzr
installed && fail "corvexzr is still installed after apt-get purge"
[ ! -e /usr/bin/zrqtool ] || fail "/usr/bin/zrqtool is still there after apt-get purge"
# Whatever of its paths is left is a folder another package owns too (/usr/bin, /usr/share/...).
while read -r path; do
  [ -e "$path" ] || continue
  [ -d "$path" ] && dpkg -S "$path" >/dev/null 2>&1 && continue
  fail "$path is left after apt-get purge"
done <"$work/files"
echo "check-package: installed, used and removed without a trace"
