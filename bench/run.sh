#!/usr/bin/env bash
# Runs the transfer benchmark matrix and prints one table row per case:
#   bash bench/run.sh [N ...]          (default: 1000 10000 100000)
# Each case (N, embedded/server, tool/floor) runs in a fresh process, the
# floor and the window taking turns for $KORVAT_BENCH_ROUNDS rounds (default
# 3); the table shows each side's quickest round, the one least disturbed by
# the rest of the machine, and the range of the rounds' own ratios. Source
# databases are generated once per N into $KORVAT_BENCH_DIR (default
# /tmp/korvat-bench) and reused. The program is taken from
# $KORVAT_BENCH_EXE, else build/bench/korvat_transfer_bench.
set -euo pipefail
cd "$(dirname "$0")/.."

exe=${KORVAT_BENCH_EXE:-build/bench/korvat_transfer_bench}
dir=${KORVAT_BENCH_DIR:-/tmp/korvat-bench}
rounds=${KORVAT_BENCH_ROUNDS:-3}
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(1000 10000 100000)
[ -x "$exe" ] || { echo "no $exe: build the project first (cmake --build build)" >&2; exit 1; }
mkdir -p "$dir"
export QT_QPA_PLATFORM=offscreen

results=$(mktemp)
calls=$(mktemp)
trap 'rm -f "$results" "$calls"' EXIT
for n in "${sizes[@]}"; do
  source="$dir/source-$n.fdb"
  [ -f "$source" ] || "$exe" generate "$n" "$source"
  for mode in embedded server; do
    for round in $(seq "$rounds"); do
      for kind in floor tool; do
        # Qt's offscreen chatter goes to the log; a failed case stops the matrix.
        if ! "$exe" run "$kind" "$mode" "$source" "$n" >"$dir/last.out" 2>>"$dir/bench.log"; then
          echo "case $n $mode $kind failed:" >&2; cat "$dir/last.out" >&2; tail -5 "$dir/bench.log" >&2; exit 1
        fi
        grep '^RESULT' "$dir/last.out" >>"$results"
        grep '^CALLS' "$dir/last.out" >>"$calls"
      done
    done
  done
done

# Bytes per row: growth of the resident set during the run (peak minus the
# resident size just before it) divided by the carried cards and accounts.
awk '
function field(name,   i, kv) { for (i = 2; i <= NF; i++) { split($i, kv, "="); if (kv[1] == name) return kv[2] } }
{
  key = field("n") " " field("mode"); kind = field("kind"); s = field("seconds")
  carried[key] = field("carried")
  if (!(key in seen)) { seen[key] = 1; order[++count] = key }
  round = ++rounds[key, kind]
  taken[key, kind, round] = s
  if (!((key, kind) in secs) || s < secs[key, kind]) {
    secs[key, kind] = s; cpu[key, kind] = field("cpu")
    grow[key, kind] = field("peak") - field("baseline"); peak[key, kind] = field("peak")
  }
}
END {
  printf "%-8s %-9s %8s %9s %9s %10s %7s %13s %9s %7s %9s %11s %11s %11s\n", "N", "mode", "rows", "tool s", "floor s", "rows/s", "ratio", "round ratios", "us/row", "cpu", "cpu ratio", "peak MiB", "tool B/row", "floor B/row"
  for (i = 1; i <= count; i++) {
    k = order[i]; split(k, p, " ")
    t = secs[k, "tool"]; f = secs[k, "floor"]; r = carried[k]
    lo = 0; hi = 0
    for (j = 1; j <= rounds[k, "tool"] && j <= rounds[k, "floor"]; j++) {
      q = taken[k, "tool", j] / taken[k, "floor", j]
      if (j == 1 || q < lo) lo = q
      if (j == 1 || q > hi) hi = q
    }
    printf "%-8s %-9s %8d %9.3f %9.3f %10.0f %7.2f %6.2f-%-6.2f %9.1f %7.3f %9.2f %11.1f %11.0f %11.0f\n", p[1], p[2], r, t, f, r / t, t / f, lo, hi, 1e6 * t / r, cpu[k, "tool"], cpu[k, "tool"] / cpu[k, "floor"], peak[k, "tool"] / 1048576, grow[k, "tool"] / r, grow[k, "floor"] / r
  }
}' "$results"

# Client-library calls made during the transfers, by entry point: in all and
# per carried row, the window's beside the floor's.
echo
awk '
function field(name,   i, kv) { for (i = 2; i <= NF; i++) { split($i, kv, "="); if (kv[1] == name) return kv[2] } }
{
  key = field("n") " " field("mode"); kind = field("kind")
  carried[key] = field("carried")
  if (!(key in seen)) { seen[key] = 1; order[++count] = key }
  for (i = 2; i <= NF; i++) {
    split($i, kv, "=")
    if (kv[1] ~ /^(isc|fb)_/) {
      calls[key, kind, kv[1]] = kv[2]
      if (!((key, kv[1]) in named)) { named[key, kv[1]] = 1; names[key] = names[key] " " kv[1] }
    }
  }
}
END {
  printf "%-8s %-9s %-26s %9s %9s %9s %9s\n", "N", "mode", "entry point", "tool", "floor", "tool/row", "floor/row"
  for (i = 1; i <= count; i++) {
    k = order[i]; split(k, p, " "); n = split(names[k], list, " ")
    for (j = 1; j <= n; j++) {
      e = list[j]; t = calls[k, "tool", e] + 0; f = calls[k, "floor", e] + 0
      printf "%-8s %-9s %-26s %9d %9d %9.4f %9.4f\n", p[1], p[2], e, t, f, t / carried[k], f / carried[k]
    }
  }
}' "$calls"
