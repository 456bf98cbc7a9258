#!/usr/bin/env bash
# Draws dist/karvossa.png, the 256x256 icon of the icon theme, from the
# hand-written dist/karvossa.svg. Both are committed, so that a build needs no
# SVG renderer; run this after changing the SVG.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
rsvg-convert --width 256 --height 256 --output dist/karvossa.png dist/karvossa.svg
file dist/karvossa.png
