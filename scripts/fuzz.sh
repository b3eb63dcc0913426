#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each for a while (60 s by default) on the corpus kept in
# fuzz/corpus. Any crash, sanitizer report or failed check fails the run; new inputs found are
# kept in build/fuzz/found/<target>, the repository's corpus is only read.
set -euo pipefail
seconds="${1:-60}"
source_dir="$(cd "$(dirname "$0")/.." && pwd)"
cd "$source_dir"

scripts/dependances.sh ci
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
for target in profile_parse profile_write numbers scramble csv_import food_search; do
    found="build/fuzz/found/$target"
    mkdir -p "$found"
    echo "== fuzz_$target: ${seconds} s"
    "build/fuzz/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="build/fuzz/found/$target-" "$found" "fuzz/corpus/$target" 2>&1 | tail -n 12
    status=${PIPESTATUS[0]}
    if [ "$status" -ne 0 ]; then
        echo "fuzz_$target found a fault (artifacts in build/fuzz/found)" >&2
        exit "$status"
    fi
done
echo "Fuzzing: no finding."
