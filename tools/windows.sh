#!/bin/sh
# Makes the Windows release on Debian 12, from a fresh clone, into build/windows/, tests it under
# Wine and checks it in real windows (docs/windows.md). VARKOZ_WINDOWS_QT names another folder for
# Qt for Windows than the one in the cache.
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
out=$root/build/windows
qt=${VARKOZ_WINDOWS_QT:-${XDG_CACHE_HOME:-$HOME/.cache}/varkoz-windows/qt-6.4.2-mingw64}
started=$(date +%s)

# The cross compiler, Wine (and its `wine` command), Debian's source tools for Qt's source, the
# installer maker, the resource reader, the archivers, and a virtual X display with ImageMagick
# for the real window.
tools/install-deps.sh g++-mingw-w64-x86-64-posix wine64 wine nsis icoutils dpkg-dev zip unzip \
    xvfb xauth imagemagick

nice tools/windows/qt.sh "$qt"

# Wine in a prefix of its own, without the menu entries and file associations it would make on
# this machine, without its .NET and web-browser installers, and quiet.
mkdir -p "$out"
export WINEPREFIX="$out/wine"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=;mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Making the Wine prefix $WINEPREFIX"
    DISPLAY='' wineboot --init >/dev/null 2>&1
    wineserver --wait
fi
# Windows as a player has it, as far as the real windows go: Wine keeps its windows on a desktop
# of its own, with their frames drawn as Windows draws them (on an X display without a window
# manager it would wait two seconds at each window hidden, for a manager that never answers),
# and Arial, which Windows has and Wine has not, is Liberation Sans, as on Linux.
DISPLAY='' wine regedit /S tools/windows/wine-settings.reg
wineserver --wait

# CTest's emulator for the tests: runs a Windows program under Wine with the Qt and MinGW runtime
# libraries on its path. On Windows Qt's offscreen platform reads fonts from the files of one
# folder, not from the system, and Qt ships none: the tests get the font the windows are laid
# out for, Liberation Sans (fonts-liberation), which is what Arial gives on Linux.
mingw_runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
fonts=$out/fonts
mkdir -p "$fonts"
ln -sf /usr/share/fonts/truetype/liberation/LiberationSans-*.ttf "$fonts/"
cat > "$out/wine.sh" <<EOF
#!/bin/sh
# Made by tools/windows.sh: runs a Windows program of the build under Wine.
export WINEPREFIX='$WINEPREFIX' WINEDEBUG=-all WINEDLLOVERRIDES='$WINEDLLOVERRIDES'
export WINEPATH='$(winpath "$qt/bin");$(winpath "$mingw_runtime");$(winpath /usr/x86_64-w64-mingw32/lib)'
export WINEQT_QPA_FONTDIR='$(winpath "$fonts")'
EOF
cat >> "$out/wine.sh" <<'EOF'
# Wine keeps this machine's QT_ variables from Windows programs (they would be meant for the
# Linux Qt), and hands WINEQT_ ones on under their own names: so CTest's QT_QPA_PLATFORM and
# QT_SCALE_FACTOR reach the tests.
for variable in $(env | sed -n 's/^\(QT_[A-Za-z0-9_]*\)=.*/\1/p'); do
    eval "export WINE$variable=\"\$$variable\""
done
# Qt writes a test's log to its standard output only where it finds that output redirected or a
# console, and under Wine it finds neither in a pipe: the log would go to the debugger.
export WINEQT_FORCE_STDERR_LOGGING=1
exec wine "$@"
EOF
chmod +x "$out/wine.sh"

# The licence texts that travel with Qt and the MinGW runtime, from Debian's copyright files of
# the very sources they were built from, with the full licences those refer to.
licenses=$out/licenses
rm -rf "$licenses"
mkdir -p "$licenses/Qt" "$licenses/MinGW-w64"
qt_version=$(dpkg-query -W -f='${Version}' libqt6core6)
cp /usr/share/doc/libqt6core6/copyright "$licenses/Qt/copyright.txt"
cp /usr/share/common-licenses/LGPL-3 "$licenses/Qt/LGPL-3.txt"
cp /usr/share/common-licenses/GPL-3 "$licenses/Qt/GPL-3.txt"
sed "s/@QT_VERSION@/$qt_version/" packaging/windows/qt-licence.txt.in \
    > "$licenses/Qt/README.txt"
cp /usr/share/doc/gcc-mingw-w64-base/copyright "$licenses/MinGW-w64/gcc-copyright.txt"
cp /usr/share/doc/mingw-w64-x86-64-dev/copyright "$licenses/MinGW-w64/mingw-w64-copyright.txt"
cp /usr/share/common-licenses/GPL-3 "$licenses/MinGW-w64/GPL-3.txt"
cp packaging/windows/mingw-licence.txt "$licenses/MinGW-w64/README.txt"

# The game, from the same CMake project as on Linux. Its folder holds everything: no bin/.
build=$out/build
cmake -S . -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/tools/windows/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_PREFIX_PATH="$qt" \
    -DQT_HOST_PATH=/usr \
    -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake" \
    -DCMAKE_INSTALL_BINDIR=. \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$out/wine.sh" \
    -DVARKOZ_THIRD_PARTY_LICENSES="$licenses" >/dev/null
nice cmake --build "$build"

# The test suite, under Wine, headless as on Linux.
ctest --test-dir "$build" --output-on-failure --no-tests=error

# The release: the portable folder as a ZIP, and the installer.
(cd "$build" && cpack -C Release >/dev/null)
version=$(sed -n "s/^project(varkoz VERSION \([0-9.]*\).*/\1/p" CMakeLists.txt)
zip=varkoz-$version-win64.zip
setup=varkoz-$version-win64-setup.exe
mv "$build/$zip" "$build/$setup" "$out/"
rm -rf "$build/_CPack_Packages"

# What is in them, and the real window.
sh tools/windows/release-check.sh "$out" "$zip" "$setup"
x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -Wall -Wextra -Wpedantic -Werror -municode -static \
    -o "$out/windowcheck.exe" tools/windows/windowcheck.cpp -lole32 -luuid -lgdi32
wineserver --kill 2>/dev/null || true
DBUS_SESSION_BUS_ADDRESS=disabled: xvfb-run --auto-servernum --server-args='-screen 0 1024x768x24' \
    sh tools/windows/window-check.sh "$out" "$zip" "$setup"

minutes=$((($(date +%s) - started + 30) / 60))
echo "Windows release made and checked in $minutes minutes:"
ls -l "$out/$zip" "$out/$setup"
