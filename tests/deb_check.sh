#!/bin/sh
# Builds the Debian package from this build folder with cpack, into a temporary folder, and
# checks it: the files it holds, the launcher's paths, the changelog's version, the control
# fields (section, the Qt libraries dpkg-shlibdeps found, the platform plugins and the fonts) and
# lintian, which must report no errors.
#
# deb_check.sh <cpack> <build dir> <source dir> <desktop id>
# Exits 77, which CTest reports as skipped, when dpkg-deb, dpkg-shlibdeps or lintian is missing.
set -u

if [ $# -ne 4 ]; then
    echo "usage: $0 <cpack> <build dir> <source dir> <desktop id>" >&2
    exit 2
fi
cpack=$1 build=$2 source=$3 id=$4
for tool in dpkg-deb dpkg-shlibdeps lintian; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIPPED: $tool is missing (Debian packages dpkg-dev and lintian)" >&2
        exit 77
    fi
done

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
work=$(mktemp -d -t varkoz-deb-XXXXXX) || exit 1
trap 'rm -rf "$work"' EXIT INT TERM

if ! (cd "$build" && "$cpack" -G DEB -B "$work") >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    echo "FAIL: cpack -G DEB" >&2
    exit 1
fi
deb=$(find "$work" -maxdepth 1 -name 'varkoz_*.deb')
[ -f "$deb" ] || { echo "FAIL: no single varkoz_*.deb in: $deb" >&2; exit 1; }
echo "Built $(basename "$deb")"

# The program in /usr/games, all else under /usr/share.
dpkg-deb -c "$deb" | awk '{ print $6 }' | sed 's|^\./||' >"$work/files"
has() { grep -qxF "$1" "$work/files" || fail "no $1 in the package"; }
for file in usr/games/varkoz usr/share/applications/$id.desktop \
    usr/share/metainfo/$id.metainfo.xml usr/share/man/man6/varkoz.6.gz \
    usr/share/doc/varkoz/copyright usr/share/doc/varkoz/changelog.Debian.gz; do
    has "$file"
done
for size in 16 32 48 128 256; do has "usr/share/icons/hicolor/${size}x$size/apps/$id.png"; done
for picture in "$source"/pix/pic*.jpg; do has "usr/share/varkoz/pix/$(basename "$picture")"; done
others=$(grep -vx -e '' -e 'usr/' -e 'usr/games/.*' -e 'usr/share/.*' "$work/files")
[ -z "$others" ] || fail "files elsewhere than /usr/games and /usr/share: $others"

member() { dpkg-deb --fsys-tarfile "$deb" | tar -xO "./$1"; }
launcher=$(member "usr/share/applications/$id.desktop")
# Written with the package's paths, not those of the build folder's prefix or cpack's staging.
echo "$launcher" | grep -qx 'Exec="/usr/games/varkoz"' || fail "launcher: Exec is not the program"
echo "$launcher" | grep -qx 'Path=/usr/share/varkoz' || fail "launcher: Path is not the data folder"
member usr/share/doc/varkoz/copyright | grep -qx 'License: MIT' || fail "copyright: no MIT licence"
version=$(dpkg-deb -f "$deb" Version)
member usr/share/doc/varkoz/changelog.Debian.gz | gzip -dc | head -n 1 \
    | grep -qF "varkoz ($version) " || fail "changelog.Debian.gz: the latest entry is not $version"

[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "Section is not games"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for package in libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins fonts-liberation; do
    echo "$depends" | grep -Eq "(^|, )$package( |,|$)" || fail "Depends does not name $package"
done

echo "lintian $(basename "$deb")"
lintian --fail-on error "$deb" || fail "lintian reports errors"

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "The Debian package is right."
