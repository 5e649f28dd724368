#!/bin/sh
# Checks the windows' frames under Qt's Wayland platform on a compositor that leaves them to the
# programs, as GNOME's does: a headless Weston of their own at the screen scale 1, then 2
# (docs/wayland.md). Weston's screenshots stay in build/default/tools/wayland.
set -eu
cd "$(dirname "$0")/.."
tools/install-deps.sh weston qt6-wayland
cmake --preset default -DVARKOZ_BUILD_TOOLS=ON >/dev/null
cmake --build --preset default --target varkoz_wayland_check
for scale in 1 2; do
    runtime=$(mktemp -d)
    # Without the panel, which would lie over the top of a window placed at the top; with the
    # screenshooter (--debug).
    printf '[shell]\npanel-position=none\nlocking=false\n' >"$runtime/weston.ini"
    XDG_RUNTIME_DIR=$runtime weston --backend=headless-backend.so --use-pixman --width=1024 \
        --height=768 --scale="$scale" --socket=weston --idle-time=0 \
        --config="$runtime/weston.ini" --debug >"$runtime/weston.log" 2>&1 &
    weston=$!
    tries=600 # a minute at most
    until [ -S "$runtime/weston" ] || [ "$tries" -eq 0 ]; do
        tries=$((tries - 1))
        sleep 0.1
    done
    status=0
    XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=weston QT_QPA_PLATFORM=wayland \
        build/default/tools/wayland/varkoz_wayland_check || status=$?
    kill "$weston" 2>/dev/null || true
    wait "$weston" || true
    [ "$status" -eq 0 ] || cat "$runtime/weston.log"
    rm -rf "$runtime"
    [ "$status" -eq 0 ] || exit "$status"
done
echo "The frames are right on Wayland, at the scales 1 and 2."
