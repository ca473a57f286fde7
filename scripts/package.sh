#!/usr/bin/env bash
# Builds the Debian package of Quillet from a Release build in build-package/
# and checks it: the installed tree with its desktop files and manual page
# (tests/install/check-install.sh), and the package's control fields,
# computed dependencies and contents (tests/install/check-package.sh).
#   bash scripts/package.sh
# Then install it with: sudo apt install ./build-package/quillet_*.deb
# QUILLET_BUILD_JOBS sets the number of compile jobs (default: all cores).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build="$here/build-package"
jobs=${QUILLET_BUILD_JOBS:-$(nproc 2>/dev/null || echo 2)}

bash "$here/scripts/install-deps.sh"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DQUILLET_SANITIZE=OFF -DQUILLET_BUILD_APP=ON -DQUILLET_BUILD_TESTS=OFF \
  -DQUILLET_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j "$jobs"

rm -f "$build"/quillet_*.deb
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$build" >"$build/cpack.log" 2>&1 || {
  cat "$build/cpack.log" >&2
  echo "cpack could not build the package" >&2
  exit 1
}
package=$(find "$build" -maxdepth 1 -name 'quillet_*.deb' -print -quit)
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")

bash "$here/tests/install/check-install.sh" "$build" "$version"
bash "$here/tests/install/check-package.sh" "$version" "$package"
echo "Built $package"
