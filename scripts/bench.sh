#!/usr/bin/env bash
# Builds the Release benchmarks and runs them; extra arguments go to every
# benchmark program (for example --benchmark_filter=BM_LoadFile).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

bash "$here/scripts/build-release.sh"
export QT_QPA_PLATFORM=offscreen
for program in "$here"/build/bench/*_bench; do
  [[ -x $program ]] && "$program" "$@"
done
