#!/bin/sh
# Runs the command, a test program, under Qt's Wayland platform as a client of a Weston of its
# own: headless, drawn on the CPU, one output of 1024 x 768 pixels at the scale given first, with
# the desktop shell, which leaves the windows' frames to the programs, and with the screenshooter
# (weston-screenshooter) allowed. The second argument is Qt's qtpaths, which knows where Qt's
# plugins are.
# Exits with the command's status, or 77 (a skip, unless VARKOZ_NO_SKIPS is set) where Weston or
# Qt's Wayland platform is not installed (Debian packages weston and qt6-wayland).
set -eu
scale=$1 platforms="$("$2" --query QT_INSTALL_PLUGINS)/platforms"
shift 2
if ! command -v weston-screenshooter >/dev/null || [ ! -e "$platforms/libqwayland-generic.so" ]
then
    echo "SKIP: Weston or Qt's Wayland platform is not installed (weston, qt6-wayland)"
    [ -n "${VARKOZ_NO_SKIPS:-}" ] && exit 1 || exit 77
fi
runtime=$(mktemp -d)
# Without the panel, which would lie over the top of a window placed at the top of the screen.
printf '[shell]\npanel-position=none\nlocking=false\n' >"$runtime/weston.ini"
XDG_RUNTIME_DIR=$runtime weston --backend=headless-backend.so --use-pixman --width=1024 \
    --height=768 --scale="$scale" --socket=weston --idle-time=0 --config="$runtime/weston.ini" \
    --debug >"$runtime/weston.log" 2>&1 &
weston=$!
trap 'kill "$weston" 2>/dev/null || true; wait "$weston" || true; rm -rf "$runtime"' EXIT
# Ready when its socket is there: within a minute on the slowest machine.
tries=600
until [ -S "$runtime/weston" ]; do
    tries=$((tries - 1))
    if [ "$tries" -eq 0 ] || ! kill -0 "$weston" 2>/dev/null; then
        cat "$runtime/weston.log"
        exit 1
    fi
    sleep 0.1
done
XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=weston QT_QPA_PLATFORM=wayland "$@"
