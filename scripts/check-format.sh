#!/usr/bin/env bash
# Fails when any of our C++ sources differs from what clang-format makes of it.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
mapfile -t files < <(git ls-files -- '*.cpp' '*.h' 2>/dev/null || find app protocol discovery show panels lookandfeel tests tools -name '*.cpp' -o -name '*.h')
[ ${#files[@]} -eq 0 ] && exit 0
clang-format --dry-run --Werror "${files[@]}"
