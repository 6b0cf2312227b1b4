#!/usr/bin/env bash
# Rewrites the expected export trees under tests/golden from the scenes under
# tests/scenes. Review every change in the commit that carries it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cmake --build "$root/build/release" --target test_e2e
QEL_UPDATE_GOLDENS=1 "$root/build/release/tests/e2e/test_e2e"
git -C "$root" status --short tests/golden
