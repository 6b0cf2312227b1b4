#!/usr/bin/env bash
# A crash in a fuzz target must reach libFuzzer and the sanitizers: a report
# with a stack, a non-zero exit and the crashing input kept as a reproducer
# file, not the core library's "Unhandled exception" report.
#   fuzz/check_crash_reaches_fuzzer.sh <build dir of the fuzz preset>
set -euo pipefail
build="$1"
work="$build/run/crash_check"
rm -rf "$work"
mkdir -p "$work/corpus"
printf 'crash {after "an sdl token"}' > "$work/corpus/seed"
status=0
"$build/fuzz/fuzz_crash_check" -runs=10 -artifact_prefix="$work/" "$work/corpus" > "$work/log" 2>&1 || status=$?
fail() { echo "fuzz crash check: $*" >&2; cat "$work/log" >&2; exit 1; }
[ "$status" -ne 0 ] || fail "the crash did not end the run"
if grep -q "Unhandled exception" "$work/log"; then fail "the core library's crash report took the crash"; fi
grep -q "ERROR: AddressSanitizer: SEGV" "$work/log" || fail "no sanitizer report"
grep -q "#0 .* in LLVMFuzzerTestOneInput" "$work/log" || fail "no stack"
reproducers=("$work"/crash-*)
[ -f "${reproducers[0]}" ] || fail "no reproducer file"
cmp -s "${reproducers[0]}" "$work/corpus/seed" || fail "the reproducer is not the crashing input"
echo "fuzz crash check: the crash reached the fuzzer and left ${reproducers[0]}"
