#!/bin/bash
# Renders the main window and a few message boxes under the session's X
# display and saves them as PNG files.
# usage: run.sh WIN_BUILD_DIR OUT_DIR   (inside tests/wine/session.sh)
set -eu
bin=$1
out=$2
mkdir -p "$out"
demo="$bin/kavrix-screenshot-demo.exe"
work=$(mktemp -d "$out/.work.XXXXXX")
trap 'rm -rf "$work"' EXIT

# The system fonts a Windows machine has (Tahoma for the texts, Marlett for the
# caption buttons), from Wine's own font package when the prefix lacks them.
fonts="$WINEPREFIX/drive_c/windows/Fonts"
for f in /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf /usr/share/wine/fonts/marlett.ttf; do
  [ -f "$f" ] && [ -d "$fonts" ] && cp -n "$f" "$fonts/"
done

shoot() {  # name
  local name=$1 ready="$work/$1.ready" done="$work/$1.done"
  "$KAVRIX_WINE" "$demo" "/SHOW=$name" "/READY=Z:${ready//\//\\}" "/DONE=Z:${done//\//\\}" &
  local pid=$!
  for _ in $(seq 1 600); do [ -s "$ready" ] && break; sleep 0.1; done
  if [ ! -s "$ready" ]; then echo "no $name window" >&2; kill "$pid" 2>/dev/null; return 1; fi
  read -r x y w h < <(tr -d "\r" < "$ready")
  # A few pixels of the desktop around the window frame it.
  import -display "$DISPLAY" -window root -crop "$((w + 16))x$((h + 16))+$((x - 8))+$((y - 8))" +repage \
    "$out/$name.png"
  touch "$done"
  wait "$pid" || true
  echo "$out/$name.png"
}

for name in main error question rtl; do shoot "$name"; done
