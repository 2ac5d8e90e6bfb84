#!/usr/bin/env bash
# Measures how long the real window takes to close after the player asks (Esc, or the
# title bar's close button), with the game idle, while the computer thinks, while it
# shows its moves, with a box up and during ﾍﾙﾌﾟ → 解析, by the time from the key or
# click to the end of the process. Usage: tools/close_latency.sh [ROUNDS]
# (needs a build in build/ and Xvfb, openbox, xdotool, xwininfo, xprop).
set -uo pipefail
cd "$(dirname "$0")/.."
game=$PWD/build/bin/mirado-shogi
record=$PWD/bench/record60.棋譜
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

# The button pressed on the close button of the title bar of window $1 (openbox puts it at
# the right); the window manager closes on the release, which starts the time measured
# (xdotool's whole click takes longer than the close itself).
to_close_button() {
  local x y w top
  read -r x y w < <(xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4}
                                          /Width:/{w=$2} END{print x, y, w}')
  top=$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | awk -F', ' '{print $3}')
  top=${top:-20}
  xdotool mousemove $((x + w - 12)) $((y - top / 2)) mousedown 1
}

# One start: the events of $1, Return after $3 seconds if given (a box answered, RETURNS
# times), then Esc (KEY, or CLOSE=button: the title bar's close button of the main
# window) after $2 seconds; adds the milliseconds from the key to the process's end to
# times.txt.
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
    for _ in $(seq "${RETURNS:-1}"); do xdotool key --clearmodifiers Return; sleep 0.3; done
  fi
  sleep "$2"
  [ "${CLOSE:-}" = button ] && to_close_button "$win"
  # The key goes to whichever of the game's windows has the focus (a box included).
  local t0 t1
  t0=$(date +%s%N)
  if [ "${CLOSE:-}" = button ]; then
    xdotool mouseup 1
  else
    xdotool key --clearmodifiers "${KEY:-Escape}"
  fi
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
CLOSE=button report "close button, idle" "menu START\ncell 1 7 7\ncell 1 7 6\n" 1.5 2.5
# The close button of the main window while a box waits ("先手の番です"): the box takes its
# safe answer and the game is kept.
CLOSE=button report "close button, a box up" "menu START\n" 2.5
# ﾍﾙﾌﾟ → 解析 of a sixty-turn record, running beside the window.
cp "$record" rec.棋譜
RETURNS=2 report "analysis" "menu KIFU_READ\nfile rec.棋譜\nmenu KAISEKI\n" 1.5 2.5
