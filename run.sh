#!/usr/bin/env bash
# Installs what is missing, builds into build/ and starts Zephalonte.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target zephalonte
exec build/src/app/zephalonte "$@"
