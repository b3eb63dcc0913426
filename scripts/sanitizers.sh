#!/usr/bin/env bash
# Builds Kalimo with AddressSanitizer and UndefinedBehaviorSanitizer and runs the whole test
# suite with it: any memory error or undefined behaviour fails the run.
set -euo pipefail
source_dir="$(cd "$(dirname "$0")/.." && pwd)"
cd "$source_dir"

scripts/dependances.sh tests
cmake --preset asan >/dev/null
cmake --build --preset asan
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
chmod 0700 "$XDG_RUNTIME_DIR"
ctest --preset asan
