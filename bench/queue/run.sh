#!/usr/bin/env bash
# Queue walk times: folder trees of 10,000 and 20,000 supported files walked
# into the queue of the real main window (offscreen), and their ratio.
# Usage: run.sh BUILD_DIR
set -euo pipefail
build="$(cd "${1:?usage: run.sh BUILD_DIR}" && pwd)"
cmake --build "$build" --target bench_queue zendrel_data plug_exe >/dev/null
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp -r "$build/Zendrel" "$work/Zendrel"
rm -f "$work/Zendrel/config.ini" "$work/Zendrel/logFile.txt"
printf '[setting]\r\ndisplayHelpDialog=0\r\n' >"$work/Zendrel/config.ini"
"$build/bench/queue/bench_queue" "$work/Zendrel" "$work/trees"
