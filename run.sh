#!/usr/bin/env bash
# Installs what is missing, builds into build/ and starts Zephalonte in the
# directory this script was called from, where the journal (zph0001.txt) lives.
set -euo pipefail
repository="$(cd "$(dirname "$0")" && pwd)"
"$repository/scripts/install-deps"
cmake -S "$repository" -B "$repository/build" -G Ninja >/dev/null
cmake --build "$repository/build" --target zephalonte zeph
exec "$repository/build/src/app/zephalonte" "$@"
