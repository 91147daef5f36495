#!/usr/bin/env bash
# Starts a command under a private X server, waits until the main window of
# Korvat Devir appears and prints how many seconds that took (counted from the
# command's start), then ends the command. Fails, with the command's output,
# when the start-up error box appears, when the command ends first, or when
# no window appeared within the limit.
#   bash scripts/await-window.sh <seconds> <command> [argument...]
set -uo pipefail
if [[ -z ${KORVAT_UNDER_XVFB:-} ]]; then
  # The X server and its cookie are made under plain case rules (a Turkish
  # locale can upset the X tools as it does Firebird's); the command itself
  # runs under the caller's locale, restored below.
  KORVAT_UNDER_XVFB=1 KORVAT_CALLER_LANG=${LANG-} KORVAT_CALLER_LC_ALL=${LC_ALL-} LANG=C.UTF-8 LC_ALL=C.UTF-8 \
    exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi
if [[ -n ${KORVAT_CALLER_LANG+x} ]]; then
  if [[ -n $KORVAT_CALLER_LANG ]]; then export LANG=$KORVAT_CALLER_LANG; else unset LANG; fi
  if [[ -n $KORVAT_CALLER_LC_ALL ]]; then export LC_ALL=$KORVAT_CALLER_LC_ALL; else unset LC_ALL; fi
  unset KORVAT_CALLER_LANG KORVAT_CALLER_LC_ALL
fi
limit=$1
shift
name=$(basename "$1")
output=$(mktemp)
trap 'rm -f "$output"' EXIT

start=$(date +%s%N)
# A session of its own, so that ending it also ends whatever it started.
setsid "$@" >"$output" 2>&1 &
pid=$!

stop() {
  kill -TERM -- "-$pid" 2>/dev/null
  local _
  for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -KILL -- "-$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
}

fail() {
  echo "await-window: $*" >&2
  echo "--- output of $name ---" >&2
  cat "$output" >&2
  exit 1
}

deadline=$((start + limit * 1000000000))
while :; do
  if xdotool search --name '^Korvat Devir Programı' >/dev/null 2>&1; then
    elapsed=$(($(date +%s%N) - start))
    stop
    printf 'window after %d.%02d s\n' $((elapsed / 1000000000)) $((elapsed % 1000000000 / 10000000))
    exit 0
  fi
  if xdotool search --name '^Application Error$' >/dev/null 2>&1; then
    stop
    fail "$name showed the start-up error box instead of the main window"
  fi
  if ! kill -0 "$pid" 2>/dev/null; then
    wait "$pid"
    fail "$name ended (exit code $?) before its main window appeared"
  fi
  if (($(date +%s%N) > deadline)); then
    stop
    fail "no main window of $name appeared within $limit s"
  fi
  sleep 0.1
done
