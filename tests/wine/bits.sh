#!/bin/sh
# Prints 32 when this kernel can run the 32-bit Wine loader, else 64.
# Some virtual machines run 64-bit user code only; there the Windows tests run
# the x86_64 build of the same sources under 64-bit Wine.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then echo 32; else echo 64; fi
