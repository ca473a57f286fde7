#!/usr/bin/env bash
# The editor while a program floods its console: key-to-screen latency in an
# edit window, memory, and how fast Ctrl+C stops the program, in one run:
# bash bench/console_flood.sh [QUILLET]. QUILLET defaults to the Release
# build's program (build/bin/quillet, which scripts/build-release.sh makes).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

bash "$here/scripts/install-deps.sh"
program=${1:-$here/build/bin/quillet}
exec python3 "$here/bench/console_flood.py" "$program"
