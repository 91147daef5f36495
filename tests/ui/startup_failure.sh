#!/usr/bin/env bash
# The real program started without its default target: the "Application
# Error" box appears, no main window ever does, and once the box is closed
# the program ends with exit code 1. Runs the program under a private X
# server, closes the box with a key press, and checks the exit code.
set -uo pipefail
program=$1
if [[ -z ${KORVAT_UNDER_XVFB:-} ]]; then
  KORVAT_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$program"
fi
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT

run_under_x() {
  HOME="$home" "$program" &
  local pid=$! box="" i
  for i in $(seq 100); do
    box=$(xdotool search --name '^Application Error$' 2>/dev/null | head -n 1)
    [[ -n $box ]] && break
    sleep 0.1
  done
  if [[ -z $box ]]; then
    echo "no Application Error box appeared"; kill "$pid"; return 2
  fi
  if xdotool search --name 'Korvat Devir' >/dev/null 2>&1; then
    echo "the main window was shown"; kill "$pid"; return 3
  fi
  xdotool windowactivate --sync "$box" key --clearmodifiers Return 2>/dev/null \
    || xdotool key --window "$box" Return
  local code=0
  for i in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    echo "the program did not end after the box was closed"; kill "$pid"; return 4
  fi
  wait "$pid"; code=$?
  echo "exit code $code"
  [[ $code -eq 1 ]]
}
run_under_x
