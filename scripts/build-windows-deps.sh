#!/usr/bin/env bash
# The third-party libraries of the two Windows cross builds (see build-deps.sh).
exec "$(dirname "$0")/build-deps.sh" i686-w64-mingw32 x86_64-w64-mingw32
