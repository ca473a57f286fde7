#!/usr/bin/env bash
# Builds the libFuzzer programs with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer (without the windows), and runs every target
# for a while, starting from its checked-in corpus tests/fuzz/corpus/<target>/.
# New inputs go to a scratch corpus in the build directory; when a target
# ends cleanly, those that add coverage are merged into its checked-in
# corpus (libFuzzer's -merge=1, which keeps the smallest input for each
# feature), so the test run's replay covers them from then on. A crashing,
# leaking or hanging input is written there as <target>-crash-..., to be
# fixed and then added to the target's corpus folder.
#   FUZZ_JOBS=2 bash scripts/fuzz.sh [seconds per target] [build directory]
# FUZZ_JOBS (default 1) targets run side by side; FUZZ_TARGETS (default
# all) names the targets to run, separated by blanks.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build=${2:-$here/build-fuzz}
jobs=${FUZZ_JOBS:-1}

# clang and its libFuzzer runtime come with the build tools.
bash "$here/scripts/install-deps.sh"

# Every corpus folder is a target.
if [[ -n ${FUZZ_TARGETS:-} ]]; then
  read -r -a targets <<<"$FUZZ_TARGETS"
else
  targets=()
  for folder in "$here"/tests/fuzz/corpus/*/; do
    targets+=("$(basename "$folder")")
  done
fi

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g -fsanitize=fuzzer-no-link" \
  -DQUILLET_SANITIZE=ON -DQUILLET_BUILD_FUZZ=ON -DQUILLET_BUILD_APP=OFF \
  -DQUILLET_BUILD_TESTS=ON -DQUILLET_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j2 --target "${targets[@]/#/fuzz_}"

out="$build/fuzz"
run() {
  local target=$1 scratch="$out/corpus-$1"
  mkdir -p "$scratch"
  (cd "$out" && "./fuzz_$target" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
     -print_final_stats=1 -artifact_prefix="$out/$target-" \
     "$scratch" "$here/tests/fuzz/corpus/$target") >"$out/$target.log" 2>&1 || return 1
  (cd "$out" && "./fuzz_$target" -merge=1 -max_len=4096 -timeout=10 \
     "$here/tests/fuzz/corpus/$target" "$scratch") >"$out/$target.merge.log" 2>&1
}

failed=()
pids=()
names=()
wait_one() {
  local pid=${pids[0]} name=${names[0]}
  pids=("${pids[@]:1}")
  names=("${names[@]:1}")
  if wait "$pid"; then
    echo "fuzz_$name: ok"
  else
    echo "fuzz_$name: FAILED (see $out/$name.log)"
    failed+=("$name")
  fi
}
for target in "${targets[@]}"; do
  echo "fuzz_$target: running for ${seconds}s"
  run "$target" &
  pids+=($!)
  names+=("$target")
  if ((${#pids[@]} >= jobs)); then
    wait_one
  fi
done
while ((${#pids[@]} > 0)); do
  wait_one
done

# Executions, speed and coverage of each target.
printf '%-16s %12s %8s %8s %8s\n' target executions exec/s cov ft
for target in "${targets[@]}"; do
  log="$out/$target.log"
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  printf '%-16s %12s %8s %8s %8s\n' "$target" "${runs:--}" "${speed:--}" "${cov:--}" "${ft:--}"
done

if ((${#failed[@]} > 0)); then
  echo "Failed: ${failed[*]}" >&2
  exit 1
fi
