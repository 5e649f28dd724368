#!/bin/sh
# Checks what the Windows release holds, for tools/windows.sh: every file the game loads and no
# library it would miss, the icon, the version information, the licence texts, and the
# installer's request to run without administrator rights.
#   release-check.sh <folder of the release> <zip> <installer>     (WINEPREFIX set)
set -eu
out=$1
zip=$2
setup=$3
version=$(printf '%s' "$zip" | sed -n 's/^varkoz-\([0-9.]*\)-win64\.zip$/\1/p')

fail() {
    printf 'FAILED: %s\n' "$*"
    exit 1
}
ok() { printf 'ok: %s\n' "$*"; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The ZIP unpacks into one folder.
unzip -q "$out/$zip" -d "$work"
[ "$(ls "$work")" = "${zip%.zip}" ] || fail "$zip does not unpack into the one folder ${zip%.zip}"
folder=$work/${zip%.zip}
ok "$zip unpacks into ${zip%.zip}"

for file in varkoz.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll \
    libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll qt.conf \
    plugins/platforms/qwindows.dll plugins/styles/qwindowsvistastyle.dll \
    plugins/imageformats/qjpeg.dll plugins/imageformats/qgif.dll plugins/imageformats/qico.dll \
    licenses/VARKOZ.txt licenses/Qt/copyright.txt licenses/Qt/LGPL-3.txt licenses/Qt/GPL-3.txt \
    licenses/Qt/README.txt licenses/MinGW-w64/gcc-copyright.txt \
    licenses/MinGW-w64/mingw-w64-copyright.txt licenses/MinGW-w64/GPL-3.txt \
    licenses/MinGW-w64/README.txt; do
    [ -s "$folder/$file" ] || fail "the folder has no $file"
done
ok "the folder has the program, Qt's libraries and plugins, the runtime and the licence texts"
grep -q "GCC RUNTIME LIBRARY EXCEPTION" "$folder/licenses/MinGW-w64/gcc-copyright.txt" ||
    fail "the GCC Runtime Library Exception is not in gcc-copyright.txt"
ok "the GCC Runtime Library Exception travels with the runtime"
samples=$(cd "$(dirname "$0")/../../pix" && ls pic*.jpg)
for sample in $samples; do
    cmp -s "$(dirname "$0")/../../pix/$sample" "$folder/pix/$sample" || fail "pix/$sample differs"
done
ok "pix has the $(echo "$samples" | wc -l) samples"

# Every library each program file loads is in the folder, or is Windows' own: a file of Wine's
# system32, whose files Windows has too, or an API set (api-ms-win-...), which Windows' loader
# resolves to its own libraries.
system32=$WINEPREFIX/drive_c/windows/system32
used=""
for file in $(cd "$folder" && find . -name '*.exe' -o -name '*.dll' | sort); do
    for library in $(x86_64-w64-mingw32-objdump -p "$folder/$file" |
        sed -n 's/^[[:space:]]*DLL Name: //p' | tr -d '\r'); do
        if [ -f "$folder/$library" ]; then
            continue
        fi
        echo "$library" | grep -qi '^api-ms-win-' ||
            ls "$system32" | grep -qix "$library" ||
            fail "$file loads $library, which is neither in the folder nor Windows' own"
        used="$used $(echo "$library" | tr '[:upper:]' '[:lower:]')"
    done
done
ok "every library loaded is in the folder or Windows' own:$(echo "$used" | tr ' ' '\n' | sort -u | tr '\n' ' ')"

# The application icon: five images, 16 and 32 pixels at 4 and 8 bits a pixel, 48 at 8.
wrestool -x --type=14 "$folder/varkoz.exe" > "$work/icon.ico"
icons=$(icotool -l "$work/icon.ico" | sed -n 's/.*--width=\([0-9]*\) --height=\([0-9]*\) --bit-depth=\([0-9]*\).*/\1x\2@\3/p' |
    sort | tr '\n' ' ')
[ "$icons" = "16x16@4 16x16@8 32x32@4 32x32@8 48x48@8 " ] ||
    fail "the program's icon has the images $icons"
# (wrestool pads the file it writes at the end.)
source_icon=$(dirname "$0")/../../assets/varkoz.ico
cmp -s -n "$(wc -c < "$source_icon")" "$work/icon.ico" "$source_icon" ||
    fail "the program's icon is not assets/varkoz.ico"
ok "varkoz.exe carries the application icon: $icons"

# The version information: the numbers Windows compares, and the texts Explorer shows.
version_info() { # <program file> <file for the strings>: prints the file version's 8 bytes
    wrestool -x --raw --type=16 "$1" > "$work/version.res"
    strings -el -n 2 "$work/version.res" > "$2"
    od -An -v -tx1 "$work/version.res" | tr -s ' \n' '  ' |
        sed -n 's/.*bd 04 ef fe [0-9a-f]\{2\} [0-9a-f]\{2\} [0-9a-f]\{2\} [0-9a-f]\{2\} \(\([0-9a-f]\{2\} \)\{7\}[0-9a-f]\{2\}\).*/\1/p'
}
major=${version%%.*}
minor=${version#*.}
numbers=$(printf '%02x 00 %02x 00 00 00 00 00' "$minor" "$major")
[ "$(version_info "$folder/varkoz.exe" "$work/strings")" = "$numbers" ] ||
    fail "varkoz.exe has no file version $version.0.0"
for pair in "FileVersion=$version" "ProductVersion=$version" "ProductName=VARKOZ" \
    "CompanyName=VARKOZ developers" "OriginalFilename=varkoz.exe" "FileDescription=VARKOZ"; do
    grep -A1 -x "${pair%%=*}" "$work/strings" | grep -qx "${pair#*=}" ||
        fail "varkoz.exe's version information has no ${pair%%=*} ${pair#*=}"
done
ok "varkoz.exe carries its version information: $version, VARKOZ, VARKOZ developers"

# The installer: its own version information, and a manifest that asks for no administrator.
[ "$(version_info "$out/$setup" "$work/strings")" = "$numbers" ] ||
    fail "$setup has no file version $version.0.0"
grep -A1 -x ProductName "$work/strings" | grep -qx VARKOZ || fail "$setup names no product"
wrestool -x --raw --type=24 "$out/$setup" | grep -q 'level="asInvoker"' ||
    fail "$setup asks for administrator rights"
ok "$setup carries its version information and runs as the user who starts it"
