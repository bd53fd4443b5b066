#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each one for a while (30 s by default)
# from its seed corpus in fuzz/corpus/<name>/ (target fuzz_<name>). Fails on
# any finding. Prints one summary line a target at the end: executions, and
# the coverage (cov) and features (ft) of libFuzzer's last status line.
# Usage: fuzz/run.sh [SECONDS] [BUILD_DIR] [TARGETS]
# TARGETS (or the environment's QVX_FUZZ_TARGETS) names the targets to run,
# with or without "fuzz_", separated by spaces or commas; all by default, so
# that two runs can share the work.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-30}"
build="$(realpath -m "${2:-$root/build-fuzz}")"
wanted="${3:-${QVX_FUZZ_TARGETS:-}}"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQVX_FUZZ=ON -DQVX_SANITIZE=ON -DQVX_TESTS=OFF -DQVX_DEMO=OFF >/dev/null
targets=$(cmake --build "$build" --target help | sed -n 's/^\(fuzz_[A-Za-z0-9_]*\):.*/\1/p' | sort -u)
[ -n "$targets" ] || { echo "no fuzz targets" >&2; exit 1; }
if [ -n "$wanted" ]; then
  chosen=""
  for w in ${wanted//,/ }; do
    t="fuzz_${w#fuzz_}"
    grep -qx "$t" <<<"$targets" || { echo "no fuzz target $t; there are:" $targets >&2; exit 2; }
    chosen="$chosen $t"
  done
  targets="$chosen"
fi
needs_scene=0
for t in $targets; do [ "$t" = fuzz_scene ] && needs_scene=1; done
if [ "$needs_scene" = 1 ]; then
  cmake --build "$build" -j2 --target $targets qvxtool
else
  cmake --build "$build" -j2 --target $targets
fi
# The location fuzzer starts from the demo's locations, built from their
# sources, alone and in pairs, and from a pair that enters each other. An
# input holds a second location after the marker the target splits at.
scene_seeds="$(mktemp -d)"
trap 'rm -rf "$scene_seeds"' EXIT
if [ "$needs_scene" = 1 ]; then
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
fi
# "fuzz_x: N execs, cov: C, ft: F" from a libFuzzer log.
summary() {
  local t="$1" log="$2" runs status
  runs=$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$log" | tail -n 1)
  status=$(grep -E '^#[0-9]+' "$log" | tail -n 1 || true)
  [ -n "$runs" ] || runs=$(sed -n 's/^#\([0-9]*\).*/\1/p' <<<"$status")
  echo "$t: ${runs:-?} execs, cov: $(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$status"), ft: $(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$status")"
}
status=0
summaries=()
for t in $targets; do
  name="${t#fuzz_}"
  work="$(mktemp -d)"
  seeds=()
  [ -d "$root/fuzz/corpus/$name" ] && seeds=("$root/fuzz/corpus/$name")
  [ "$name" = scene ] && seeds+=("$scene_seeds")
  echo "== $t (${seconds}s)"
  # The targets' own warnings go nowhere (close_fd_mask); libFuzzer's lines
  # and any sanitizer report still reach the log.
  if ! (cd "$work" && "$build/fuzz/$t" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 -malloc_limit_mb=512 -timeout=10 -close_fd_mask=2 -artifact_prefix="$work/" \
          "$work" "${seeds[@]}" 2>"$work/log"); then
    tail -n 40 "$work/log" >&2
    echo "$t: finding; reproducer in $work" >&2
    summaries+=("$(summary "$t" "$work/log") FINDING")
    status=1
  else
    summaries+=("$(summary "$t" "$work/log")")
    echo "${summaries[-1]}"
    rm -rf "$work"
  fi
done
echo "== summary (${seconds}s each)"
printf '%s\n' "${summaries[@]}"
exit $status
