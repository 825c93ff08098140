#!/bin/sh
# Installs what building and testing the launcher needs, with apt-get, when
# it is missing. Safe to run again: it does nothing when all is there.
# With ORVANE_WINE32=1 it also installs the 32-bit Wine loader (needs i386
# multiarch and a kernel that runs 32-bit programs).
set -eu

packages="cmake ninja-build make python3 g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine wine64 msitools wixl gcab googletest xvfb xauth imagemagick file clang libclang-rt-14-dev
  pkg-config libmsi-dev libgsf-1-dev libglib2.0-dev cabextract fonts-ipafont-gothic"

missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ "${ORVANE_WINE32:-0}" = 1 ]; then
  dpkg --print-foreign-architectures | grep -qx i386 || { dpkg --add-architecture i386; missing="$missing wine32:i386"; }
  dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed" || missing="$missing wine32:i386"
fi
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
SUDO=""
[ "$(id -u)" = 0 ] || SUDO=sudo
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq $missing
