#!/usr/bin/env bash
# Opens, colours and saves every Java source of OpenJDK 17 (Debian's
# openjdk-17-source) and checks that each is saved byte for byte and opens
# unmodified; then searches them all with Find in Files against grep. Takes minutes: not part of the test run.
set -euo pipefail
cd "$(dirname "$0")/.."

zip=/usr/lib/jvm/java-17-openjdk-amd64/lib/src.zip
if [[ ! -f $zip ]]; then
  echo "$zip is missing: install the Debian package openjdk-17-source" >&2
  exit 1
fi
if [[ ! -d build-test ]]; then
  cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
    -DQUILLET_SANITIZE=ON -DQUILLET_BUILD_TESTS=ON -DQUILLET_BUILD_BENCH=OFF
fi
cmake --build build-test --target scanner_tests file_search_tests

corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
(cd "$corpus" && jar xf "$zip")
echo "$(find "$corpus" -name '*.java' | wc -l) Java files"
QUILLET_CORPUS_DIR=$corpus ./build-test/tests/scanner_tests --gtest_filter='OpenJdkSources.*'
# Find in Files over all of them, against grep.
QUILLET_CORPUS_DIR=$corpus ./build-test/tests/file_search_tests
