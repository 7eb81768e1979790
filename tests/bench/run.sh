#!/bin/sh
# Runs every benchmark script; each prints its own figures. One that fails does
# not hide the figures of the others; the run still ends with a failure.
# usage: run.sh BUILD_DIR (absolute). Runs inside tests/wine/session.sh.
here=$(cd "$(dirname "$0")" && pwd)
failed=""
for b in "$here"/bench_*.sh; do
  [ -e "$b" ] || continue
  name=$(basename "$b" .sh)
  echo "== $name"
  "$b" "$1" || failed="$failed $name"
done
[ -z "$failed" ] || { echo "failed:$failed" >&2; exit 1; }
