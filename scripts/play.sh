#!/usr/bin/env bash
# Installs what is missing, builds the release build and starts the game with
# the options given, for example --computer 1 to play against the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DKARVOSSA_BENCHMARKS=OFF
cmake --build build/release -j"$(nproc)" --target karvossa
exec build/release/karvossa "$@"
