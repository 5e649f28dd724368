#!/bin/sh
# The release in real windows under Wine, for tools/windows.sh: installed silently, played from
# its shortcut by windowcheck.exe, the ZIP unpacked into a folder of non-ASCII letters and started
# as Explorer starts it, and uninstalled (leaving a photo the player added to pix alone). The
# screenshots go to screenshots/ beside the release.
#   window-check.sh <folder of the release> <zip> <installer>    (WINEPREFIX and the rest set)
set -eu
out=$1
zip=$2
setup=$3
version=$(printf '%s' "$zip" | sed -n 's/^varkoz-\([0-9.]*\)-win64\.zip$/\1/p')
source=$(cd "$(dirname "$0")/../.." && pwd)
# Wine takes command lines and file names in this locale's encoding.
export LC_ALL=C.UTF-8

fail() {
    printf 'FAILED: %s\n' "$*"
    exit 1
}
ok() { printf 'ok: %s\n' "$*"; }
windows_variable() { wine cmd /c "echo %$1%" | tr -d '\r'; }

local_appdata=$(windows_variable LOCALAPPDATA)
appdata=$(windows_variable APPDATA)
folder_win="$local_appdata\\Programs\\VARKOZ"
folder=$(winepath -u "$folder_win")
shortcut_win="$appdata\\Microsoft\\Windows\\Start Menu\\Programs\\VARKOZ.lnk"
shortcut=$(winepath -u "$shortcut_win")
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\VARKOZ'
registered() { wine reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$1 *REG_[A-Z]* *//p"; }

# What the checks look for, as PPM files: the samples, the fireball, the built-in target.
pictures=$out/pictures
rm -rf "$pictures" "$out/screenshots"
mkdir -p "$pictures" "$out/screenshots"
for sample in "$source"/pix/pic*.jpg; do
    convert "$sample" "PPM:$pictures/$(basename "$sample" .jpg).ppm"
done
convert "$source/assets/fireball.gif" "PPM:$pictures/fireball.ppm"
convert "$source/assets/fallback-target.png" "PPM:$pictures/fallback.ppm"

# Left over from an earlier run that stopped half-way.
if [ -e "$folder" ] || registered DisplayName | grep -q .; then
    echo "Removing an installation left by an earlier check"
    rm -rf "$folder" "$shortcut"
    wine reg delete "$key" /f >/dev/null 2>&1 || true
fi

# The installer, silently, as the user: everything in the player's own folder.
wine "$out/$setup" /S
wineserver --wait
[ -f "$folder/varkoz.exe" ] || fail "nothing installed in $folder_win"
ok "the installer put the game in $folder_win"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unzip -q "$out/$zip" -d "$work"
(cd "$work/${zip%.zip}" && find . -type f | sort) > "$work/zipped"
(cd "$folder" && find . -type f ! -name Uninstall.exe | sort) > "$work/installed"
diff "$work/zipped" "$work/installed" >/dev/null ||
    fail "the installed files are not those of the ZIP: $(diff "$work/zipped" "$work/installed" | tr '\n' ' ')"
[ -f "$folder/Uninstall.exe" ] || fail "no uninstaller"
ok "the installed files are the ZIP's, $(wc -l < "$work/installed") of them, with Uninstall.exe"
[ -f "$shortcut" ] || fail "no Start-menu shortcut $shortcut_win"
ok "the Start menu has VARKOZ.lnk"
for pair in "DisplayName=VARKOZ" "DisplayVersion=$version" "Publisher=VARKOZ developers" \
    "DisplayIcon=$folder_win\\varkoz.exe,0" "InstallLocation=$folder_win" \
    "UninstallString=\"$folder_win\\Uninstall.exe\""; do
    [ "$(registered "${pair%%=*}")" = "${pair#*=}" ] ||
        fail "the installed apps list has ${pair%%=*} '$(registered "${pair%%=*}")', not '${pair#*=}'"
done
[ -n "$(registered EstimatedSize)" ] || fail "no EstimatedSize"
ok "the installed apps list names VARKOZ $version by VARKOZ developers, with its icon and size"
if wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\VARKOZ' >/dev/null 2>&1; then
    fail "the installer wrote to the machine's settings (HKLM)"
fi
ok "and nothing for the whole machine"

# The installed game, started as its shortcut starts it, played through a wave.
echo "The installed game:"
screens_win=$(winepath -w "$out/screenshots")
wine "$out/windowcheck.exe" "$shortcut_win" "$(winepath -w "$pictures")" "$screens_win"
wineserver --wait

# The portable folder, unpacked where the path has letters beyond ASCII, started as Explorer
# starts a program: in its own folder.
portable="$WINEPREFIX/drive_c/Játékok"
rm -rf "$portable"
mkdir -p "$portable/portable"
unzip -q "$out/$zip" -d "$portable"
echo "The portable folder:"
wine "$out/windowcheck.exe" "C:\\Játékok\\${zip%.zip}\\varkoz.exe" "$(winepath -w "$pictures")" \
    "$(winepath -w "$portable/portable")" --short
wineserver --wait
rm -rf "$portable"

# The uninstaller, silently: nothing is left of the game.
wine "$folder/Uninstall.exe" /S
wineserver --wait
[ ! -e "$folder" ] || fail "the uninstaller left $(cd "$folder" && find . | tr '\n' ' ')"
ok "the uninstaller left nothing in $folder_win, which is gone"
[ ! -e "$shortcut" ] || fail "the uninstaller left the shortcut"
[ -z "$(registered DisplayName)" ] || fail "the uninstaller left the game in the installed apps"
ok "nor the shortcut, nor the entry in the installed apps"

# A player's own picture in pix is theirs: installed again, with a photo added, the uninstaller
# takes away everything but that photo (and the folders around it).
wine "$out/$setup" /S
wineserver --wait
cp "$source/pix/pic0.jpg" "$folder/pix/mine.jpg"
wine "$folder/Uninstall.exe" /S
wineserver --wait
left=$(cd "$folder" && find . | sort | tr '\n' ' ')
[ "$left" = ". ./pix ./pix/mine.jpg " ] || fail "with a player's photo the uninstaller left $left"
ok "with a player's photo in pix the uninstaller left that photo alone"
rm -rf "$folder"

for shot in "$out"/screenshots/*.ppm; do
    convert "$shot" "${shot%.ppm}.png"
    rm "$shot"
done
ok "screenshots in $out/screenshots: $(cd "$out/screenshots" && ls | tr '\n' ' ')"
