#!/usr/bin/env bash
# Installe ce qui manque, compile Kalimo et lance tous ses tests, sans écran.
set -euo pipefail
source_dir="$(cd "$(dirname "$0")" && pwd)"
cd "$source_dir"

scripts/dependances.sh tests
cmake --preset release >/dev/null
cmake --build --preset release
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
chmod 0700 "$XDG_RUNTIME_DIR"
ctest --preset release
