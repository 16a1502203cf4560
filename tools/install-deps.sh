#!/bin/sh
# Installs the Debian packages listed in deps/debian-packages.txt (or in the
# list given as the argument) that are missing. Does nothing (and needs no
# network) when every package is already installed.
set -eu
here=$(dirname "$0")
list="${1:-$here/../deps/debian-packages.txt}"
missing=""
for pkg in $(grep -v '^[[:space:]]*#' "$list" | tr -s ' \t' '\n\n'); do
    status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
    case "$status" in
        *"install ok installed"*) ;;
        *) missing="$missing $pkg" ;;
    esac
done
[ -z "$missing" ] && exit 0
echo "Installing missing packages:$missing"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update
# shellcheck disable=SC2086
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends $missing
