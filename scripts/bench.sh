#!/usr/bin/env bash
# Builds Zendrel and runs every benchmark; each prints its own figures.
# A benchmark is bench/<name>/run.sh, called with the build folder.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
export QT_QPA_PLATFORM=offscreen
for b in "$root"/bench/*/run.sh; do
  echo "== $(basename "$(dirname "$b")")"
  bash "$b" "$root/build"
done
