#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole test suite under a virtual
# X display. With --sanitize the build uses AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

build_dir=build/test
cmake_args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DKARVOSSA_WERROR=ON -DKARVOSSA_CHECKS=ON)
if [ "${1:-}" = "--sanitize" ]; then
  build_dir=build/sanitize
  cmake_args=(-DCMAKE_BUILD_TYPE=Debug -DKARVOSSA_WERROR=ON -DKARVOSSA_CHECKS=ON -DKARVOSSA_SANITIZE=ON -DKARVOSSA_BENCHMARKS=OFF)
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
  export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
fi

# The games the tests play are recorded; they go into the build, not the home.
export XDG_DATA_HOME="$PWD/$build_dir/test-data"

cmake -S . -B "$build_dir" "${cmake_args[@]}"
cmake --build "$build_dir" -j"$(nproc)"
xvfb-run -a -s "-screen 0 1280x1024x24" \
  ctest --test-dir "$build_dir" -j"$(nproc)" --output-on-failure --timeout 600
