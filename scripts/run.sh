#!/usr/bin/env bash
# Builds the Release editor in build/ and starts it, optionally on a file:
#   bash scripts/run.sh [FILE]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

bash "$here/scripts/install-deps.sh"
cmake -S "$here" -B "$here/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DQUILLET_BUILD_TESTS=OFF -DQUILLET_BUILD_BENCH=ON >/dev/null
cmake --build "$here/build"
exec "$here/build/bin/quillet" "$@"
