#!/usr/bin/env bash
# Installs what is needed, builds the game optimised, builds the demo game
# directory and starts the game on it. Extra arguments go to the game
# (for example --windowed).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQVX_SANITIZE=OFF -DQVX_TESTS=OFF -DQVX_DEMO=ON
cmake --build build-release -j"$(nproc)"
mkdir -p build-release/demo/game
exec build-release/src/shell/ovgame --data build-release/demo/game "$@"
