#!/bin/sh
# Runs every benchmark script; each prints its own figures.
# usage: run.sh BUILD_DIR (absolute). Runs inside tests/wine/session.sh.
set -e
here=$(cd "$(dirname "$0")" && pwd)
for b in "$here"/bench_*.sh; do
  [ -e "$b" ] || continue
  echo "== $(basename "$b" .sh)"
  "$b" "$1"
done
