#!/bin/bash
# Builds the example installer from examples/ and runs it under Wine, then
# shows what it installed. Runs inside tests/wine/session.sh.
# usage: demo.sh WINDOWS_BUILD_DIR (absolute)
set -eu
win=$1
native=$(dirname "$win")/native
src=$(cd "$(dirname "$0")/.." && pwd)
work=$win/demo
rm -rf "$work"
mkdir -p "$work/files"
cp -r "$src/examples/product/." "$work/files/"
cp "$win/kavrix-sample-engine.exe" "$work/files/"

echo "== building the installer"
"$native/kavrix-pack" build "$src/examples/example.ini" "Package.Stub=$win/kavrix-stub.exe" \
  "Package.Files=$work/files" "Package.Output=$work/example-setup.exe"
"$native/kavrix-pack" verify "$work/example-setup.exe"

target=$WINEPREFIX/drive_c/KavrixExample
rm -rf "$target"
echo "== running example-setup.exe under Wine"
set +e
"$KAVRIX_WINE" "$work/example-setup.exe"
code=$?
set -e
echo "setup ended with exit code $code"

echo "== installed in C:\\KavrixExample"
if [ ! -d "$target" ]; then echo "nothing was installed" >&2; exit 1; fi
(cd "$target" && find . -type f ! -name _engine_run.txt | sort | while read -r f; do
  printf '  %-36s %8d bytes\n' "${f#./}" "$(stat -c %s "$f")"
done)
echo "== the engine was started with"
head -n 1 "$target/_engine_run.txt" | tr -d '\r' | sed 's/^/  /'
echo "== readme.txt"
sed 's/^/  /' "$target/readme.txt"
