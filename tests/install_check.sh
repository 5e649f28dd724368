#!/bin/sh
# Installs the game as a player gets it and checks what lands where: `cmake --install` into a
# temporary prefix (the program, the launcher and metainfo, which their validators must pass,
# an icon, the samples where the launcher starts the game), and with --package the Debian
# package cpack makes (the same tree under /usr with the program in /usr/games and nothing
# elsewhere, and lintian without errors). Exits 77, which CTest reports as skipped, when a tool
# is missing, unless VARKOZ_NO_SKIPS is set.
# install_check.sh <cmake> <cpack> <build dir> <desktop id> <datadir> [--package]
set -u
cmake=$1 cpack=$2 build=$3 id=$4 datadir=$5 package=${6:-}

need() {
    command -v "$1" >/dev/null 2>&1 && return
    echo "SKIPPED: $1 is missing (Debian package $2)" >&2
    [ -n "${VARKOZ_NO_SKIPS:-}" ] && exit 1 || exit 77
}
need desktop-file-validate desktop-file-utils
need appstreamcli appstream
[ -z "$package" ] || { need dpkg-shlibdeps dpkg-dev; need lintian lintian; }

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
work=$(mktemp -d -t varkoz-install-XXXXXX) || exit 1
trap 'rm -rf "$work"' EXIT INT TERM

# The tree installed for the prefix $2, unpacked under $1: the launcher starts the program in
# the folder of the samples, and it and the metainfo pass their validators.
check_tree() {
    root=$1$2
    launcher=$root/$datadir/applications/$id.desktop
    program=$(sed -n 's/^Exec="\(.*\)"$/\1/p' "$launcher")
    [ -x "$1$program" ] || fail "the launcher's Exec is no program: $program"
    [ -f "$1$(sed -n 's/^Path=//p' "$launcher")/pix/pic0.jpg" ] || fail "no samples at its Path"
    [ -f "$root/$datadir/icons/hicolor/48x48/apps/$id.png" ] || fail "no icon"
    output=$(desktop-file-validate "$launcher" 2>&1) && [ -z "$output" ] || fail "launcher: $output"
    appstreamcli validate --no-net "$root/$datadir/metainfo/$id.metainfo.xml" >"$work/log" 2>&1 \
        || { cat "$work/log" >&2; fail "appstreamcli validate"; }
}

"$cmake" --install "$build" --prefix "$work/prefix" >"$work/log" 2>&1 \
    || { cat "$work/log" >&2; fail "cmake --install"; }
check_tree "" "$work/prefix"

if [ -n "$package" ]; then
    (cd "$build" && "$cpack" -G DEB -B "$work/deb") >"$work/log" 2>&1 \
        || { cat "$work/log" >&2; fail "cpack -G DEB"; }
    deb=$(echo "$work"/deb/varkoz_*.deb)
    dpkg-deb -x "$deb" "$work/unpacked" || fail "no package"
    check_tree "$work/unpacked" /usr
    elsewhere=$(dpkg-deb -c "$deb" | awk '{ print $6 }' \
        | grep -vx -e './' -e './usr/' -e './usr/games/.*' -e './usr/share/.*')
    [ -z "$elsewhere" ] || fail "files outside /usr/games and /usr/share: $elsewhere"
    lintian --fail-on error "$deb" || fail "lintian reports errors"
fi

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }
if [ -n "$package" ]; then
    echo "The installed tree and the Debian package are right."
else
    echo "The installed tree is right."
fi
