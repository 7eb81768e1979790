#!/bin/bash
# Runs a command inside a throwaway Wine prefix and a private Xvfb display,
# both under the given build folder, and ends only what it started.
# usage: session.sh BUILD_DIR command [args...]
set -u
build=$(mkdir -p "$1" && cd "$1" && pwd); shift

here=$(cd "$(dirname "$0")" && pwd)
export KAVRIX_WINE_BITS=$("$here/bits.sh")
if [ "$KAVRIX_WINE_BITS" = 32 ]; then
  export WINEARCH=win32 KAVRIX_WINE=/usr/lib/wine/wine
else
  export WINEARCH=win64 KAVRIX_WINE=/usr/lib/wine/wine64 WINELOADER=/usr/lib/wine/wine64
fi
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX="$build/wineprefix.$$"

xvfb_pid=""
cleanup() {
  wineserver -k >/dev/null 2>&1
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$WINEPREFIX"
}
trap cleanup EXIT INT TERM

# Xvfb picks a free display itself and reports it on a file descriptor.
dispfile="$build/xvfb.$$.display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$dispfile" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 200); do [ -s "$dispfile" ] && break; sleep 0.05; done
[ -s "$dispfile" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(cat "$dispfile")"
rm -f "$dispfile"

"$KAVRIX_WINE" wineboot -i >/dev/null 2>&1
# Without a window manager, Wine waits two seconds for every hidden window of
# a managed kind; unmanaged windows hide at once and draw their own captions.
"$KAVRIX_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
wineserver -w
"$@"
