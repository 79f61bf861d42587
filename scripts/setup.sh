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
    "$root/scripts/debian-suite-apt.sh" "$deps/apt" trixie source "juce=$juce_version" "$deps/juce"
    echo "$juce_version" > "$deps/juce.version"
fi

fonts_version=6.1.1-3
if [ "$(cat "$deps/fonts.version" 2>/dev/null)" != "$fonts_version" ] || [ ! -d "$deps/fonts-ibm-plex/usr/share/fonts/truetype/ibm-plex" ]; then
    echo "fetching IBM Plex fonts $fonts_version" >&2
    # Debian 13 dropped the package after its release; the same version is in the later suites.
    for suite in trixie forky sid; do
        if "$root/scripts/debian-suite-apt.sh" "$deps/apt" "$suite" binary "fonts-ibm-plex=$fonts_version" "$deps/fonts-ibm-plex"; then
            break
        fi
    done
    [ -d "$deps/fonts-ibm-plex/usr/share/fonts/truetype/ibm-plex" ] || { echo "fonts-ibm-plex $fonts_version not found" >&2; exit 1; }
    echo "$fonts_version" > "$deps/fonts.version"
fi
