#!/bin/sh
# Installs what the build and the tests need on a Debian machine (run as root).
# Quick when everything is already there: only missing packages are fetched.
set -e
native="cmake make g++ clang libclang-rt-14-dev googletest zlib1g-dev python3"
cross="g++-mingw-w64-i686 g++-mingw-w64-x86-64 libz-mingw-w64-dev"
wine="wine wine32:i386 wine64 xvfb xauth"
tools="osslsigncode openssl nsis imagemagick fonts-wine"
want="$native $cross $wine $tools"

missing=""
for p in $want; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

echo "installing:$missing"
if [ "$(id -u)" != 0 ]; then echo "need root to install packages" >&2; exit 1; fi
dpkg --print-foreign-architectures | grep -q i386 || dpkg --add-architecture i386
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends $missing >/dev/null
