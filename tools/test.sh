#!/bin/sh
# Installs what is missing, builds the game and its tests and runs the whole suite headless.
set -eu
cd "$(dirname "$0")/.."
tools/install-deps.sh desktop-file-utils appstream
cmake --preset default >/dev/null
cmake --build --preset default
ctest --preset default
