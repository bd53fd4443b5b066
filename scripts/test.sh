#!/usr/bin/env bash
# Installs what is needed, builds with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs every test under a virtual X display
# with Mesa's software renderer and SDL's dummy audio driver.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
jobs=$(nproc)
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQVX_SANITIZE=ON -DQVX_TESTS=ON -DQVX_DEMO=ON
cmake --build build-test -j"$jobs"
export LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=dummy
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir build-test --output-on-failure -j"$jobs"
if [ -x fuzz/run.sh ]; then
  fuzz/run.sh 30
fi
