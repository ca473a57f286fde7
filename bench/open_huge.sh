#!/usr/bin/env bash
# Cold start of the whole editor on a 100 MB Java file against vim, in one
# run: bash bench/open_huge.sh [QUILLET]. QUILLET defaults to the Release
# build's program (build/bin/quillet, which scripts/build-release.sh makes).
# The file is made once from the JDK's sources and kept in
# $QUILLET_BENCH_SCRATCH (default ~/.cache/quillet-bench); OPEN_HUGE_RUNS
# sets the number of runs whose median is reported (default 3).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

bash "$here/scripts/install-deps.sh"
program=${1:-$here/build/bin/quillet}
scratch=${QUILLET_BENCH_SCRATCH:-${XDG_CACHE_HOME:-$HOME/.cache}/quillet-bench}
exec python3 "$here/bench/open_huge.py" "$program" "$scratch"
