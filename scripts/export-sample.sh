#!/usr/bin/env bash
# The main job: set everything up, build, export the bundled sample scene into
# ./out and list what was written.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/bootstrap.sh" release
cd "$root"
mkdir -p out
status=0
build/release/apps/qelexport/qelexport samples/tank_yard.qscene.json --no-prompts \
    --config out/QELEXPORT.CFG --report out/report.json || status=$?
echo "qelexport exit code: $status"
find out -type f | sort
