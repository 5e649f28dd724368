#!/bin/sh
# Installs what is missing, builds the game and starts it in the folder that holds the sample
# target pictures (pix/).
set -eu
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
exec build/default/app/varkoz
