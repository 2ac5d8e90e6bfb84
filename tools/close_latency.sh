#!/usr/bin/env bash
# Measures how long the real window takes to close after the player asks (Esc), with
# the game idle, while the computer thinks, and while it shows its moves, by the time
# from the key to the end of the process. Usage: tools/close_latency.sh [ROUNDS]
# (needs a build in build/ and Xvfb, openbox, xdotool).
set -uo pipefail
cd "$(dirname "$0")/.."
game=$PWD/build/bin/mirado-shogi
rounds=${1:-5}
work=$(mktemp -d)
pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
cd "$work"
Xvfb -displayfd 9 -screen 0 1600x1200x24 -nolisten tcp 9>display.txt 2>/dev/null &
pids+=($!)
for _ in $(seq 50); do [ -s display.txt ] && break; sleep 0.1; done
export DISPLAY=":$(head -1 display.txt)" SDL_AUDIODRIVER=dummy QT_SCALE_FACTOR=1
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1

# One start: the events of $1, Return after $3 seconds if given (a box answered), then
# Esc after $2 seconds; adds the milliseconds from the key to the process's end to times.txt.
once() {
  printf '%b' "$1" >events.txt
  "$game" --events events.txt >/dev/null 2>&1 &
  local pid=$! win=""
  for _ in $(seq 100); do
    win=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -1) && [ -n "$win" ] && break
    sleep 0.05
  done
  if [ -n "${3:-}" ]; then
    sleep "$3"
    xdotool key --clearmodifiers Return
  fi
  sleep "$2"
  # The key goes to whichever of the game's windows has the focus (a box included).
  local t0 t1
  t0=$(date +%s%N)
  xdotool key --clearmodifiers "${KEY:-Escape}"
  wait "$pid" 2>/dev/null || true
  t1=$(date +%s%N)
  echo $(((t1 - t0) / 1000000)) >>times.txt
}

report() {
  local what=$1; shift
  : >times.txt
  for _ in $(seq "$rounds"); do once "$@"; done
  printf '%-28s %s ms\n' "$what" "$(tr '\n' ' ' <times.txt)"
}

# Idle: a game between two people with two moves made.
report "idle, game in progress" "menu START\ncell 1 7 7\ncell 1 7 6\n" 1.5 2.5
# The computer moves first at LEVEL4: it thinks within its first second, then shows its moves.
report "computer thinking" "menu LEVEL4\nmenu GOTE\n" 1.6
report "computer's move display" "menu LEVEL4\nmenu GOTE\n" 3.0
# The window manager's close (openbox: Alt+F4) while the computer shows its moves.
KEY=alt+F4 report "close button, move display" "menu LEVEL4\nmenu GOTE\n" 3.0
