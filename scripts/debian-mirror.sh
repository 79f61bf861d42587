#!/usr/bin/env bash
# Prints the Debian archive URI this machine's own APT sources already use, so that
# nothing in the repository names a mirror. Security and third-party entries are skipped.
set -euo pipefail

pick()
{
    # deb822 files: a stanza's URIs line
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] || continue
        awk 'BEGIN { RS = ""; FS = "\n" }
             {
                 uri = ""; suites = ""; types = ""
                 for (i = 1; i <= NF; i++) {
                     if ($i ~ /^URIs:/)   { uri = $i;    sub(/^URIs:[ \t]*/, "", uri); split(uri, u, " "); uri = u[1] }
                     if ($i ~ /^Suites:/) { suites = $i }
                     if ($i ~ /^Types:/)  { types = $i }
                 }
                 if (uri != "" && types ~ /deb/ && suites !~ /security/ && uri ~ /debian\/?$/) print uri
             }' "$f"
    done
    # one-line format
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$f" ] || continue
        awk '$1 ~ /^deb(-src)?$/ {
                 i = 2; if ($2 ~ /^\[/) { while ($i !~ /\]$/) i++; i++ }
                 if ($(i+1) !~ /security/ && $i ~ /debian\/?$/) print $i
             }' "$f"
    done
}

uri=$(pick | head -n 1)
if [ -z "$uri" ]; then
    echo "no Debian archive found in this machine's APT sources" >&2
    exit 1
fi
echo "${uri%/}"
