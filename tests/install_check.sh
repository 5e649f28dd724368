#!/bin/sh
# Installs the game as a player gets it and checks what lands where: `cmake --install` into a
# temporary prefix (the program, the launcher and metainfo, which their validators must pass,
# the icons, the samples where the launcher starts the game), and with --package the Debian
# package cpack makes (the same tree under /usr with the program in /usr/games and nothing
# elsewhere, and lintian without errors). Exits 77, which CTest reports as skipped, when a tool
# is missing, unless VARKOZ_NO_SKIPS is set.
# install_check.sh <cmake> <cpack> <build dir> <source> <desktop id> <bindir> <datadir> [--package]
set -u
cmake=$1 cpack=$2 build=$3 source=$4 id=$5 bindir=$6 datadir=$7 package=${8:-}

need() {
    command -v "$1" >/dev/null 2>&1 && return
    echo "SKIPPED: $1 is missing (Debian package $2)" >&2
    [ -n "${VARKOZ_NO_SKIPS:-}" ] && exit 1
    exit 77
}
need desktop-file-validate desktop-file-utils
need appstreamcli appstream
[ -z "$package" ] || { need dpkg-shlibdeps dpkg-dev; need lintian lintian; }

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
work=$(mktemp -d -t varkoz-install-XXXXXX) || exit 1
trap 'rm -rf "$work"' EXIT INT TERM

# The tree under $1, installed for the prefix $2 with the program in $2/$3.
check_tree() {
    root=$1$2 prefix=$2 bin=$3
    launcher=$root/$datadir/applications/$id.desktop
    [ -x "$root/$bin/varkoz" ] || fail "no program in $prefix/$bin"
    grep -qx "Exec=\"$prefix/$bin/varkoz\"" "$launcher" || fail "launcher: Exec"
    grep -qx "Path=$prefix/$datadir/varkoz" "$launcher" || fail "launcher: Path"
    output=$(desktop-file-validate "$launcher" 2>&1) && [ -z "$output" ] || fail "launcher: $output"
    appstreamcli validate --no-net "$root/$datadir/metainfo/$id.metainfo.xml" >"$work/log" 2>&1 \
        || { cat "$work/log" >&2; fail "appstreamcli validate"; }
    for size in 16 32 48 128 256; do
        cmp -s "$source/assets/varkoz-$size.png" \
            "$root/$datadir/icons/hicolor/${size}x$size/apps/$id.png" || fail "icon $size"
    done
    for picture in "$source"/pix/pic*.jpg; do
        cmp -s "$picture" "$root/$datadir/varkoz/pix/${picture##*/}" || fail "no ${picture##*/}"
    done
}

"$cmake" --install "$build" --prefix "$work/prefix" >"$work/log" 2>&1 \
    || { cat "$work/log" >&2; fail "cmake --install"; }
check_tree "" "$work/prefix" "$bindir"

if [ -n "$package" ]; then
    (cd "$build" && "$cpack" -G DEB -B "$work/deb") >"$work/log" 2>&1 \
        || { cat "$work/log" >&2; fail "cpack -G DEB"; }
    deb=$(echo "$work"/deb/varkoz_*.deb)
    dpkg-deb -x "$deb" "$work/unpacked" || fail "no package"
    check_tree "$work/unpacked" /usr games
    elsewhere=$(dpkg-deb -c "$deb" | awk '{ print $6 }' \
        | grep -vx -e './' -e './usr/' -e './usr/games/.*' -e './usr/share/.*')
    [ -z "$elsewhere" ] || fail "files outside /usr/games and /usr/share: $elsewhere"
    lintian --fail-on error "$deb" || fail "lintian reports errors"
fi

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }
echo "The installed tree${package:+ and the Debian package} are right."
