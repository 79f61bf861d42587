#!/usr/bin/env bash
# Everything the build needs, installed or fetched only when missing: Debian 12 packages, and
# JUCE 8 from Debian 13's source package (through a private APT configuration).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
deps="$root/.deps"

"$root/scripts/install-packages.sh"

juce_version=8.0.6+ds-2
if [ "$(cat "$deps/juce.version" 2>/dev/null)" != "$juce_version" ] || [ ! -f "$deps/juce/CMakeLists.txt" ]; then
    echo "fetching JUCE $juce_version" >&2
    "$root/scripts/trixie-apt.sh" "$deps/trixie" source "juce=$juce_version" "$deps/juce"
    echo "$juce_version" > "$deps/juce.version"
fi
