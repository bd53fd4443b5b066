#!/usr/bin/env bash
# Makes the README's pictures of the demo: the walkthrough played in the
# driver mode, pictures taken at a few of its frames, converted to PNG under
# docs/. Usage: scripts/screenshots.sh [BUILD_DIR] (default build-test, made
# by scripts/test.sh). Needs xvfb-run and the ffmpeg command.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-test}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# frame:name — the story at the boat, the lock in the cabin, the ending.
shots=(540:story 2300:lock 3220:ending)
args=()
for s in "${shots[@]}"; do args+=(--screenshot "${s%%:*}:$work/${s#*:}.bmp"); done
mkdir -p "$work/save"
LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=dummy ASAN_OPTIONS=detect_leaks=0 \
  xvfb-run -a -s "-screen 0 1280x1024x24" "$build/src/shell/ovgame" --data "$build/demo/game" \
  --frames 3370 --dt 0.05 --input "$root/demo/walkthrough.txt" --no-render --save-dir "$work/save" "${args[@]}"
for s in "${shots[@]}"; do
  ffmpeg -loglevel error -y -i "$work/${s#*:}.bmp" "$root/docs/demo_${s#*:}.png"
  echo "docs/demo_${s#*:}.png"
done
