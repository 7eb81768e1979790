#!/bin/sh
# CTest's emulator for Windows programs: the Wine loader chosen by session.sh.
exec "${KAVRIX_WINE:?run the Windows tests through tests/wine/session.sh}" "$@"
