#!/usr/bin/env bash
# Installs what is missing and builds the Release editor and benchmarks in build/.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

bash "$here/scripts/install-deps.sh"
cmake -S "$here" -B "$here/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DQUILLET_BUILD_TESTS=OFF -DQUILLET_BUILD_BENCH=ON >/dev/null
cmake --build "$here/build"
