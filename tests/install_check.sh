#!/bin/sh
# Installs the build into a temporary prefix and checks what lands where: the program, the
# launcher (desktop-file-validate), the AppStream metainfo (appstreamcli validate), the icons and
# the sample targets, and that the launcher starts the program in the folder that holds the
# samples. Then stages an install as a package build does (DESTDIR) and checks that the launcher
# names the final places, not the staging folder.
#
# install_check.sh <cmake> <build dir> <source dir> <desktop id> <configured prefix> <bindir>
#                  <datadir>
# bindir and datadir as GNUInstallDirs gives them, relative to the prefix. Exits 77, which CTest
# reports as skipped, when a validator is missing; everything else is checked all the same.
set -u

if [ $# -ne 7 ]; then
    echo "usage: $0 <cmake> <build dir> <source dir> <desktop id> <prefix> <bindir> <datadir>" >&2
    exit 2
fi
cmake=$1 build=$2 source=$3 id=$4 configured_prefix=$5 bindir=$6 datadir=$7

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
missing=""

work=$(mktemp -d -t varkoz-install-XXXXXX) || exit 1
trap 'rm -rf "$work"' EXIT INT TERM

# The value of a key of the launcher's one group.
key() {
    sed -n "s/^$2=//p" "$1"
}

# Checks an installed tree. $1: where the files are; $2: the prefix the launcher must name.
check_tree() {
    root=$1 named=$2
    program="$root/$bindir/varkoz"
    { [ -f "$program" ] && [ -x "$program" ]; } || fail "no program at $program"

    launcher="$root/$datadir/applications/$id.desktop"
    metainfo="$root/$datadir/metainfo/$id.metainfo.xml"
    [ -f "$launcher" ] || { fail "no launcher at $launcher"; return; }
    [ -f "$metainfo" ] || fail "no metainfo at $metainfo"

    [ "$(key "$launcher" Categories)" = "Game;ArcadeGame;" ] || fail "launcher: Categories"
    [ "$(key "$launcher" Icon)" = "$id" ] || fail "launcher: Icon is not $id"
    exec=$(key "$launcher" Exec)
    [ "$exec" = "\"$named/$bindir/varkoz\"" ] || fail "launcher: Exec=$exec"

    # The program reads pix/ from its working directory: the launcher's Path.
    path=$(key "$launcher" Path)
    [ "$path" = "$named/$datadir/varkoz" ] || fail "launcher: Path=$path"
    samples=0
    for picture in "$source"/pix/pic*.jpg; do
        installed="$root${path#"$named"}/pix/$(basename "$picture")"
        if cmp -s "$picture" "$installed"; then
            samples=$((samples + 1))
        else
            fail "sample $(basename "$picture") is not in the Path's pix folder"
        fi
    done
    [ "$samples" -gt 0 ] || fail "no samples in the source's pix folder"

    grep -q "<id>$id</id>" "$metainfo" || fail "metainfo: id is not $id"
    grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" \
        || fail "metainfo: launchable is not $id.desktop"

    for size in 16 32 48 128 256; do
        icon="$root/$datadir/icons/hicolor/${size}x$size/apps/$id.png"
        cmp -s "$icon" "$source/assets/varkoz-$size.png" || fail "icon $icon is missing or differs"
    done
}

echo "Installing into a temporary prefix"
prefix="$work/prefix"
if "$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; then
    check_tree "$prefix" "$prefix"
else
    cat "$work/install.log" >&2
    fail "cmake --install --prefix"
fi

echo "Installing into a staging folder (DESTDIR) for the prefix $configured_prefix"
stage="$work/stage"
if DESTDIR="$stage" "$cmake" --install "$build" >"$work/stage.log" 2>&1; then
    check_tree "$stage$configured_prefix" "$configured_prefix"
else
    cat "$work/stage.log" >&2
    fail "DESTDIR=... cmake --install"
fi

launcher="$prefix/$datadir/applications/$id.desktop"
metainfo="$prefix/$datadir/metainfo/$id.metainfo.xml"
if command -v desktop-file-validate >/dev/null 2>&1; then
    echo "desktop-file-validate $id.desktop"
    # It prints nothing for a launcher without errors, warnings or hints.
    if ! output=$(desktop-file-validate "$launcher" 2>&1) || [ -n "$output" ]; then
        echo "$output" >&2
        fail "desktop-file-validate"
    fi
else
    missing="$missing desktop-file-validate (Debian package desktop-file-utils)"
fi
if command -v appstreamcli >/dev/null 2>&1; then
    echo "appstreamcli validate --no-net $id.metainfo.xml"
    appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
else
    missing="$missing appstreamcli (Debian package appstream)"
fi

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
if [ -n "$missing" ]; then
    echo "SKIPPED: the install tree is right, but these validators are missing:$missing" >&2
    [ -z "${VARKOZ_NO_SKIPS:-}" ] || exit 1
    exit 77
fi
echo "The install tree, the launcher and the metainfo are right."
