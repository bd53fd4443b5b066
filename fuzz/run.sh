#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each one for a while (30 s by default)
# from its seed corpus in fuzz/corpus/<name>/ (target fuzz_<name>). Fails on
# any finding. Usage: fuzz/run.sh [SECONDS] [BUILD_DIR]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-30}"
build="${2:-$root/build-fuzz}"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQVX_FUZZ=ON -DQVX_SANITIZE=ON -DQVX_TESTS=OFF -DQVX_DEMO=OFF >/dev/null
targets=$(cmake --build "$build" --target help | sed -n 's/^\(fuzz_[A-Za-z0-9_]*\):.*/\1/p' | sort -u)
[ -n "$targets" ] || { echo "no fuzz targets" >&2; exit 1; }
cmake --build "$build" -j2 --target $targets qvxtool
# The location fuzzer starts from the demo's locations, built from their
# sources, alone and in pairs, and from a pair that enters each other. An
# input holds a second location after the marker the target splits at.
scene_seeds="$(mktemp -d)"
trap 'rm -rf "$scene_seeds"' EXIT
qvxtool="$build/tools/qvxtool/qvxtool"
previous=""
for loc in "$root"/demo/scenes/*.loc "$root"/fuzz/scene_seeds/*.loc; do
  seed="$scene_seeds/$(basename "$loc" .loc).qvx"
  "$qvxtool" loc build "$loc" "$seed" >/dev/null
  if [ -n "$previous" ]; then
    { cat "$previous"; printf '@@qvx@@'; cat "$seed"; } >"$seed.pair"
  fi
  previous="$seed"
done
status=0
for t in $targets; do
  name="${t#fuzz_}"
  work="$(mktemp -d)"
  seeds=()
  [ -d "$root/fuzz/corpus/$name" ] && seeds=("$root/fuzz/corpus/$name")
  [ "$name" = scene ] && seeds+=("$scene_seeds")
  echo "== $t (${seconds}s)"
  if ! (cd "$work" && "$build/fuzz/$t" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 -malloc_limit_mb=512 -timeout=10 -artifact_prefix="$work/" \
          "$work" "${seeds[@]}" 2>"$work/log"); then
    tail -n 40 "$work/log" >&2
    echo "$t: finding; reproducer in $work" >&2
    status=1
  else
    tail -n 1 "$work/log"
    rm -rf "$work"
  fi
done
exit $status
