#!/usr/bin/env bash
# Builds the libFuzzer programs with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs each for a while, starting from the
# checked-in corpus. New inputs go to a scratch corpus; a crashing input is
# written to the build directory's fuzz/ folder, to be fixed and then added
# under tests/language/corpus/.
#   bash scripts/fuzz.sh [seconds per fuzzer] [build directory]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build=${2:-$here/build-fuzz}

# clang and its libFuzzer runtime come with the build tools.
bash "$here/scripts/install-deps.sh"

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g -fsanitize=fuzzer-no-link" \
  -DQUILLET_SANITIZE=ON -DQUILLET_BUILD_FUZZ=ON -DQUILLET_BUILD_APP=OFF \
  -DQUILLET_BUILD_TESTS=ON -DQUILLET_BUILD_BENCH=OFF >/dev/null

run() {
  local fuzzer=$1 seeds=$2
  cmake --build "$build" --target "fuzz_$fuzzer" -j2
  local scratch="$build/fuzz/corpus-$fuzzer"
  mkdir -p "$scratch"
  (cd "$build/fuzz" && "./fuzz_$fuzzer" -max_total_time="$seconds" -max_len=4096 \
     -timeout=10 -print_final_stats=1 "$scratch" "$here/tests/language/corpus/$seeds")
}

run BinaryConfig binary
run IniFile ini
run FileLoad load
run JavaColour colour
