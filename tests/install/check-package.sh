#!/usr/bin/env bash
# Checks the Debian package of Quillet:
#  - its control fields: name, version, architecture, section, priority,
#    maintainer, a summary and a long description, the JDK recommended and
#    not required, and Depends naming the package of every shared library
#    that the programs in it load (as dpkg-shlibdeps works them out);
#  - its contents: the program directory, the link in /usr/bin, the desktop
#    files, icons and manual page, owned by root, programs stripped;
#  - with --install: dpkg -i on this machine, the installed quillet --version
#    and --print-to-pdf, the desktop's MIME cache offering the entry for
#    text/x-java, and dpkg -r leaving nothing behind. This needs root, and is
#    skipped (status 77) where a quillet package is installed already.
# Given a build folder instead of a package, the package is made from that
# build with CPack first (into a temporary folder).
#   bash tests/install/check-package.sh [--install] VERSION PACKAGE.deb|BUILD_DIR
set -euo pipefail

install=0
if [[ ${1:-} == --install ]]; then
  install=1
  shift
fi
if (($# != 2)); then
  echo "usage: $0 [--install] VERSION PACKAGE.deb|BUILD_DIR" >&2
  exit 2
fi
version=$1
app_id=org.tarrowsamples.Quillet

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
note() { echo "-- $*"; }

for tool in dpkg dpkg-deb readelf ldd file; do
  command -v "$tool" >/dev/null || fail "$tool is missing (bash scripts/install-deps.sh installs it)"
done

tmp=$(mktemp -d "${TMPDIR:-/tmp}/quillet-package.XXXXXX")
installed_here=0
cleanup() {
  if ((installed_here)); then
    dpkg -r quillet >/dev/null 2>&1 || echo "could not remove the quillet package" >&2
  fi
  rm -rf "$tmp"
}
trap cleanup EXIT

if [[ -d $2 ]]; then
  build=$(cd "$2" && pwd -P)
  command -v cpack >/dev/null || fail "cpack is missing"
  # gzip keeps a test package quick to pack; the shipped one uses xz.
  cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/cpack" \
    -D CPACK_DEBIAN_COMPRESSION_TYPE=gzip >"$tmp/cpack.log" 2>&1 || {
    cat "$tmp/cpack.log" >&2
    fail "cpack could not build the package"
  }
  deb=$(find "$tmp/cpack" -maxdepth 1 -name 'quillet_*.deb' -print -quit)
  [[ -n $deb ]] || fail "cpack made no quillet_*.deb"
  note "built $(basename "$deb")"
else
  deb=$2
  [[ -f $deb ]] || fail "no package $deb"
fi

# --- Control fields --------------------------------------------------------------

dpkg-deb --info "$deb" >"$tmp/info.txt" || fail "dpkg-deb cannot read $deb"
field() { dpkg-deb --field "$deb" "$1"; }
[[ $(field Package) == quillet ]] || fail "the package is named $(field Package)"
[[ $(field Version) == "$version" || $(field Version) == "$version"-* ]] ||
  fail "the package's version is $(field Version), not $version"
[[ $(field Architecture) == "$(dpkg --print-architecture)" ]] || fail "the package is for $(field Architecture)"
[[ -n $(field Section) ]] || fail "the package has no section"
[[ -n $(field Priority) ]] || fail "the package has no priority"
[[ $(field Maintainer) =~ ^[^\<]+\ \<[^\>]+@[^\>]+\>$ ]] || fail "the maintainer \"$(field Maintainer)\" is no name and address"
description=$(field Description)
[[ $(head -n 1 <<<"$description") =~ [a-z] ]] || fail "the package has no summary"
(($(wc -l <<<"$description") >= 2)) || fail "the package has no long description"
[[ -z $(awk 'length > 79' <<<"$description") ]] || fail "the package's description has lines of 80 columns or more"
recommends=$(field Recommends)
[[ $recommends == *"openjdk-17-jdk-headless | default-jdk"* ]] || fail "the JDK is not recommended (Recommends: $recommends)"
depends=$(field Depends)
[[ -n $depends ]] || fail "the package has no dependencies"
[[ $depends != *jdk* ]] || fail "the package requires a JDK (Depends: $depends)"
note "Depends: $depends"

# Every shared library the programs load directly comes from a package that
# Depends names.
dpkg-deb -x "$deb" "$tmp/root"
owner_of() {
  local path=$1 owner
  for candidate in "$path" "$(readlink -f "$path")" "${path#/usr}" "/usr$path"; do
    owner=$(dpkg -S "$candidate" 2>/dev/null | head -n 1 | cut -d: -f1) && [[ -n $owner ]] && {
      echo "$owner"
      return 0
    }
  done
  return 1
}
listed() { tr ',|' '\n\n' <<<"$depends" | sed 's/(.*//; s/^ *//; s/ *$//' | grep -qxF "$1"; }
for binary in "$tmp/root/usr/lib/quillet/quillet" "$tmp/root/usr/lib/quillet/Output"; do
  [[ -x $binary ]] || fail "the package has no ${binary#"$tmp/root"}"
  file -b "$binary" | grep -q "not stripped" && fail "${binary#"$tmp/root"} is not stripped"
  while read -r library; do
    path=$(ldd "$binary" | awk -v name="$library" '$1 == name && $3 ~ /^\// { print $3 }')
    [[ -n $path ]] || fail "${binary##*/} needs $library, which is not found here"
    owner=$(owner_of "$path") || fail "no package owns $path, which ${binary##*/} needs"
    listed "$owner" || fail "${binary##*/} needs $library from $owner, which Depends does not name"
  done < <(readelf -d "$binary" | sed -n 's/.*(NEEDED).*\[\(.*\)\]$/\1/p')
done

# Qt loads its platform, image and icon plugins at run time, unseen by
# dpkg-shlibdeps. The packaged editor is started on a Java file on the
# offscreen platform until its toolbars are drawn, and every plugin it loads
# must come from a package that Depends names.
home="$tmp/home"
mkdir -p "$home/.config/Tarrow Samples" "$tmp/run"
chmod 700 "$tmp/run"
printf '[Java%%20Files]\nAssociate=0\n' >"$home/.config/Tarrow Samples/Quillet.conf"
printf 'public class Plugins {\n}\n' >"$home/Plugins.java"
run() {
  (cd "$home" && exec env -u DISPLAY -u WAYLAND_DISPLAY HOME="$home" XDG_CONFIG_HOME="$home/.config" \
    XDG_DATA_HOME="$home/.local/share" XDG_STATE_HOME="$home/.local/state" \
    XDG_RUNTIME_DIR="$tmp/run" "$@")
}
# exec keeps the editor's process the one that $! names.
(cd "$home" && exec env -u DISPLAY -u WAYLAND_DISPLAY HOME="$home" XDG_CONFIG_HOME="$home/.config" \
  XDG_DATA_HOME="$home/.local/share" XDG_STATE_HOME="$home/.local/state" XDG_RUNTIME_DIR="$tmp/run" \
  QT_QPA_PLATFORM=offscreen QT_DEBUG_PLUGINS=1 "$tmp/root/usr/lib/quillet/quillet" Plugins.java) \
  >"$tmp/plugins.log" 2>&1 &
editor=$!
for _ in $(seq 1 300); do
  grep -q 'iconengines/libqsvgicon.so" loaded library' "$tmp/plugins.log" && break
  kill -0 "$editor" 2>/dev/null || break
  sleep 0.1
done
sleep 1  # what the first paint loads after the icons
kill "$editor" 2>/dev/null || true
wait "$editor" 2>/dev/null || true
sed -n 's/.*"\(\/[^"]*\.so\)" loaded library.*/\1/p' "$tmp/plugins.log" | sort -u >"$tmp/plugins.txt"
grep -q "/imageformats/libqsvg.so$" "$tmp/plugins.txt" || {
  cat "$tmp/plugins.log" >&2
  fail "the packaged editor loaded no SVG image plugin: its toolbars were not drawn"
}
while read -r plugin; do
  owner=$(owner_of "$plugin") || fail "no package owns the plugin $plugin"
  listed "$owner" || fail "the editor loads $plugin from $owner, which Depends does not name"
done <"$tmp/plugins.txt"
note "plugins from Depends: $(sed 's|.*/plugins/||' "$tmp/plugins.txt" | tr '\n' ' ')"

# --- Contents ----------------------------------------------------------------------

dpkg-deb --contents "$deb" >"$tmp/contents.txt"
for path in ./usr/lib/quillet/quillet ./usr/lib/quillet/Output ./usr/lib/quillet/java.ini \
            ./usr/lib/quillet/QuilletHelp/Welcome.htm ./usr/share/applications/$app_id.desktop \
            ./usr/share/metainfo/$app_id.metainfo.xml ./usr/share/icons/hicolor/scalable/apps/$app_id.svg \
            ./usr/share/icons/hicolor/48x48/apps/$app_id.png ./usr/share/man/man1/quillet.1.gz; do
  grep -qE " $path\$" "$tmp/contents.txt" || fail "the package lacks $path"
done
grep -qE " \./usr/bin/quillet -> \.\./lib/quillet/quillet$" "$tmp/contents.txt" ||
  fail "the package's /usr/bin/quillet is not a link to ../lib/quillet/quillet"
if awk '$2 != "root/root"' "$tmp/contents.txt" | grep -q .; then
  fail "the package holds files not owned by root"
fi

if ((!install)); then
  note "package checked"
  exit 0
fi

# --- Installed on this machine -------------------------------------------------------

if [[ $(id -u) -ne 0 ]]; then
  echo "installing the package needs root; skipped"
  exit 77
fi
if dpkg-query -W -f='${Status}' quillet 2>/dev/null | grep -q "installed"; then
  echo "a quillet package is installed already and is left alone; skipped"
  exit 77
fi

# Another dpkg or apt may hold the lock for a while.
for attempt in $(seq 1 30); do
  if dpkg -i "$deb" >"$tmp/dpkg.log" 2>&1; then
    installed_here=1
    break
  fi
  if ! grep -q "lock" "$tmp/dpkg.log" || ((attempt == 30)); then
    installed_here=1  # a half-installed package is removed as well
    cat "$tmp/dpkg.log" >&2
    fail "dpkg -i failed"
  fi
  sleep 2
done
note "installed $(basename "$deb")"

[[ $(command -v quillet) == /usr/bin/quillet ]] || fail "quillet is not /usr/bin/quillet but \"$(command -v quillet)\""
shown=$(run quillet --version 2>&1) || fail "the installed quillet --version failed: $shown"
[[ $shown == "Quillet $version" ]] || fail "the installed quillet --version shows \"$shown\""
printf 'public class Installed {\n    int seen = 7;\n}\n' >"$home/Installed.java"
run quillet --print-to-pdf Installed.java Installed.pdf >"$tmp/print.log" 2>&1 || {
  cat "$tmp/print.log" >&2
  fail "the installed quillet --print-to-pdf failed"
}
[[ -s $home/Installed.pdf ]] || fail "the installed quillet wrote no PDF"
if command -v pdftotext >/dev/null; then
  pdftotext "$home/Installed.pdf" - | grep -q "int seen = 7;" || fail "the PDF lacks the file's text"
fi
# The desktop-file-utils trigger lists the entry for the types it opens; that
# is what the file manager offers .java files to.
if command -v update-desktop-database >/dev/null; then
  grep -E "^text/x-java=(.*;)?$app_id\.desktop;" /usr/share/applications/mimeinfo.cache >/dev/null ||
    fail "the desktop's MIME cache does not offer $app_id.desktop for text/x-java"
fi

dpkg -r quillet >"$tmp/dpkg.log" 2>&1 || {
  cat "$tmp/dpkg.log" >&2
  fail "dpkg -r failed"
}
installed_here=0
for path in /usr/bin/quillet /usr/lib/quillet /usr/share/applications/$app_id.desktop; do
  [[ ! -e $path && ! -L $path ]] || fail "$path is left after dpkg -r"
done
if [[ -f /usr/share/applications/mimeinfo.cache ]] && grep -q "$app_id.desktop" /usr/share/applications/mimeinfo.cache; then
  fail "the desktop's MIME cache still offers $app_id.desktop after dpkg -r"
fi
note "installed, run and removed"
