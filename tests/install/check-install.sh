#!/usr/bin/env bash
# Installs a built tree into a temporary folder (DESTDIR) and checks it as an
# installed Quillet:
#  - the layout: the program directory in lib/quillet/ with every file the
#    build keeps beside the program, bin/quillet a relative link to it, the
#    desktop entry, metainfo, icons and manual page, and nothing else;
#  - the desktop entry and metainfo through desktop-file-validate and
#    appstreamcli, the icons at their sizes, the manual page through man;
#  - the installed program, run from a copy of the tree moved elsewhere with
#    the source and build folders hidden from it (a private mount namespace):
#    --help, --version, --export-html and --print-to-pdf of a Java file whose
#    lines must all be in the PDF, and the language definition read from its
#    own lib/quillet/.
#   bash tests/install/check-install.sh BUILD_DIR VERSION
set -euo pipefail

if (($# != 2)); then
  echo "usage: $0 BUILD_DIR VERSION" >&2
  exit 2
fi
build=$(cd "$1" && pwd -P)
version=$2
source_dir=$(cd "$(dirname "$0")/../.." && pwd -P)
app_id=org.tarrowsamples.Quillet
icon_sizes=(16 24 32 48 64 128 256)

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
note() { echo "-- $*"; }

for tool in cmake desktop-file-validate appstreamcli pdftotext readelf ldd file man; do
  command -v "$tool" >/dev/null || fail "$tool is missing (bash scripts/install-deps.sh installs it)"
done

tmp=$(mktemp -d "${TMPDIR:-/tmp}/quillet-install.XXXXXX")
tmp=$(cd "$tmp" && pwd -P)
trap 'rm -rf "$tmp"' EXIT
case "$tmp/" in
  "$build"/* | "$source_dir"/*) fail "the temporary folder $tmp lies inside the tree" ;;
esac

prefix=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build/CMakeCache.txt")
[[ $prefix == /* ]] || fail "no install prefix in $build/CMakeCache.txt"
DESTDIR="$tmp/stage" cmake --install "$build" >"$tmp/install.log" || {
  cat "$tmp/install.log" >&2
  fail "cmake --install failed"
}
root="$tmp/stage$prefix"
program_dir="$root/lib/quillet"
note "installed into $root"

# --- Layout ------------------------------------------------------------------

for program in quillet Output; do
  [[ -f $program_dir/$program && -x $program_dir/$program ]] || fail "lib/quillet/$program is not an installed program"
done
# Everything the build keeps beside the program is what the program finds
# beside itself, so all of it must be installed, unchanged.
while IFS= read -r -d '' built; do
  relative=${built#"$build/bin/"}
  [[ -e $program_dir/$relative ]] || fail "lib/quillet/$relative is not installed"
  if [[ $relative != quillet && $relative != Output ]]; then
    cmp -s "$built" "$program_dir/$relative" || fail "lib/quillet/$relative differs from the build's"
  fi
done < <(find "$build/bin" -type f -print0)

link=$(readlink "$root/bin/quillet") || fail "bin/quillet is not a link"
[[ $link != /* ]] || fail "bin/quillet links to an absolute path ($link)"
[[ $(cd "$root/bin" && readlink -f quillet) == "$program_dir/quillet" ]] ||
  fail "bin/quillet does not lead to lib/quillet/quillet ($link)"

entry="$root/share/applications/$app_id.desktop"
metainfo="$root/share/metainfo/$app_id.metainfo.xml"
man_page="$root/share/man/man1/quillet.1.gz"
svg="$root/share/icons/hicolor/scalable/apps/$app_id.svg"
expected=("bin/quillet" "share/applications/$app_id.desktop" "share/metainfo/$app_id.metainfo.xml"
          "share/man/man1/quillet.1.gz" "share/icons/hicolor/scalable/apps/$app_id.svg")
for size in "${icon_sizes[@]}"; do
  png="$root/share/icons/hicolor/${size}x${size}/apps/$app_id.png"
  expected+=("share/icons/hicolor/${size}x${size}/apps/$app_id.png")
  [[ -f $png ]] || fail "no ${size}x${size} icon"
  file -b "$png" | grep -q "^PNG image data, $size x $size," || fail "the ${size}x${size} icon is $(file -b "$png")"
done
for path in "${expected[@]}"; do
  [[ -e $root/$path || -L $root/$path ]] || fail "$path is not installed"
done
# Nothing else lands under the prefix: no test programs, tools or headers.
while IFS= read -r -d '' installed; do
  relative=${installed#"$root/"}
  [[ $relative == lib/quillet/* ]] && continue
  printf '%s\n' "${expected[@]}" | grep -qxF "$relative" || fail "$relative is installed but belongs to no part of Quillet"
done < <(find "$root" \( -type f -o -type l \) -print0)
outside=$(find "$tmp/stage" \( -type f -o -type l \) ! -path "$root/*" -print -quit)
[[ -z $outside ]] || fail "${outside#"$tmp/stage"} is installed outside the prefix $prefix"

# --- Desktop entry, metainfo, icon names, manual page ----------------------------

desktop-file-validate "$entry" >"$tmp/desktop.log" 2>&1 || {
  cat "$tmp/desktop.log" >&2
  fail "desktop-file-validate refuses the desktop entry"
}
if grep -E "error|warning" "$tmp/desktop.log" >&2; then
  fail "desktop-file-validate warns about the desktop entry"
fi
appstreamcli validate --no-net --strict "$metainfo" >"$tmp/metainfo.log" 2>&1 || {
  cat "$tmp/metainfo.log" >&2
  fail "appstreamcli refuses the metainfo"
}
appstreamcli validate-tree --no-net --strict "$root" >"$tmp/tree.log" 2>&1 || {
  cat "$tmp/tree.log" >&2
  fail "appstreamcli refuses the installed tree (metainfo, desktop entry and icons together)"
}

entry_value() { sed -n "s/^$1=//p" "$entry"; }
[[ $(entry_value Icon) == "$app_id" ]] || fail "the desktop entry names the icon $(entry_value Icon)"
exec_program=$(entry_value Exec | cut -d' ' -f1)
[[ -e $root/bin/$exec_program || -L $root/bin/$exec_program ]] || fail "the desktop entry starts $exec_program, which is not in bin/"
for type in text/x-java text/html text/javascript application/javascript; do
  entry_value MimeType | tr ';' '\n' | grep -qxF "$type" || fail "the desktop entry does not open $type"
done
grep -q "<id>$app_id</id>" "$metainfo" || fail "the metainfo's id is not $app_id"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
  fail "the metainfo does not launch $app_id.desktop"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo names no release $version"
grep -q "<screenshot type=\"default\">" "$metainfo" || fail "the metainfo has no screenshot"
grep -q "<description>" "$metainfo" || fail "the metainfo has no description"

# The program looks for the installed entry and names its windows after it.
grep -q "\"$app_id.desktop\"" "$source_dir/app/FileAssociation.h" ||
  fail "app/FileAssociation.h does not look for $app_id.desktop"
grep -q "setDesktopFileName(QStringLiteral(\"$app_id\"))" "$source_dir/app/main.cpp" ||
  fail "app/main.cpp does not name its windows $app_id"

LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$man_page" >"$tmp/man.txt" 2>"$tmp/man.log" ||
  fail "man cannot show the manual page"
if [[ -s $tmp/man.log ]]; then
  cat "$tmp/man.log" >&2
  fail "the manual page has formatting problems"
fi
grep -q "Quillet $version" "$tmp/man.txt" || fail "the manual page does not name version $version"
grep -qF "$prefix/lib/quillet" "$tmp/man.txt" || fail "the manual page does not name $prefix/lib/quillet"

# --- The installed program, moved away from where it was installed ------------

moved="$tmp/elsewhere/quillet"
mkdir -p "$tmp/elsewhere"
mv "$root" "$moved"
rm -rf "$tmp/stage"
program="$moved/bin/quillet"

for binary in "$moved/lib/quillet/quillet" "$moved/lib/quillet/Output"; do
  name=${binary##*/}
  if readelf -d "$binary" | grep -E "RPATH|RUNPATH" | grep -qE "$build|$source_dir"; then
    fail "the installed $name looks for libraries in the tree"
  fi
  if ldd "$binary" | grep -qE "$build|$source_dir|not found"; then
    ldd "$binary" >&2
    fail "the installed $name loads libraries from the tree, or misses some"
  fi
done

work="$tmp/work"
mkdir -p "$work" "$tmp/home" "$tmp/run"
chmod 700 "$tmp/run"
cat >"$work/Sample.java" <<'EOF'
// Printed by the installed Quillet
package demo.install;

public class Sample {
    private final int answer = 42;

    public static void main(String[] arguments) {
        System.out.println("Sample ran " + arguments.length);
    }
}
EOF

# A sanitizer build reads its leak suppressions from the source tree, which is
# hidden from the program; it gets a copy.
if [[ ${LSAN_OPTIONS:-} =~ suppressions=([^:]*) ]]; then
  cp "${BASH_REMATCH[1]}" "$tmp/lsan.supp"
  LSAN_OPTIONS=${LSAN_OPTIONS//"${BASH_REMATCH[1]}"/$tmp/lsan.supp}
fi
run_env=(env -u DISPLAY -u WAYLAND_DISPLAY -u QUILLET_PAINT_REPORT
         HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/.config" XDG_DATA_HOME="$tmp/home/.local/share"
         XDG_STATE_HOME="$tmp/home/.local/state" XDG_CACHE_HOME="$tmp/home/.cache"
         XDG_RUNTIME_DIR="$tmp/run" LSAN_OPTIONS="${LSAN_OPTIONS:-}")

# Runs a command in work/ with the source and build folders covered by empty
# folders, in a mount namespace of its own; without one (no privileges for
# it), the folders stay reachable and the relocated copy has to do.
hide=()
if unshare --mount --propagation private true 2>/dev/null; then
  covers=("$source_dir")
  case "$build/" in "$source_dir"/*) ;; *) covers+=("$build") ;; esac
  hide=(unshare --mount --propagation private sh -c '
    for folder in "$@"; do
      case "$folder" in --) break ;; esac
      mount -t tmpfs -o ro,size=4k quillet-hidden "$folder" || exit 125
    done
    while [ "$1" != -- ]; do shift; done
    shift
    exec "$@"' hide "${covers[@]}" --)
  "${hide[@]}" test ! -e "$build/CMakeCache.txt" || fail "the build folder could not be hidden"
  note "source and build folders hidden from the installed program"
else
  note "no mount namespace: the source and build folders stay reachable"
fi
run() { (cd "$work" && "${hide[@]}" "${run_env[@]}" "$@"); }

run "$program" --help >"$tmp/help.txt" 2>&1 || {
  cat "$tmp/help.txt" >&2
  fail "quillet --help failed"
}
for option in --print-to-pdf --export-html --help --version; do
  grep -q -- "$option" "$tmp/help.txt" || fail "quillet --help does not list $option"
  grep -q -- "$option" "$tmp/man.txt" ||
    fail "the manual page does not describe $option, which quillet --help lists"
done

shown=$(run "$program" --version 2>&1) || fail "quillet --version failed: $shown"
[[ $shown == "Quillet $version" ]] || fail "quillet --version shows \"$shown\", not \"Quillet $version\""

run "$program" --print-to-pdf Sample.java "$tmp/Sample.pdf" >"$tmp/print.log" 2>&1 || {
  cat "$tmp/print.log" >&2
  fail "quillet --print-to-pdf failed"
}
pdftotext "$tmp/Sample.pdf" "$tmp/Sample.txt" || fail "the PDF cannot be read"
squeeze() { tr -s ' \t' '  ' | sed 's/^ //; s/ $//'; }
squeeze <"$tmp/Sample.txt" >"$tmp/Sample.squeezed"
while IFS= read -r line; do
  line=$(squeeze <<<"$line")
  [[ -z $line ]] && continue
  grep -qxF -- "$line" "$tmp/Sample.squeezed" || {
    cat "$tmp/Sample.txt" >&2
    fail "the PDF lacks the line \"$line\""
  }
done <"$work/Sample.java"

# The Java language definition comes from the installed lib/quillet/: with
# it, keywords are coloured in the exported page; without it, not.
run "$program" --export-html Sample.java "$tmp/with.html" >"$tmp/export.log" 2>&1 || {
  cat "$tmp/export.log" >&2
  fail "quillet --export-html failed"
}
grep -q "answer" "$tmp/with.html" || fail "the exported page lacks the file's text"
mv "$moved/lib/quillet/java.ini" "$tmp/java.ini"
run "$program" --export-html Sample.java "$tmp/without.html" >/dev/null 2>&1 || true
mv "$tmp/java.ini" "$moved/lib/quillet/java.ini"
cmp -s "$tmp/with.html" "$tmp/without.html" &&
  fail "the exported page is the same without lib/quillet/java.ini: the definition is read from elsewhere"

note "installed tree checked"
