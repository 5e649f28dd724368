#!/bin/sh
# Installs what is missing, builds the game and its tests and runs the whole suite headless;
# then builds and runs it all again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -eu
cd "$(dirname "$0")/.."
# For the tests beyond the build: the validators, a virtual display with a window manager, the
# screen reader and its speech, and what builds and checks the Debian package.
tools/install-deps.sh desktop-file-utils appstream xvfb xauth openbox dbus at-spi2-core \
    python3-pyatspi orca speech-dispatcher speech-dispatcher-espeak-ng dpkg-dev lintian \
    libqt6svg6
cmake --preset default >/dev/null
cmake --build --preset default
ctest --preset default
cmake --preset asan >/dev/null
cmake --build --preset asan
ctest --preset asan
