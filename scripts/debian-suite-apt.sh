#!/usr/bin/env bash
# Fetches packages of a newer Debian suite that Debian 12 lacks, through a private APT
# configuration: its own sources list and lists folder under the cache, so the machine's
# own sources and package lists stay untouched. The mirror is the one this machine already uses.
#
#   debian-suite-apt.sh CACHE SUITE source PACKAGE=VERSION DEST   unpack a source package (Debian's patches applied)
#   debian-suite-apt.sh CACHE SUITE binary PACKAGE=VERSION DEST   extract a binary package's files
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
suite=$2; mode=$3; pkg=$4; dest=$5; cache=$1/$suite-$mode
mkdir -p "$cache/apt/lists/partial" "$cache/apt/archives/partial" "$cache/apt/etc/sources.list.d" "$cache/apt/etc/preferences.d" "$cache/download"
cache=$(cd "$cache" && pwd)

mirror=$("$here/debian-mirror.sh")
keyring=/usr/share/keyrings/debian-archive-keyring.gpg
# Only the index the mode needs: a mirror caught mid-sync on one index then cannot cost the other.
if [ "$mode" = source ]; then
    echo "deb-src [signed-by=$keyring] $mirror $suite main" > "$cache/apt/etc/sources.list"
else
    echo "deb [arch=$(dpkg --print-architecture),all signed-by=$keyring] $mirror $suite main" > "$cache/apt/etc/sources.list"
fi

apt_private()
{
    apt-get -q -o Dir::Etc::sourcelist="$cache/apt/etc/sources.list" \
        -o Dir::Etc::sourceparts="$cache/apt/etc/sources.list.d" \
        -o Dir::Etc::preferencesparts="$cache/apt/etc/preferences.d" \
        -o Dir::State::Lists="$cache/apt/lists" \
        -o Dir::Cache::archives="$cache/apt/archives" \
        -o Dir::State::status=/var/lib/dpkg/status \
        -o Debug::NoLocking=1 \
        -o APT::Sandbox::User=root \
        "$@"
}

# A mirror caught mid-sync may fail an index nobody here needs; what was fetched is still used.
if [ ! -s "$cache/apt/lists/.updated" ]; then
    apt_private update >&2 || true
    date > "$cache/apt/lists/.updated"
fi

cd "$cache/download"
case "$mode" in
    source)
        name=${pkg%%=*}
        apt_private source --download-only "$pkg" >&2
        dsc=$(ls -1 "${name}"_*.dsc | head -n 1)
        rm -rf "$dest.partial"
        dpkg-source -x "$dsc" "$dest.partial" >&2
        rm -rf "$dest" && mv "$dest.partial" "$dest"
        ;;
    binary)
        name=${pkg%%=*}
        apt_private download "$pkg" >&2
        deb=$(ls -1 "${name}"_*.deb | head -n 1)
        rm -rf "$dest.partial"
        dpkg -x "$deb" "$dest.partial"
        rm -rf "$dest" && mv "$dest.partial" "$dest"
        ;;
    *)
        echo "unknown mode $mode" >&2; exit 2 ;;
esac
