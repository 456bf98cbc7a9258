#!/usr/bin/env bash
# Installs a build into a fresh prefix and checks what a player's system gets:
# the binary where Debian keeps games, a menu entry the desktop accepts with an
# icon in the icon theme, metainfo that software centres accept, and a
# compressed manual page that explains the rules and names every key and option
# the game answers; the menu entry also offers a game against the computer.
# Usage: check-install.sh CMAKE BUILD_DIR
set -euo pipefail

cmake_command=$1
build_dir=$2
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

"$cmake_command" --install "$build_dir" --prefix "$prefix" >/dev/null

binary=$prefix/games/karvossa
desktop=$prefix/share/applications/karvossa.desktop
manual=$prefix/share/man/man6/karvossa.6.gz
scalable_icon=$prefix/share/icons/hicolor/scalable/apps/karvossa.svg
bitmap_icon=$prefix/share/icons/hicolor/256x256/apps/karvossa.png
metainfo_name=invalid.karvossa.karvossa.metainfo.xml
metainfo=$prefix/share/metainfo/$metainfo_name

# Exactly these: test programs or libraries must not slip into a package.
expected=$(printf '%s\n' "$binary" "$manual" "$desktop" "$scalable_icon" "$bitmap_icon" "$metainfo" |
  sort)
installed=$(find "$prefix" -type f -o -type l | sort)
if [ "$installed" != "$expected" ]; then
  fail "installed files differ from the expected ones:"$'\n'"$installed"
fi
[ -x "$binary" ] || fail "no executable at $binary"

# The theme looks the bitmap up by its folder's size, so it must be that size.
if [ -f "$bitmap_icon" ]; then
  file "$bitmap_icon" | grep -q ': PNG image data, 256 x 256,' ||
    fail "the icon is not a 256x256 PNG: $(file "$bitmap_icon")"
fi
if [ -f "$scalable_icon" ]; then
  file "$scalable_icon" | grep -q ': SVG Scalable Vector Graphics image' ||
    fail "the scalable icon is not SVG: $(file "$scalable_icon")"
fi

# validate checks the file alone; validate-tree also finds the menu entry it
# names as launchable.
if [ -f "$metainfo" ]; then
  appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects $metainfo"
  appstreamcli validate-tree --no-net "$prefix" || fail "appstreamcli rejects the installed tree"
  grep -qF '<launchable type="desktop-id">karvossa.desktop</launchable>' "$metainfo" ||
    fail "the metainfo does not launch the menu entry"
  grep -qF '<binary>karvossa</binary>' "$metainfo" || fail "the metainfo does not provide the binary"
fi
# Without a web address for them the screenshots stay out; with one all three
# of the README's must be listed, and still be accepted. example.org is the
# domain reserved for examples: no address is fetched with --no-net.
with_screenshots=$work/shots/$metainfo_name
mkdir -p "$work/shots"
"$cmake_command" -DOUTPUT="$with_screenshots" -DSCREENSHOT_URL=https://example.org/karvossa/ \
  -P "$source_dir/dist/Metainfo.cmake"
if ! verdict=$(appstreamcli validate --no-net "$with_screenshots"); then
  fail "appstreamcli rejects the metainfo with screenshots:"$'\n'"$verdict"
fi
for picture in title map battle; do
  grep -qF "<image>https://example.org/karvossa/$picture.png</image>" "$with_screenshots" ||
    fail "the metainfo does not list docs/$picture.png"
  [ -f "$source_dir/docs/$picture.png" ] || fail "docs/$picture.png is gone"
done

if [ -f "$desktop" ]; then
  if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
  else
    echo "desktop-file-validate not found; checking the entry's keys only"
  fi
  grep -qx 'Type=Application' "$desktop" || fail "the menu entry is not an application"
  grep -qx 'Exec=karvossa' "$desktop" || fail "the menu entry does not start karvossa"
  grep -qx 'Icon=karvossa' "$desktop" || fail "the menu entry does not name the icon"
  # The class the command-line check reads from the game's window.
  grep -qx 'StartupWMClass=Karvossa' "$desktop" || fail "the menu entry names no window class Karvossa"
  grep -Eqx 'Categories=(.*;)?Game;.*' "$desktop" || fail "the menu entry is not in the Game category"
  { grep -Eqx 'Actions=(.*;)?computer;.*' "$desktop" && grep -qx 'Exec=karvossa --computer 1' "$desktop"; } ||
    fail "the menu entry has no action to play against the computer"
  { grep -Eqx 'Actions=(.*;)?continue;.*' "$desktop" && grep -qx 'Exec=karvossa --continue' "$desktop"; } ||
    fail "the menu entry has no action to continue the last game"
fi

if [ ! -f "$manual" ]; then
  exit 1
fi
gzip -t "$manual" || fail "the manual page is not compressed with gzip"
if ! command -v man >/dev/null; then
  fail "man is not installed"
  exit 1
fi
# A plain rendering on one very wide line per paragraph: no line breaks, so no
# hyphenated words, and no layout that depends on the terminal.
page=$(env -u MAN_KEEP_FORMATTING -u MANOPT LC_ALL=C MANWIDTH=1000 man --warnings -l "$manual" 2>"$work/warnings" |
  col -bx) || fail "man cannot render the manual page"
[ ! -s "$work/warnings" ] || fail "the manual page renders with warnings: $(cat "$work/warnings")"

# The body of a section: the lines after its heading up to the next heading.
section() {
  awk -v name="$1" '/^[A-Z]/ { inside = ($0 == name); next } inside' <<<"$page"
}

# Every key is a tag of the KEYS section, at its first indent of 7 columns. A
# tag of up to 6 columns shares its line with the description, which starts
# at column 15; a longer one has its own line. Keys in one tag are separated
# by commas.
tags=$(section KEYS | awk '/^       [^ ]/ {
  tag = (length($0) > 14 && substr($0, 14, 1) == " ") ? substr($0, 8, 6) : substr($0, 8)
  sub(/ +$/, "", tag)
  count = split(tag, keys, /, /)
  for (i = 1; i <= count; ++i) print keys[i]
}')
for key in q p space w e a s d f i o j k l ';' Escape; do
  grep -qxF -- "$key" <<<"$tags" || fail "the KEYS section does not list '$key'"
done

options=$(section OPTIONS)
for option in --computer --seed --windowed --help --version; do
  grep -qF -- "$option" <<<"$options" || fail "the OPTIONS section does not list '$option'"
done

rules=$(section RULES)
[ "$(wc -w <<<"$rules")" -ge 150 ] || fail "the RULES section is missing or short"
for fact in 'home node' '10 credits' 'battle' 'lanes' 'WIN'; do
  grep -qF "$fact" <<<"$rules" || fail "the rules do not mention '$fact'"
done

[ "$failures" -eq 0 ]
