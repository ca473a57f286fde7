#!/usr/bin/env bash
# Builds the Release benchmarks and runs them; extra arguments go to every
# benchmark program (for example --benchmark_filter=BM_LoadFile). Then
# bench/open_huge.sh times the editor's cold start on a huge file.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

bash "$here/scripts/build-release.sh"
export QT_QPA_PLATFORM=offscreen
for program in "$here"/build/bench/*_bench; do
  [[ -x $program ]] && "$program" "$@"
done
# Find in Files' core against grep and ripgrep over OpenJDK's sources.
bash "$here/bench/find_in_files.sh" "$here/build/bench/find_in_files_cli"
# The whole program, cold, against vim.
bash "$here/bench/open_huge.sh" "$here/build/bin/quillet"
