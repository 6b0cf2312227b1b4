#!/usr/bin/env bash
# The project's test command: bootstrap, build and run every test of one preset.
#   scripts/test.sh [release|sanitize]
set -euo pipefail
preset="${1:-release}"
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/bootstrap.sh" "$preset"
cd "$root"
ctest --preset "$preset" -j "$(nproc)"
