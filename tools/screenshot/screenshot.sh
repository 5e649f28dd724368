#!/bin/sh
# Takes the README's picture of the game (docs/wave.png) in a virtual X display with a window
# manager, so the windows have their frames and captions.
set -eu
cd "$(dirname "$0")/../.."
tools/install-deps.sh xvfb xauth openbox
cmake --preset default -DVARKOZ_BUILD_TOOLS=ON >/dev/null
cmake --build --preset default --target varkoz_screenshot
mkdir -p docs
DBUS_SESSION_BUS_ADDRESS=disabled: xvfb-run -a -s "-screen 0 800x600x24" sh -c '
    openbox >/dev/null 2>&1 &
    sleep 1
    QT_QPA_PLATFORM=xcb build/default/tools/screenshot/varkoz_screenshot docs
'
