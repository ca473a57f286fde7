#!/usr/bin/env bash
# Cold start of the whole editor on a 100 MB and a 1 GB Java file against
# vim, then the 100 MB open with a screen reader listening against the same
# open without, in one run: bash bench/open_huge.sh [QUILLET]. QUILLET
# defaults to the Release build's program (build/bin/quillet, which
# scripts/build-release.sh makes). The files are made once from the JDK's
# sources and kept in
# $QUILLET_BENCH_SCRATCH (default ~/.cache/quillet-bench); OPEN_HUGE_RUNS
# sets the number of runs whose median is reported (default 3).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

bash "$here/scripts/install-deps.sh"
program=${1:-$here/build/bin/quillet}
scratch=${QUILLET_BENCH_SCRATCH:-${XDG_CACHE_HOME:-$HOME/.cache}/quillet-bench}
python3 "$here/bench/open_huge.py" "$program" "$scratch"
echo
# The accessibility bus needs a session bus of its own and pyatspi, which
# only the system's python has.
QUILLET_BENCH_SCRATCH=$scratch dbus-run-session -- /usr/bin/python3 "$here/bench/open_huge_atspi.py" "$program"
