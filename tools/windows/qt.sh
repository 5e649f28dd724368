#!/bin/sh
# Builds Qt for 64-bit Windows from Debian's own Qt source (with Debian's patches) once, into
# the folder given as the first argument; a later run that finds it built with the same recipe
# does nothing. Only what the game uses is built: Core, Gui, Widgets, Test, the Windows and
# offscreen platforms, the Windows styles and the image formats of the target pictures. The
# tools that run during the build (moc, rcc, uic...) are this machine's, from qt6-base-dev-tools.
set -eu
prefix=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$prefix.work
recipe=$(cat "$0" "$here/mingw-w64-x86_64.cmake" | sha256sum | cut -d' ' -f1)

if [ -f "$prefix/varkoz-recipe" ] && [ "$(cat "$prefix/varkoz-recipe")" = "$recipe" ]; then
    exit 0
fi
echo "Building Qt for Windows into $prefix (about 35 minutes on two cores)"
mkdir -p "$work"

# The source as Debian ships it: `apt-get source` unpacks it and applies Debian's patches. It
# needs a deb-src entry; Debian's standard mirror carries the sources.
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
if ! apt-get source --print-uris qt6-base >/dev/null 2>&1; then
    echo "Adding Debian's source packages to apt's sources"
    $sudo sh -c 'cat > /etc/apt/sources.list.d/varkoz-deb-src.sources' <<'SOURCES'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
    $sudo apt-get update
fi
source=$(find "$work" -maxdepth 1 -type d -name 'qt6-base-6.4.2*' | head -n 1)
if [ -z "$source" ]; then
    (cd "$work" && apt-get source qt6-base)
    source=$(find "$work" -maxdepth 1 -type d -name 'qt6-base-6.4.2*' | head -n 1)
fi
[ -n "$source" ] || { echo "apt-get source qt6-base brought no Qt 6.4.2 source" >&2; exit 1; }

# The toolchain file goes with the installed Qt, whose own toolchain file loads it.
mkdir -p "$prefix"
cp "$here/mingw-w64-x86_64.cmake" "$prefix/mingw-w64-x86_64.cmake"

# Debian's source has no wintab.h, which the Windows platform's tablet support includes: no
# tablet events. OpenGL stays on (dynamic, Qt's default): the 6.4 Windows platform needs it.
cmake -S "$source" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$prefix/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DQT_HOST_PATH=/usr \
    -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake" \
    -DQT_QMAKE_TARGET_MKSPEC=win32-g++ \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
    -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_vulkan=OFF \
    -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF \
    -DFEATURE_tabletevent=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF \
    -DFEATURE_system_jpeg=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_freetype=OFF
cmake --build "$work/build"
cmake --install "$work/build"
echo "$recipe" > "$prefix/varkoz-recipe"
rm -rf "$work"
