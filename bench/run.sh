#!/usr/bin/env bash
# Runs the transfer benchmark matrix and prints one table row per case:
#   bash bench/run.sh [N ...]          (default: 1000 10000 100000)
# Each case (N, embedded/server, tool/floor) runs in a fresh process. Source
# databases are generated once per N into $KORVAT_BENCH_DIR (default
# /tmp/korvat-bench) and reused. The program is taken from
# $KORVAT_BENCH_EXE, else build/bench/korvat_transfer_bench.
set -euo pipefail
cd "$(dirname "$0")/.."

exe=${KORVAT_BENCH_EXE:-build/bench/korvat_transfer_bench}
dir=${KORVAT_BENCH_DIR:-/tmp/korvat-bench}
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(1000 10000 100000)
[ -x "$exe" ] || { echo "no $exe: build the project first (cmake --build build)" >&2; exit 1; }
mkdir -p "$dir"
export QT_QPA_PLATFORM=offscreen

results=$(mktemp)
trap 'rm -f "$results"' EXIT
for n in "${sizes[@]}"; do
  source="$dir/source-$n.fdb"
  [ -f "$source" ] || "$exe" generate "$n" "$source"
  for mode in embedded server; do
    for kind in floor tool; do
      # Qt's offscreen chatter goes to the log; a failed case stops the matrix.
      if ! "$exe" run "$kind" "$mode" "$source" "$n" >"$dir/last.out" 2>>"$dir/bench.log"; then
        echo "case $n $mode $kind failed:" >&2; cat "$dir/last.out" >&2; tail -5 "$dir/bench.log" >&2; exit 1
      fi
      grep '^RESULT' "$dir/last.out" >>"$results"
    done
  done
done

# Bytes per row: growth of the resident set during the run (peak minus the
# resident size just before it) divided by the carried cards and accounts.
awk '
function field(name,   i, kv) { for (i = 2; i <= NF; i++) { split($i, kv, "="); if (kv[1] == name) return kv[2] } }
{
  key = field("n") " " field("mode")
  secs[key, field("kind")] = field("seconds")
  carried[key] = field("carried")
  grow[key, field("kind")] = field("peak") - field("baseline")
  peak[key, field("kind")] = field("peak")
  if (!(key in seen)) { seen[key] = 1; order[++count] = key }
}
END {
  printf "%-8s %-9s %8s %9s %9s %10s %7s %9s %11s %11s %11s\n", "N", "mode", "rows", "tool s", "floor s", "rows/s", "ratio", "us/row", "peak MiB", "tool B/row", "floor B/row"
  for (i = 1; i <= count; i++) {
    k = order[i]; split(k, p, " ")
    t = secs[k, "tool"]; f = secs[k, "floor"]; r = carried[k]
    printf "%-8s %-9s %8d %9.3f %9.3f %10.0f %7.2f %9.1f %11.1f %11.0f %11.0f\n", p[1], p[2], r, t, f, r / t, t / f, 1e6 * t / r, peak[k, "tool"] / 1048576, grow[k, "tool"] / r, grow[k, "floor"] / r
  }
}' "$results"
