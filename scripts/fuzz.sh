#!/usr/bin/env bash
# Builds the libFuzzer targets (preset fuzz, clang) and runs each on a copy of
# its seed corpus for a bounded time; any crash, leak or timeout fails.
#   scripts/fuzz.sh [seconds per target, default 60]
set -euo pipefail
seconds="${1:-60}"
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/bootstrap.sh" fuzz
cd "$root"
work="build/fuzz/run"
rm -rf "$work"
for target in sdl_reader:sdl zip_entry:zip dds_reader:dds bmp_reader:bmp evlm_reader:evlm anm_reader:anm mesh_reader:mesh scene_loader:scene export:scene gltf_import:gltf; do
  name="${target%%:*}"
  seeds="fuzz/corpus/${target##*:}"
  mkdir -p "$work/$name"
  # A dictionary named after a corpus (fuzz/scene.dict) goes to the targets fed from it.
  dict=()
  [ -f "fuzz/${target##*:}.dict" ] && dict=(-dict="fuzz/${target##*:}.dict")
  echo "fuzz: $name for ${seconds}s"
  "build/fuzz/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$work/$name-" "${dict[@]}" "$work/$name" "$seeds"
done
# A crash in a fuzz target must reach the fuzzer, which keeps its input.
fuzz/check_crash_reaches_fuzzer.sh build/fuzz
