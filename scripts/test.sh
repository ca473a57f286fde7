#!/usr/bin/env bash
# Builds every test with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-test/ and runs them all; window tests use Qt's offscreen platform.
#   bash scripts/test.sh
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)

bash "$here/scripts/install-deps.sh"
cmake -S "$here" -B "$here/build-test" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DQUILLET_SANITIZE=ON \
  -DQUILLET_BUILD_TESTS=ON -DQUILLET_BUILD_BENCH=OFF >/dev/null
cmake --build "$here/build-test" -j "$jobs"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$here/build-test" --output-on-failure -j "$jobs"
