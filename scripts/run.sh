#!/usr/bin/env bash
# Sets everything up and starts Zendrel from its program folder.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
exec "$root/build/Zendrel/zendrel"
