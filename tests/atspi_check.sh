#!/bin/sh
# Starts the game in a virtual X display on a private accessibility bus and reads it with a real
# AT-SPI client (tests/atspi_client.py). Exits 77, which CTest counts as skipped, where the
# display, the bus or the client cannot be had.
# usage: atspi_check.sh <the game's executable> <the folder of this script> <the sample pix folder>
set -eu
game=$1 here=$2 pix=$3
python=/usr/bin/python3

# A skip, which a run with VARKOZ_NO_SKIPS set (CI) counts as a failure.
skip() { echo "SKIP: $*"; [ -z "${VARKOZ_NO_SKIPS:-}" ] || exit 1; exit 77; }
command -v xvfb-run >/dev/null || skip "xvfb-run is not installed (Debian package xvfb)"
command -v dbus-run-session >/dev/null || skip "dbus-run-session is not installed (Debian package dbus)"
[ -x /usr/libexec/at-spi-bus-launcher ] || skip "the AT-SPI bus launcher is not installed (Debian package at-spi2-core)"
"$python" -c "import pyatspi" 2>/dev/null || skip "the AT-SPI client is not installed (Debian package python3-pyatspi)"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$pix" "$work/pix"
cat >"$work/session.sh" <<SESSION
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
cd "$work"
QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$game" >game.log 2>&1 &
game=\$!
"$python" "$here/atspi_client.py" "$(basename "$game")"
result=\$?
kill \$game 2>/dev/null
exit \$result
SESSION

# No bus or display at all is a skip; anything the client says is the result.
dbus-run-session -- true 2>/dev/null || skip "no D-Bus session bus can start here"
unset DBUS_SESSION_BUS_ADDRESS
status=0
DBUS_FATAL_WARNINGS=0 timeout 120 dbus-run-session -- xvfb-run -a sh "$work/session.sh" \
    2>"$work/session.err" || status=$?
if [ $status -ne 0 ]; then
    cat "$work/session.err" "$work/game.log" 2>/dev/null || true
fi
exit $status
