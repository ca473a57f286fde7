#!/usr/bin/env bash
# Find in Files' search core against grep -rn and ripgrep over the Java
# sources of OpenJDK 17 (about 15,000 files), warm cache, in one run: one
# plain word and one regular expression, each printed line by line. Prints
# the best of three wall times of each and the ratios; the targets are at
# most 1.0 times grep and 1.5 times ripgrep.
#   bench/find_in_files.sh [find_in_files_cli]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cli=${1:-$here/build/bench/find_in_files_cli}
zip=/usr/lib/jvm/java-17-openjdk-amd64/lib/src.zip
for tool in grep rg jar; do
  command -v $tool >/dev/null || { echo "$tool is missing: run scripts/install-deps.sh" >&2; exit 1; }
done
[[ -x $cli ]] || { echo "$cli is missing: build the target find_in_files_cli (Release)" >&2; exit 1; }
[[ -f $zip ]] || { echo "$zip is missing: install openjdk-17-source" >&2; exit 1; }

corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
(cd "$corpus" && jar xf "$zip")
echo "$(find "$corpus" -name '*.java' | wc -l) Java files"
export LC_ALL=C

# best TIMES COMMAND...: the shortest wall time in seconds of three runs.
best() {
  local fastest=
  for _ in 1 2 3; do
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1 || true
    end=$(date +%s.%N)
    fastest=$(echo "$start $end ${fastest:-}" | awk '{t = $2 - $1; if ($3 == "" || t < $3) print t; else print $3}')
  done
  echo "$fastest"
}

run() {
  local name=$1 quillet_args=$2 grep_args=$3 rg_args=$4 text=$5
  # The first run of each warms the cache.
  "$cli" $quillet_args -t '*.java' "$text" "$corpus" >/dev/null 2>&1 || true
  grep -rn $grep_args --include='*.java' -e "$text" "$corpus" >/dev/null 2>&1 || true
  rg -n --no-heading $rg_args -g '*.java' -e "$text" "$corpus" >/dev/null 2>&1 || true
  local lines
  lines=$("$cli" $quillet_args -t '*.java' "$text" "$corpus" 2>/dev/null | wc -l)
  local q g r
  q=$(best "$cli" $quillet_args -t '*.java' "$text" "$corpus")
  g=$(best grep -rn $grep_args --include='*.java' -e "$text" "$corpus")
  r=$(best rg -n --no-heading $rg_args -g '*.java' -e "$text" "$corpus")
  awk -v n="$name" -v l="$lines" -v q="$q" -v g="$g" -v r="$r" 'BEGIN {
    printf "%-8s %7d lines  quillet %.3f s  grep %.3f s  rg %.3f s  quillet/grep %.2f  quillet/rg %.2f\n",
           n, l, q, g, r, q / g, q / r }'
}

run word "" "-F" "-F" "synchronized"
run pattern "-E" "-E" "" 'public\s+static\s+\w+\s+get\w*\('
