#!/usr/bin/env bash
# Builds the Release benchmarks and runs them; extra arguments go to every
# benchmark program (for example --benchmark_filter=BM_LoadFile).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

bash "$here/scripts/install-deps.sh"
cmake -S "$here" -B "$here/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DQUILLET_BUILD_TESTS=OFF -DQUILLET_BUILD_BENCH=ON >/dev/null
cmake --build "$here/build"
export QT_QPA_PLATFORM=offscreen
for program in "$here"/build/bench/*_bench; do
  [[ -x $program ]] && "$program" "$@"
done
