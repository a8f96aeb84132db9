#!/usr/bin/env bash
# check-install.sh BUILD_DIR APP_ID WITH_GUI "ICON_SIZES" WITH_MAN
# Installs BUILD_DIR into a scratch DESTDIR under /usr and checks that every
# shipped file is in its place (the validators of the desktop entry and the
# AppStream data run as tests of their own).
set -uo pipefail

build=$1 app_id=$2 with_gui=$3 icon_sizes=$4 with_man=$5
dest=$(mktemp -d "${TMPDIR:-/tmp}/qlt-install-XXXXXX")
trap 'rm -rf "$dest"' EXIT
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

if ! DESTDIR="$dest" cmake --install "$build" --prefix /usr >"$dest.log" 2>&1; then
  cat "$dest.log" >&2
  rm -f "$dest.log"
  echo "FAIL: cmake --install" >&2
  exit 1
fi
rm -f "$dest.log"
root="$dest/usr"

expected=(
  bin/quillgate-cli
  share/quillgate/qltdict.dat
  share/quillgate/sounds/default.wav
  share/quillgate/demo/userlst.dat
  share/quillgate/demo/senders.txt
  share/doc/quillgate/manual/index.html
  share/doc/quillgate/manual/manual.css
  "share/applications/$app_id.desktop"
  "share/metainfo/$app_id.metainfo.xml"
  "share/icons/hicolor/scalable/apps/$app_id.svg"
  share/bash-completion/completions/quillgate-cli
)
man_pages=(share/man/man1/quillgate-cli.1)
[ "$with_gui" = 1 ] && expected+=(bin/quillgate) && man_pages+=(share/man/man1/quillgate.1)
if [ "$with_man" = 1 ]; then
  expected+=("${man_pages[@]}")
else
  fail "no manual pages were made: help2man is missing (package help2man)"
fi
for size in $icon_sizes; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/$app_id.png")
done
for file in "${expected[@]}"; do
  [ -s "$root/$file" ] || fail "missing or empty: /usr/$file"
done
for program in quillgate quillgate-cli; do
  [ -e "$root/bin/$program" ] && { [ -x "$root/bin/$program" ] || fail "not executable: /usr/bin/$program"; }
done

demo_mail=$(find "$root/share/quillgate/demo" -name '*.eml' | wc -l)
[ "$demo_mail" -ge 18 ] || fail "only $demo_mail demo messages installed"

# Nothing of the build or the sources may leak into the tree.
stray=$(find "$root" -name '*.in' -o -name '*.o' -o -name 'CMakeLists.txt')
[ -z "$stray" ] || fail "stray files installed: $stray"

# The desktop entry starts a program the package installs.
exec_line=$(grep -m1 '^Exec=' "$root/share/applications/$app_id.desktop" | cut -d= -f2 | cut -d' ' -f1)
[ -e "$root/bin/$exec_line" ] || [ "$with_gui" = 0 ] || fail "Exec=$exec_line is not installed"

# Each manual page is the installed program's, with the hand-written part.
if [ "$with_man" = 1 ]; then
  for page in "${man_pages[@]}"; do
    program=$(basename "$page" .1)
    version=$("$root/bin/$program" --version)
    grep -qF "\"$version\"" "$root/$page" || fail "$page is not of $version"
    grep -q '^\.SH "\?SEE ALSO' "$root/$page" || fail "$page lacks its hand-written part"
  done
fi

if [ "$with_gui" = 1 ]; then
  version=$(QT_QPA_PLATFORM=offscreen "$root/bin/quillgate" --version 2>&1) || fail "installed quillgate --version: $version"
  case "$version" in *[0-9].[0-9]*) ;; *) fail "installed quillgate --version printed: $version" ;; esac
fi

[ "$failures" -eq 0 ] && echo "install tree OK"
exit "$((failures > 0))"
