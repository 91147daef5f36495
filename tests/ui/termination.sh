#!/usr/bin/env bash
# The real program ended by SIGTERM, SIGINT and SIGHUP under a private X
# server, once between transfers and once in the middle of a stock transfer.
# Each time it must end within 5 seconds with exit code 0, and the target
# must then hold, committed, exactly what the transfers completed before the
# signal carried (nothing of the one it stopped), in a file that gfix finds
# sound. The operator's clicks and keys are sent with
# xdotool at the window's fixed control positions.
#
#   termination.sh <Korvat_Devir> <korvat_demo_databases> <korvat_transfer_bench>
set -uo pipefail
program=$1 demo=$2 bench=$3
if [[ -z ${KORVAT_UNDER_XVFB:-} ]]; then
  KORVAT_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi
work=$(mktemp -d)
pid=""
trap '[[ -n $pid ]] && kill -9 "$pid" 2>/dev/null; rm -rf "$work"' EXIT
home=$work/home
target=$home/Korvat/KORVAT.FDB

fail() { echo "FAIL: $*"; exit 1; }

# One value per line for a select, through the embedded engine. isql reads
# Firebird's configuration with the locale's case rules, so it runs under
# plain ones; the program itself runs under the suite's (Turkish) locale.
sql() {
  printf 'set heading off;\n%s;\n' "$2" |
    LC_ALL=C.UTF-8 isql-fb -q -user SYSDBA -password quietbolt "$1" | tr -d ' ' | sed '/^$/d'
}

# The id of a visible window of the program other than those given.
new_window() {
  local i id
  for i in $(seq 100); do
    for id in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
      [[ " $* " == *" $id "* ]] || { echo "$id"; return 0; }
    done
    sleep 0.1
  done
  return 1
}

# Types into a dialog and sends Return until the dialog is gone.
answer() {
  local dialog=$1 text=$2 i
  xdotool windowfocus --sync "$dialog" 2>/dev/null
  [[ -n $text ]] && xdotool type --delay 5 "$text"
  for i in 1 2 3; do
    xdotool key Return
    sleep 0.3
    xdotool search --onlyvisible --pid "$pid" 2>/dev/null | grep -qx "$dialog" || return 0
  done
  fail "dialog $dialog did not close"
}

click() { xdotool mousemove --window "$main" "$1" "$2" click 1; }

start() {
  HOME=$home "$program" >"$work/program.log" 2>&1 &
  pid=$!
  main=$(new_window) || fail "no main window appeared"
  xdotool search --onlyvisible --name '^Korvat Devir Programı' | grep -qx "$main" || fail "unexpected first window"
}

choose() {  # the "?" button's position, the path
  click 658 "$1"
  answer "$(new_window "$main")" "$2"
}

# Sends the signal and checks the program ends within 5 seconds with 0.
end_by() {
  local i code
  kill -s "$1" "$pid"
  for i in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$pid" 2>/dev/null && fail "$1: still running 5 seconds after the signal"
  wait "$pid"; code=$?
  pid=""
  [[ $code -eq 0 ]] || fail "$1: exit code $code"
}

check_sound() {
  local report
  report=$(LC_ALL=C.UTF-8 gfix -v -full -user SYSDBA -password quietbolt "$target" 2>&1) || fail "gfix: $report"
  [[ -z $report ]] || fail "gfix: $report"
}

mkdir -p "$home/Korvat"
"$demo" "$target" "$work/small.fdb" >/dev/null || fail "demo databases"
cp "$target" "$work/empty.fdb"
"$bench" generate 40000 "$work/large.fdb" >/dev/null 2>&1 || fail "source generation"
groups=$(sql "$work/small.fdb" "select count(*) from T_GRUBU")
active=$(sql "$work/large.fdb" "select count(*) from T_STOK where AKTIFLIK = 1")
large_groups=$(sql "$work/large.fdb" "select count(*) from T_GRUBU")

for signal in TERM INT HUP; do
  # Between transfers: the groups carried before stay.
  cp "$work/empty.fdb" "$target"
  start
  choose 31 "$work/small.fdb"
  choose 59 "$target"
  click 61 94                                   # "Grubu Aktar"
  answer "$(new_window "$main")" ""             # "Devam edilsin mi?": Yes
  answer "$(new_window "$main")" ""             # "Gruplar aktarıldı"
  end_by "$signal"
  [[ $(sql "$target" "select count(*) from T_GRUBU") -eq $groups ]] || fail "$signal: groups lost"
  check_sound

  # In the middle of a stock transfer, after the groups were carried: the
  # groups stay, and nothing of the stopped press does, though the keys its
  # cards drew show that it stopped in the middle.
  cp "$work/empty.fdb" "$target"
  start
  choose 31 "$work/large.fdb"
  choose 59 "$target"
  click 61 94                                   # "Grubu Aktar"
  answer "$(new_window "$main")" ""
  answer "$(new_window "$main")" ""             # "Gruplar aktarıldı"
  click 30 121                                  # "Stok bakiyesini aktar"
  click 142 94                                  # "Stok Aktar"
  answer "$(new_window "$main")" ""
  sleep 1
  end_by "$signal"
  drawn=$(sql "$target" "select gen_id(T_STOK_STOK_ID_GEN, 0) from rdb\$database")
  (( drawn > 0 && drawn < active )) || fail "$signal: $drawn of $active keys drawn: not stopped in the middle"
  [[ $(sql "$target" "select count(*) from T_GRUBU") -eq $large_groups ]] || fail "$signal: groups lost"
  [[ $(sql "$target" "select count(*) from T_STOK") -eq 0 &&
     $(sql "$target" "select count(*) from T_STOK_HAREKET") -eq 0 ]] || fail "$signal: rows of the stopped press kept"
  check_sound
  echo "$signal: ended cleanly between transfers and after $drawn of $active cards, which were undone"
done
