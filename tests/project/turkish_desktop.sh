#!/usr/bin/env bash
# The programs on a Turkish desktop: with tr_TR.UTF-8 really installed and
# named in LANG and LC_ALL, the demo maker creates its databases, the check
# reads them and the window opens on its default target. Under Turkish case
# rules the client library cannot read its own configuration unless the
# programs set plain ones first.
#   turkish_desktop.sh <Korvat_Devir> <Korvat_Kontrol> <korvat_demo_databases> <await-window.sh>
set -uo pipefail
window=$1 kontrol=$2 demo=$3 await_window=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "FAIL: $*"; exit 1; }

# An uninstalled locale falls back to C without a word, and proves nothing.
locale -a | grep -ixE 'tr_TR\.utf-?8' >/dev/null || fail "the tr_TR.UTF-8 locale is not installed (scripts/setup.sh makes it)"
export LANG=tr_TR.UTF-8 LC_ALL=tr_TR.UTF-8
[[ $(locale charmap 2>&1) == UTF-8 ]] || fail "the C library does not take tr_TR.UTF-8"

home=$work/home
"$demo" "$home/Korvat/KORVAT.FDB" "$home/Korvat/KAYNAK.FDB" >"$work/demo.log" 2>&1 \
  || { cat "$work/demo.log"; fail "the demo maker failed"; }

# The empty target lacks every row of the source: exit code 1, not 2.
"$kontrol" "$home/Korvat/KAYNAK.FDB" "$home/Korvat/KORVAT.FDB" >"$work/kontrol.log" 2>&1
code=$?
[[ $code -eq 1 ]] || { cat "$work/kontrol.log"; fail "Korvat_Kontrol ended with $code, expected 1"; }

HOME=$home bash "$await_window" 30 "$window" >"$work/window.log" 2>&1 \
  || { cat "$work/window.log"; fail "the window did not open on its default target"; }
echo "passed"
