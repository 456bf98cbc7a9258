#!/usr/bin/env bash
# Builds the Debian package from the release build (build/release, the one
# play.sh uses) and checks it as a player's system gets it: exactly the game's
# files under /usr, the libraries it needs as dependencies, an install with
# dpkg, a game started from the menu entry's command line, and a removal that
# leaves none of its files, and lintian's verdict on it, where only the two
# tags that wait for the owner's licence and contact address may remain.
# Installing needs root: run as root, or with sudo.
set -euo pipefail
cd "$(dirname "$0")/.."

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null; then
    echo "check-package.sh installs and removes the package: run it as root or install sudo" >&2
    exit 1
  fi
  sudo_cmd=(sudo)
fi
# A karvossa installed before would be replaced and then removed.
if dpkg-query -W -f='${Status}' karvossa 2>/dev/null | grep -qv 'not-installed'; then
  echo "the karvossa package is installed already; remove it (dpkg -P karvossa) to check the package" >&2
  exit 1
fi

bash scripts/setup.sh

build_dir=build/release
# The game started from the menu entry records itself into the build.
export XDG_DATA_HOME="$PWD/$build_dir/check-data"

cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DKARVOSSA_BENCHMARKS=OFF
cmake --build "$build_dir" -j"$(nproc)"
rm -f "$build_dir"/karvossa_*.deb
(cd "$build_dir" && cpack -G DEB)
packages=("$build_dir"/karvossa_*.deb)
if [ ${#packages[@]} -ne 1 ] || [ ! -f "${packages[0]}" ]; then
  echo "cpack made no single karvossa package: ${packages[*]}" >&2
  exit 1
fi
deb=${packages[0]}
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build_dir/CMakeCache.txt")

work=$(mktemp -d)
installed=no
cleanup() {
  if [ "$installed" = yes ]; then
    "${sudo_cmd[@]}" dpkg -P karvossa >/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

expected_files=(
  /usr/games/karvossa
  /usr/share/applications/karvossa.desktop
  /usr/share/doc/karvossa/changelog.gz
  /usr/share/icons/hicolor/256x256/apps/karvossa.png
  /usr/share/icons/hicolor/scalable/apps/karvossa.svg
  /usr/share/man/man6/karvossa.6.gz
  /usr/share/metainfo/invalid.karvossa.karvossa.metainfo.xml
)
expected=$(printf '%s\n' "${expected_files[@]}" | sort)

# dpkg-deb -c lists as tar does: mode, owner, size, date, time, path.
dpkg-deb -c "$deb" >"$work/contents"
echo "== $deb"
cat "$work/contents"
packaged=$(awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }' "$work/contents" | sort)
[ "$packaged" = "$expected" ] || fail "the package's files differ from the expected ones:"$'\n'"$packaged"
outside=$(awk '$6 != "./" && $6 !~ /^\.\/usr\// { print $6 }' "$work/contents")
[ -z "$outside" ] || fail "the package has entries outside /usr: $outside"
not_root=$(awk '$2 != "root/root" { print $6 }' "$work/contents")
[ -z "$not_root" ] || fail "the package has entries not owned by root: $not_root"

field() { dpkg-deb -f "$deb" "$1"; }
echo "== control"
dpkg-deb -f "$deb"
[ "$(field Package)" = karvossa ] || fail "the package is called '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "the package's version '$(field Version)' is not $version"
[ "$(field Section)" = games ] || fail "the package is in section '$(field Section)', not games"
[ -n "$(field Maintainer)" ] || fail "the package names no maintainer"
[ -n "$(field Description)" ] || fail "the package has no description"
# One entry per dependency, alternatives kept together, versions dropped.
depends=$(field Depends | tr ',' '\n' | sed -E 's/\([^)]*\)//g; s/ //g')
for library in 'libglut[0-9.]*' 'libglu1(-mesa)?' 'libopengl0|libgl1' 'libx11-6' 'libopenal1' 'libenet7' 'libc6' 'libstdc\+\+6'; do
  grep -Eq "(^|\|)($library)(\||$)" <<<"$depends" || fail "Depends names no $library: $(field Depends)"
done
# The icon's pixels are compiled in; only the build reads the PNG.
! grep -q '^libpng' <<<"$depends" || fail "the game depends on libpng: $(field Depends)"

# The changelog names the package's version in its first line.
first_entry=$(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/karvossa/changelog.gz | gzip -dc | head -n 1)
[[ "$first_entry" == "karvossa ($version) "* ]] || fail "the changelog begins '$first_entry'"

# no-copyright-file waits for the owner's licence, and the maintainer's
# malformed-contact for a contact address; any other tag is a fault.
echo "== lintian"
lintian --tag-display-limit 0 "$deb" | tee "$work/lintian" || true
waiting='^[EWIP]: karvossa: (no-copyright-file|malformed-contact Maintainer .*)$'
others=$(grep -E '^[EWIPXO]: ' "$work/lintian" | grep -Ev "$waiting" || true)
[ -z "$others" ] || fail "lintian finds more than the two tags that wait for the owner:"$'\n'"$others"

"${sudo_cmd[@]}" dpkg -i "$deb"
installed=yes
for file in "${expected_files[@]}"; do
  [ -f "$file" ] || fail "dpkg -i did not install $file"
done

# The menu runs the entry's command line in the user's session, whose PATH on
# Debian (from /etc/profile) has the games directory; root's has not.
user_path=/usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games
exec_line=$(awk -F= '/^\[/ { main = ($0 == "[Desktop Entry]") } main && $1 == "Exec" { sub(/^Exec=/, ""); print; exit }' \
  /usr/share/applications/karvossa.desktop | sed -E 's/ ?%[a-zA-Z]//g')
echo "== starting '$exec_line --windowed' from the menu entry"
program=$(PATH=$user_path command -v "${exec_line%% *}" || true)
[ "$program" = /usr/games/karvossa ] || fail "the menu entry's command runs '$program', not /usr/games/karvossa"
# The game must open its window and still be running a moment later.
# shellcheck disable=SC2016
if ! xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  env PATH="$1" sh -c "exec $2 --windowed" >"$3/out" 2>"$3/err" </dev/null &
  game=$!
  window=""
  for _ in $(seq 50); do
    window=$(xdotool search --name "^Karvossa!\$" 2>/dev/null) && break
    sleep 0.2
  done
  sleep 2
  xprop -id "$(head -n 1 <<<"$window")" -notype WM_CLASS >"$3/class" 2>&1
  if ! kill -0 "$game" 2>/dev/null; then
    echo "the game ended: $(cat "$3/err")" >&2
    exit 1
  fi
  kill "$game"
  wait "$game" 2>/dev/null
  if [ -z "$window" ]; then
    echo "the game opened no window" >&2
    exit 1
  fi' check "$user_path" "$exec_line" "$work"; then
  fail "the game did not keep running from its menu entry"
fi
# A dock ties the running game to its menu entry by the class both name.
entry_class=$(sed -n 's/^StartupWMClass=//p' /usr/share/applications/karvossa.desktop)
window_class=$(sed -n 's/^WM_CLASS = "karvossa", "\(.*\)"$/\1/p' "$work/class" 2>/dev/null)
if [ -z "$entry_class" ] || [ "$entry_class" != "$window_class" ]; then
  fail "the menu entry's class '$entry_class' is not the window's: $(cat "$work/class" 2>/dev/null)"
fi

"${sudo_cmd[@]}" dpkg -r karvossa
for file in "${expected_files[@]}"; do
  [ ! -e "$file" ] || fail "dpkg -r left $file"
done
# Without configuration files the removal is complete; a purge is only needed
# when dpkg kept some.
if dpkg-query -W -f='${Status}' karvossa 2>/dev/null | grep -q 'config-files'; then
  "${sudo_cmd[@]}" dpkg -P karvossa
fi
installed=no
if dpkg-query -W -f='${Status}' karvossa 2>/dev/null | grep -qv 'not-installed'; then
  fail "dpkg still knows karvossa after the purge: $(dpkg-query -W -f='${Status}' karvossa)"
fi
for file in "${expected_files[@]}"; do
  if dpkg -S "$file" >/dev/null 2>&1; then
    fail "after the purge $file still belongs to $(dpkg -S "$file")"
  fi
done

[ "$failures" -eq 0 ] && echo "the package checks passed"
