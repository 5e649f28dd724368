#!/bin/sh
# Installs the Debian packages that building and running the game need, and any further
# packages named on the command line, when any of them is missing. Needs root, or sudo for a
# normal user; does nothing when everything is there already.
set -eu

packages="cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins fonts-liberation $*"

missing=""
for package in $packages; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $package"
    fi
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
if [ "$(id -u)" -eq 0 ]; then
    sudo=""
else
    sudo="sudo"
fi
$sudo apt-get update
# shellcheck disable=SC2086 # one word per package
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y $missing
