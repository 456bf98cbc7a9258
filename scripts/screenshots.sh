#!/usr/bin/env bash
# Takes the README's pictures, docs/title.png, docs/map.png and docs/battle.png,
# from the real program drawing with Mesa's software renderer on an X server of
# its own (Xvfb, 1280x1024x24). The game, started with --seed, is steered through
# xdotool to the title, the map with player 0's ship selected, and a battle with
# units of both sides out; every step's screenshot is kept in
# build/screenshots/shots/steps/ for a look when a step fails.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

build_dir=build/screenshots
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKARVOSSA_BENCHMARKS=OFF
cmake --build "$build_dir" -j2 --target karvossa_screenshot_tour

# The pictures reach docs/ only when the whole tour succeeded.
shots="$build_dir/shots"
rm -rf "$shots"
mkdir -p "$shots" docs
"$build_dir/tests/karvossa_screenshot_tour" "$PWD/$shots"
cp "$shots/title.png" "$shots/map.png" "$shots/battle.png" docs/
ls -l docs/title.png docs/map.png docs/battle.png
