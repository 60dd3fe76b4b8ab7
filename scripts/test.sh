#!/usr/bin/env bash
# Sets everything up and runs the whole test suite headless through CTest.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
export QT_QPA_PLATFORM=offscreen
cd "$root/build"
ctest --output-on-failure -j "$(nproc)" --timeout 600
