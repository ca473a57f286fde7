#!/usr/bin/env bash
# Builds the Release editor in build/ and starts it, optionally on a file:
#   bash scripts/run.sh [FILE]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

bash "$here/scripts/build-release.sh"
exec "$here/build/bin/quillet" "$@"
