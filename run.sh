#!/usr/bin/env bash
# Installs what is missing, builds into build/ and starts Zephalonte in the
# directory this script was called from, where the journal (zph0001.txt) lives.
# Run it as the user whose journal it is: only the package installation asks
# for sudo, and the window runs as that user.
set -euo pipefail
repository="$(cd "$(dirname "$0")" && pwd)"
"$repository/scripts/install-deps"
cmake -S "$repository" -B "$repository/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$repository/build" --target zephalonte zeph
exec "$repository/build/src/app/zephalonte" "$@"
