#!/usr/bin/env bash
# Start-up time and idle memory, on a copy of the program folder.
set -euo pipefail
build="$1"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
cp -r "$build/Zendrel" "$tmp/Zendrel"
rm -f "$tmp/Zendrel/config.ini"
for i in 1 2 3; do
  "$build/bench/startup/bench_startup" "$tmp/Zendrel" "$(date +%s%N)"
done
