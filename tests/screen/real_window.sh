#!/usr/bin/env bash
# The game in a real X window (Xvfb with the xcb platform and a window manager), driven
# by real input through XTest, its pixels read back from the X server. After every kind
# of event the screen must show what a full repaint of the window shows, at pixel
# ratios 1 and 2 and at other window sizes; the design-size picture must agree with the
# offscreen render, and a half- or double-size window must show the same picture
# scaled, not cropped. Over one turn with the clocks shown only the holder's clock runs,
# and 局面 → 最初 empties the move list. Steps through a record show the marks of the
# turn stepped over, 戻 looks back at a game the moment it ends, and the computer's
# display speeds differ by their waits alone.
#   real_window.sh GAME WORKDIR [1|2]
# With a ratio given only that half runs (the clocks and the list with ratio 1), each
# on its own display, so that ctest can run the halves side by side.
set -uo pipefail
GAME=$1
WORK=$2
PART=${3:-all}
for tool in Xvfb openbox xdotool xwininfo import compare convert iconv; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
rm -rf "$WORK" && mkdir -p "$WORK" && cd "$WORK" || exit 1
unset QT_QPA_PLATFORM QT_SCALE_FACTOR
export SDL_AUDIODRIVER=dummy

failures=0
pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null; done
  wait 2>/dev/null
}
trap cleanup EXIT

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# A display of our own, whichever number is free.
Xvfb -displayfd 9 -screen 0 2600x2200x24 -nolisten tcp 9>display.txt 2>xvfb.log &
pids+=($!)
for _ in $(seq 50); do [ -s display.txt ] && break; sleep 0.1; done
[ -s display.txt ] || { echo "Xvfb did not start"; cat xvfb.log; exit 1; }
export DISPLAY=":$(head -1 display.txt)"
openbox >openbox.log 2>&1 &
pids+=($!)
sleep 1

# The status line under the picture (logical pixels; the window's own widget, no part of it).
STATUS=20

grab() { import -window "$WIN" "$1" 2>/dev/null; }
# Differing pixels of two pictures of one size ("inf" when they cannot be compared).
differing() { compare -metric AE -fuzz 4% "$1" "$2" null: 2>&1 | awk '{print int($1)}'; }
# Mean absolute error, 0..1, of two pictures of one size.
mae() { compare -metric MAE "$1" "$2" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p'; }
size_of() { xwininfo -id "$WIN" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w, h}'; }

# The game's windows on screen besides the main window: boxes (or open menus).
others() { xdotool search --onlyvisible --pid "$GAME_PID" 2>/dev/null | grep -vx "$WIN" | grep -c .; }

# Answers the boxes a command has shown, as a player would, with Return. A box may
# come after a pause (the game waits before some), so none must show for a while.
answer_boxes() {
  local quiet=0
  for _ in $(seq 40); do
    sleep 0.2
    if [ "$(others)" = 0 ]; then
      quiet=$((quiet + 1))
      [ "$quiet" -ge 8 ] && return 0
    else
      quiet=0
      xdotool key Return
    fi
  done
  fail "a box would not go away"
}

# Waits until the window looks the same twice in a row, then leaves it in $1.
settle() {
  local prev="$1.prev.png"
  grab "$prev"
  for _ in $(seq 12); do
    sleep 0.15
    grab "$1"
    [ "$(differing "$prev" "$1")" = 0 ] && return 0
    mv "$1" "$prev"
  done
  return 0
}

resize_to() {
  xdotool windowsize "$WIN" "$1" "$2"
  sleep 0.4
}

# What is on screen now must equal a full repaint: resizing by a pixel and back makes
# the window draw everything again from its retained picture.
check() {
  local name="$1" w h n
  settle "$name.png"
  read -r w h < <(size_of)
  resize_to $((w + 1)) "$h"
  resize_to "$w" "$h"
  settle "$name.full.png"
  n=$(differing "$name.png" "$name.full.png")
  if [ "$n" != 0 ]; then
    fail "$name: $n pixels differ from a full repaint (see $WORK/$name.png, $name.full.png)"
  else
    echo "ok: $name"
  fi
}

# Clicks the centre of window cell (c, r) at the window's present size, or a hand cell.
cell() {
  local w h
  read -r w h < <(size_of)
  local xy
  xy=$(awk -v w="$w" -v h="$h" -v S="$SCALE" -v mb="$MENU" -v st="$STATUS" -v c="$2" -v r="$3" 'BEGIN {
    W = w / S; H = h / S - mb - st
    s = W / 600; if (H / 485 < s) s = H / 485
    ox = (W - 600 * s) / 2; oy = mb + (H - 485 * s) / 2
    x = ox + (1050 + 495 * c + 247) / 15 * s; y = oy + (100 + 615 * r + 307) / 15 * s
    printf "%d %d", x * S, y * S }')
  # shellcheck disable=SC2086
  xdotool mousemove --window "$WIN" $xy click "$1"
  sleep 0.25
}

# The menu bar by keyboard, as a player without a mouse would: open 対局, then keys.
menu_keys() {
  xdotool mousemove --window "$WIN" $((20 * SCALE)) $((MENU * SCALE / 2)) click 1
  sleep 0.3
  # shellcheck disable=SC2068
  xdotool key --delay 120 $@
  sleep 0.3
}

# Settings with the clocks off: a ticking clock would change the screen between grabs,
# and with the clocks off nothing else repaints the window.
write_settings() {
  printf '背景画=緑\r\n移動指導=ON\r\n経過時間=OFF\r\nBGM=OFF\r\nｱｲｺﾝ=ON\r\n' | iconv -f UTF-8 -t CP932 >"$1/ミラド将棋.ini"
}

# The game just started as process $1, on screen: sets GAME_PID and WIN (empty when no
# window came).
wait_window() {
  GAME_PID=$1
  pids+=($GAME_PID)
  WIN=""
  for _ in $(seq 100); do
    WIN=$(xdotool search --onlyvisible --name 'ミラド' 2>/dev/null | head -1)
    [ -n "$WIN" ] && break
    sleep 0.1
  done
}

start_game() {
  mkdir -p "run$SCALE" && write_settings "run$SCALE"
  (cd "run$SCALE" && QT_SCALE_FACTOR=$SCALE exec "$GAME" >../game$SCALE.log 2>&1) &
  wait_window $!
  [ -n "$WIN" ] || { fail "ratio $SCALE: no window"; return 1; }
  sleep 0.5
}

run_ratio() {
  SCALE=$1
  start_game || return
  local w h
  read -r w h < <(size_of)
  MENU=$((h / SCALE - 485 - STATUS))
  [ "$w" = $((600 * SCALE)) ] || fail "ratio $SCALE: opened $w px wide, not $((600 * SCALE))"
  [ "$MENU" -gt 10 ] && [ "$MENU" -lt 60 ] || fail "ratio $SCALE: opened $w x $h, no room for the picture"
  check "r${SCALE}-start"

  # The design-size picture as the offscreen render draws it.
  mkdir -p "off$SCALE" && write_settings "off$SCALE"
  (cd "off$SCALE" && QT_QPA_PLATFORM=offscreen "$GAME" --screenshot ../off$SCALE.png --scale "$SCALE" >/dev/null 2>&1)
  local ph=$((485 * SCALE))
  local sp=$((STATUS * SCALE))
  convert "off$SCALE.png" -gravity south -crop "${w}x${ph}+0+${sp}" +repage "off$SCALE-board.png"
  convert "r${SCALE}-start.png" -gravity south -crop "${w}x${ph}+0+${sp}" +repage "r${SCALE}-board.png"
  local n
  n=$(differing "off$SCALE-board.png" "r${SCALE}-board.png")
  [ "$n" -le $((50 * SCALE * SCALE)) ] || fail "ratio $SCALE: the window differs from the offscreen render in $n pixels"

  menu_keys Down Right Return          # 対局 → 対局(人間) → スタート
  for _ in $(seq 30); do [ "$(others)" -ge 1 ] && break; sleep 0.2; done
  [ "$(others)" -ge 1 ] || fail "ratio $SCALE: no box after スタート"
  answer_boxes                         # "先手の番です"
  check "r${SCALE}-box-answered"
  cell 1 3 7; cell 1 3 6; check "r${SCALE}-move1"
  cell 1 3 3; cell 1 3 4; check "r${SCALE}-move2"
  cell 1 7 7; cell 1 7 6; check "r${SCALE}-move3"
  menu_keys Right Right Return         # 戻
  answer_boxes
  check "r${SCALE}-replay"
  menu_keys Right Right Right Return   # 進
  answer_boxes
  check "r${SCALE}-after"
  menu_keys Right Right Right Right Right Right Down Return   # 棋譜 → 読込
  sleep 0.5
  menu_keys Escape                     # opening a menu closes the panel
  check "r${SCALE}-panel-closed"

  # Half and double size: the same picture scaled, and moves still land on their cells.
  read -r w h < <(size_of)
  convert "r${SCALE}-panel-closed.png" -gravity south -crop "${w}x${ph}+0+${sp}" +repage design.png
  local f
  for f in 0.5 2; do
    local nw nh
    nw=$(awk -v w="$w" -v f="$f" 'BEGIN{printf "%d", w * f}')
    nh=$(awk -v h="$ph" -v f="$f" -v m="$MENU" -v st="$STATUS" -v S="$SCALE" 'BEGIN{printf "%d", h * f + (m + st) * S}')
    resize_to "$nw" "$nh"
    check "r${SCALE}-size$f"
    local got_w got_h sh
    read -r got_w got_h < <(size_of)
    sh=$((got_h - (MENU + STATUS) * SCALE))
    convert "r${SCALE}-size$f.png" -gravity south -crop "${got_w}x${sh}+0+${sp}" +repage -resize "${w}x${ph}!" scaled.png
    local e
    e=$(mae design.png scaled.png)
    awk -v e="$e" 'BEGIN{exit !(e < 0.08)}' ||
      fail "ratio $SCALE size $f: the picture is not the design picture scaled (mean error $e)"
  done
  # Gote's turn after 進: the first press announces it, then gote's pawn moves on.
  cell 1 3 4
  answer_boxes
  cell 1 3 4; cell 1 3 5; check "r${SCALE}-move-at-double"
  [ "$(differing "r${SCALE}-size2.png" "r${SCALE}-move-at-double.png")" -gt 1000 ] ||
    fail "ratio $SCALE: a click at double size moved nothing"
  resize_to "$w" "$h"
  resize_to 1 1
  check "r${SCALE}-smallest"

  [ "$(others)" = 0 ] || fail "ratio $SCALE: a box or menu is still open"
  if [ "$SCALE" = 1 ]; then
    close_during_box
  else
    escape_after_menu
  fi
  for _ in $(seq 50); do kill -0 "$GAME_PID" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$GAME_PID" 2>/dev/null && { fail "ratio $SCALE: the game did not quit"; kill "$GAME_PID"; }
  wait "$GAME_PID" 2>/dev/null
}

# A menu opened and closed with Esc leaves the menu bar with the focus: Esc still quits.
escape_after_menu() {
  menu_keys Escape
  xdotool key Escape
}

# The title bar's close button while a box is up: the box takes its safe answer and the
# game quits at once, nobody answering.
close_during_box() {
  menu_keys Down Right Return          # a new game: boxes follow
  for _ in $(seq 30); do [ "$(others)" -ge 1 ] && break; sleep 0.2; done
  local x y w h top
  read -r x y < <(xwininfo -id "$WIN" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} END{print x, y}')
  read -r w h < <(size_of)
  top=$(xprop -id "$(xdotool search --onlyvisible --pid "$GAME_PID" | head -1)" _NET_FRAME_EXTENTS 2>/dev/null |
        awk -F', ' '{print $3}')
  top=${top:-20}
  xdotool mousemove $((x + w - 12)) $((y - top / 2)) click 1
  for _ in $(seq 10); do kill -0 "$GAME_PID" 2>/dev/null || return 0; sleep 0.1; done
  fail "the close button did nothing while a box was up"
  answer_boxes
}

# ﾍﾙﾌﾟ → 解析 on a loaded record: the graph appears under the board, and a click by a
# turn's point steps there as a row of the move list would, the best turn from there
# marked: the board must show what the offscreen render shows after 進 three times.
analysis_click() {
  local dir="kaiseki$SCALE"
  mkdir -p "$dir" && write_settings "$dir"
  head -n 21 "$RECORD" >"$dir/rec.棋譜"   # the header and six turns
  printf 'menu KIFU_READ\nfile rec.棋譜\nmenu KAISEKI\n' >"$dir/live.events"
  printf 'menu KIFU_READ\nfile rec.棋譜\nmenu AFTER\nmenu AFTER\nmenu AFTER\nmenu KAISEKI\n' >"$dir/ref.events"
  (cd "$dir" && QT_SCALE_FACTOR=$SCALE exec "$GAME" --events live.events >../game-kaiseki$SCALE.log 2>&1) &
  wait_window $!
  [ -n "$WIN" ] || { fail "ratio $SCALE: no window for the analysis"; return; }
  sleep 0.5
  answer_boxes
  sleep 3                              # six turns of analysis beside the window
  local w h
  read -r w h < <(size_of)
  # The graph is as tall as a fifth of the window's width; turn 3 of 6 lies a little
  # right of the middle (the percentages take the left edge).
  local gh=$((w / SCALE / 5)) x y
  x=$((w * 53 / 100))
  y=$(((h / SCALE - STATUS - gh + gh / 2) * SCALE))
  xdotool mousemove --window "$WIN" "$x" "$y" click 1
  sleep 0.5
  check "r${SCALE}-graph-click"
  (cd "$dir" && QT_QPA_PLATFORM=offscreen "$GAME" --screenshot ../kaiseki-ref$SCALE.png --scale "$SCALE" \
     --events ref.events >/dev/null 2>&1)
  # The picture above the graph and the status line (the render's menu bar is not scaled).
  local ph=$((485 * SCALE)) below=$(((STATUS + gh) * SCALE))
  convert "kaiseki-ref$SCALE.png" -gravity south -crop "${w}x${ph}+0+${below}" +repage "kaiseki-ref$SCALE-board.png"
  convert "r${SCALE}-graph-click.png" -gravity south -crop "${w}x${ph}+0+${below}" +repage "r${SCALE}-graph-board.png"
  local n
  n=$(differing "kaiseki-ref$SCALE-board.png" "r${SCALE}-graph-board.png")
  if [ "$n" -le $((50 * SCALE * SCALE)) ]; then
    echo "ok: ratio $SCALE graph click"
  else
    fail "ratio $SCALE: after a click on the graph the board differs from 進 x3 in $n pixels (see $WORK/r${SCALE}-graph-board.png)"
  fi
  xdotool key Escape
  for _ in $(seq 50); do kill -0 "$GAME_PID" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$GAME_PID" 2>/dev/null && { fail "ratio $SCALE: the game did not quit"; kill "$GAME_PID"; }
  wait "$GAME_PID" 2>/dev/null
}

# The game's quit by Esc, and the wait for it to go.
quit_game() {
  xdotool key Escape
  for _ in $(seq 50); do kill -0 "$GAME_PID" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$GAME_PID" 2>/dev/null && { fail "ratio $SCALE: the game did not quit"; kill "$GAME_PID"; }
  wait "$GAME_PID" 2>/dev/null
}

# Waits until the window differs from picture $1 (a command has drawn), then until it
# is still, and leaves it in $2.
settle_changed() {
  for _ in $(seq 25); do
    grab "$2"
    [ "$(differing "$1" "$2")" != 0 ] && break
    sleep 0.2
  done
  settle "$2"
}

# The middle of the N-th title of the menu bar (1 = 対局), found by the gaps between the
# titles' letters, in window pixels. The keyboard cannot pass 戻: a title without a menu
# ends the walk along the bar.
menu_title_x() {
  local w h
  read -r w h < <(size_of)
  grab menubar.png
  convert menubar.png -crop "${w}x$(((MENU - 4) * SCALE))+0+$((2 * SCALE))" +repage -colorspace gray \
    -threshold 50% -negate -scale "${w}x1!" txt:- |
    awk -F'[,:() ]+' -v n="$1" -v gap=$((6 * SCALE)) 'NR > 1 && $4 > 0 {
        if (!run || $1 - last > gap) { if (run == n) exit; s = $1; run++ }
        last = $1 }
      END { if (run == n) printf "%d", (s + last) / 2 }'
}

# A click on the N-th title of the menu bar, then the keys in the menu it opens.
menu_title() {
  local x
  x=$(menu_title_x "$1")
  [ -n "$x" ] || { fail "ratio $SCALE: no title $1 in the menu bar (see $WORK/menubar.png)"; return 1; }
  shift
  xdotool mousemove --window "$WIN" "$x" $((MENU * SCALE / 2)) click 1
  sleep 0.3
  [ $# = 0 ] || xdotool key --delay 80 "$@"
}

# The middle of the N-th row of the move list beside the picture, in window pixels: rows
# are runs of lines with letters (their height grows with the picture).
list_row_y() {
  local x0=$((610 * SCALE)) top=$((MENU * SCALE)) hh=$((150 * SCALE))
  convert "$1" -crop "$((200 * SCALE))x${hh}+${x0}+${top}" +repage -colorspace gray -threshold 50% -negate \
    -scale "1x${hh}!" txt:- |
    awk -F'[,:() ]+' -v n="$2" -v top="$top" 'NR > 1 { ink = $4 > 0
        if (ink && !prev) { run++; if (run == n) s = $2 }
        if (!ink && prev && run == n) { printf "%d", top + (s + $2) / 2; exit }
        prev = ink }'
}

# The nine by nine squares of the design picture at the left of a grab or render (the
# labels beside them are no marks: a step back takes its move's label away).
board_of() {
  convert "$1" -gravity southwest -crop "$((600 * SCALE))x$((485 * SCALE))+0+$((STATUS * SCALE))" +repage \
    -gravity northwest -crop "$((297 * SCALE))x$((369 * SCALE))+$((103 * SCALE))+$((47 * SCALE))" +repage "$2"
}

# The offscreen render of the loaded record after N × 進, in DIR with its settings.
replay_render() {
  { printf 'menu KIFU_READ\nfile rec.棋譜\n'; for ((i = 0; i < $2; i++)); do echo 'menu AFTER'; done; } >"$1/ref$2.events"
  (cd "$1" && QT_QPA_PLATFORM=offscreen "$GAME" --screenshot "../$3" --scale "$SCALE" --events "ref$2.events" >/dev/null 2>&1)
}

# One step through the record, just made: the board must show turn N with its marks as
# the render does after N × 進 from the load.
replay_step() {
  local n=$1 what=$2 name="rp${SCALE}-$1"
  settle_changed "$PREV" "$name.png"
  PREV="$name.png"
  board_of "$name.png" "$name-board.png"
  board_of "$name-ref.png" "$name-ref-board.png"
  local d
  d=$(differing "$name-board.png" "$name-ref-board.png")
  if [ "$d" -le $((50 * SCALE * SCALE)) ]; then
    echo "ok: ratio $SCALE replay marks after $what"
  else
    fail "ratio $SCALE: after $what the board differs from turn $n with its marks in $d pixels (see $WORK/$name-board.png, $name-ref-board.png)"
  fi
}

# A record loaded with 直前の手 on, stepped by 進, a row of the move list and 戻: each
# time the marks of the turn that led to the position shown are on the board. The
# renders are seen to hold marks: without 直前の手 the same position looks otherwise.
replay_marks() {
  local dir="replay$SCALE"
  mkdir -p "$dir" "$dir-nomarks"
  printf '背景画=緑\r\n経過時間=OFF\r\nBGM=OFF\r\nｱｲｺﾝ=OFF\r\n直前の手=ON\r\n棋譜一覧=ON\r\nCOM対局ﾚﾍﾞﾙ=LEVEL1\r\n' |
    iconv -f UTF-8 -t CP932 >"$dir/ミラド将棋.ini"
  printf '背景画=緑\r\n経過時間=OFF\r\nBGM=OFF\r\nｱｲｺﾝ=OFF\r\n直前の手=OFF\r\n棋譜一覧=ON\r\n' |
    iconv -f UTF-8 -t CP932 >"$dir-nomarks/ミラド将棋.ini"
  head -n 21 "$RECORD" >"$dir/rec.棋譜"   # the header and six turns
  cp "$dir/rec.棋譜" "$dir-nomarks/"
  # The renders to compare with are drawn meanwhile.
  local renders=() n
  for n in 1 5 4; do
    replay_render "$dir" "$n" "rp${SCALE}-$n-ref.png" &
    renders+=($!)
  done
  replay_render "$dir-nomarks" 4 "rp${SCALE}-nomarks.png" &
  renders+=($!)
  printf 'menu KIFU_READ\nfile rec.棋譜\n' >"$dir/live.events"
  live_window "$dir" "the replay" || return 1
  wait "${renders[@]}"
  PREV="rp${SCALE}-loaded.png"
  settle "$PREV"
  local y5
  y5=$(list_row_y "$PREV" 5)
  [ -n "$y5" ] || fail "ratio $SCALE: no fifth row in the move list (see $WORK/$PREV)"
  menu_title 4                         # 進
  replay_step 1 "進"
  xdotool mousemove --window "$WIN" $((700 * SCALE)) "${y5:-0}" click 1
  sleep 0.25
  replay_step 5 "a click on the fifth row"
  menu_title 3                         # 戻
  replay_step 4 "戻"
  board_of "rp${SCALE}-nomarks.png" "rp${SCALE}-nomarks-board.png"
  [ "$(differing "rp${SCALE}-4-ref-board.png" "rp${SCALE}-nomarks-board.png")" -gt $((200 * SCALE * SCALE)) ] ||
    fail "ratio $SCALE: the render of turn 4 shows no marks with 直前の手 on"
  return 0
}

# The game started in folder $1 on its script live.events, for $2, its boxes answered and
# the menu bar's height known; false when no window came.
live_window() {
  (cd "$1" && QT_SCALE_FACTOR=$SCALE exec "$GAME" --events live.events >"../game-$1.log" 2>&1) &
  wait_window $!
  [ -n "$WIN" ] || { fail "ratio $SCALE: no window for $2"; return 1; }
  sleep 0.5
  answer_boxes
  local w h
  read -r w h < <(size_of)
  MENU=$((h / SCALE - 485 - STATUS))
}

# A game between two people played to a mate, then 戻 from the menu bar at once: the game
# is looked back at, the board showing what the offscreen render shows after the same
# game and 戻 (the turn the mate ended taken back), not the mate.
review_after_end() {
  local dir="review$SCALE" m
  mkdir -p "$dir" && write_settings "$dir"
  {
    echo "menu START"
    for m in "1 5 7 5 6" "1 4 1 3 2" "1 8 8 5 8" "1 6 1 7 2" "1 5 6 5 5" "1 9 3 9 4" "1 5 5 5 4" \
             "1 1 3 1 4" "1 1 7 1 6" "1 9 4 9 5" "2 5 4 5 3" "1 1 4 1 5" "1 5 3 5 2"; do
      set -- $m
      echo "cell $1 $2 $3"
      echo "cell $1 $4 $5"
    done
  } >"$dir/live.events"
  { cat "$dir/live.events"; echo "menu REPLAY"; } >"$dir/ref.events"
  (cd "$dir" && QT_QPA_PLATFORM=offscreen "$GAME" --screenshot ../review-ref$SCALE.png --scale "$SCALE" \
     --events ref.events >/dev/null 2>&1) &
  local render=$!
  (cd "$dir" && QT_QPA_PLATFORM=offscreen "$GAME" --screenshot ../review-end$SCALE.png --scale "$SCALE" \
     --events live.events >/dev/null 2>&1)
  live_window "$dir" "the review" || return 1
  wait "$render"
  settle "rv${SCALE}-end.png"
  menu_title 3                         # 戻
  answer_boxes
  settle "rv${SCALE}-back.png"
  board_of "rv${SCALE}-back.png" "rv${SCALE}-back-board.png"
  board_of "review-ref$SCALE.png" "rv${SCALE}-ref-board.png"
  board_of "review-end$SCALE.png" "rv${SCALE}-end-board.png"
  local d
  d=$(differing "rv${SCALE}-back-board.png" "rv${SCALE}-ref-board.png")
  if [ "$d" -le $((50 * SCALE * SCALE)) ] &&
     [ "$(differing "rv${SCALE}-ref-board.png" "rv${SCALE}-end-board.png")" -gt $((50 * SCALE * SCALE)) ]; then
    echo "ok: ratio $SCALE 戻 right after the end of a game"
  else
    fail "ratio $SCALE: 戻 after the end differs from the render in $d pixels (see $WORK/rv${SCALE}-back-board.png)"
  fi
  quit_game
}

# Seconds from time $1 until the window last changed, once the squares have left those
# of picture $2 (the computer's turn has begun) and the window has stood still for 1.5 s:
# longer than any pause of its display, and the search at LEVEL1 takes little.
last_change() {
  local t0=$1 last="" now
  board_of "$2" still.start.png
  grab still.prev.png
  while :; do
    grab still.png
    now=$(date +%s.%N)
    if [ "$(differing still.prev.png still.png)" != 0 ]; then
      mv still.png still.prev.png
      if [ -n "$last" ]; then
        last=$now
      else
        board_of still.prev.png still.board.png
        [ "$(differing still.start.png still.board.png)" = 0 ] || last=$now
      fi
    fi
    [ -n "$last" ] && awk -v a="$now" -v b="$last" 'BEGIN { exit !(a - b > 1.5) }' && break
    awk -v a="$now" -v b="$t0" 'BEGIN { exit !(a - b > 30) }' && { echo 99; return; }
  done
  awk -v a="$last" -v b="$t0" 'BEGIN { printf "%.2f", a - b }'
}

# The computer's three moves after 後手 at LEVEL1, at each display speed chosen in
# ｵﾌﾟｼｮﾝ → COMの手の表示: 省略 has them on the board well before 速い, 速い well before
# 標準 (their waits are about 1 s and 4 s), and all leave the picture of 省略, which
# equals a full repaint. The window of replay_marks goes on.
com_speeds() {
  local speed go keys ini="replay$SCALE/ミラド将棋.ini"
  local -A took
  for speed in SHOURYAKU HAYAI HYOUJUN; do
    case $speed in
      SHOURYAKU) go=省略 keys="Down Down Return" ;;
      HAYAI) go=速い keys="Down Return" ;;
      HYOUJUN) go=標準 keys="Return" ;;
    esac
    grab "sp${SCALE}-before.png"
    menu_title 2 Down Return           # 局面 → 最初
    settle_changed "sp${SCALE}-before.png" "sp${SCALE}-new.png"
    # shellcheck disable=SC2086
    menu_title 8 Up Up Right $keys     # COMの手の表示 is next to last, before COMの考慮時間
    for _ in $(seq 10); do
      iconv -f CP932 -t UTF-8 "$ini" | tr -d '\r' | grep -qx "COMの手の表示=$go" && break
      sleep 0.1
    done
    iconv -f CP932 -t UTF-8 "$ini" | tr -d '\r' | grep -qx "COMの手の表示=$go" ||
      fail "ratio $SCALE: the menu did not choose $go (the settings say otherwise)"
    local t0
    t0=$(date +%s.%N)
    menu_title 1 Down Down Right Down Return   # 対局 → 対局(COM) → 後手
    took[$speed]=$(last_change "$t0" "sp${SCALE}-new.png")
    # The slower speeds end in the same state: equal to 省略's picture is equal to its repaint.
    if [ "$speed" = SHOURYAKU ]; then check "sp${SCALE}-$speed"; else settle "sp${SCALE}-$speed.png"; fi
  done
  echo "ratio $SCALE: the computer's turn took ${took[SHOURYAKU]} s (省略), ${took[HAYAI]} s (速い), ${took[HYOUJUN]} s (標準)"
  awk -v s="${took[SHOURYAKU]}" -v f="${took[HAYAI]}" -v h="${took[HYOUJUN]}" \
    'BEGIN { exit !(f - s > 0.4 && h - f > 1.5) }' ||
    fail "ratio $SCALE: the display speeds are not 省略 < 速い < 標準 by their waits"
  # The search draws no lots: the same three moves, marks and all, whatever the speed.
  for speed in HAYAI HYOUJUN; do
    [ "$(differing "sp${SCALE}-SHOURYAKU.png" "sp${SCALE}-$speed.png")" = 0 ] ||
      fail "ratio $SCALE: 省略 ends in another picture than $speed (see $WORK/sp${SCALE}-$speed.png)"
  done
}

# One window per ratio for both: the replay, then the computer's display speeds.
replay_then_speeds() {
  replay_marks || return
  com_speeds
  quit_game
}

RECORD="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../bench" && pwd)/record60.棋譜"

# A click on board cell (c, r) of the design-size picture at ratio 1, the move list beside it.
design_cell() {
  xdotool mousemove --window "$WIN" $(((1050 + 495 * $1 + 247) / 15)) $((MENU + (100 + 615 * $2 + 307) / 15)) click 1
  sleep 0.25
}

# Pixels of a region of the picture (design pixels at ratio 1) that differ between two grabs.
region_differs() {
  convert "$1" -crop "$3" +repage a.crop.png
  convert "$2" -crop "$3" +repage b.crop.png
  differing a.crop.png b.crop.png
}

# One turn with the clocks shown: the holder's clock runs through its moves, the other's
# stands, and after the turn the other way round. Then 局面 → 最初 leaves the move list
# with no rows.
clocks_and_list() {
  SCALE=1
  mkdir -p clocks
  printf '背景画=緑\r\n経過時間=ON\r\nBGM=OFF\r\nｱｲｺﾝ=OFF\r\n棋譜一覧=ON\r\n' | iconv -f UTF-8 -t CP932 >clocks/ミラド将棋.ini
  (cd clocks && exec "$GAME" >../clocks.log 2>&1) &
  wait_window $!
  [ -n "$WIN" ] || { fail "clocks: no window"; return; }
  sleep 0.5
  local w h
  read -r w h < <(size_of)
  MENU=$((h - 485 - STATUS))
  local sita="90x24+497+$((MENU + 380))" ue="90x24+12+$((MENU + 380))" list="240x40+610+$((MENU + 2))"
  menu_keys Down Right Return          # 対局 → 対局(人間) → スタート
  answer_boxes
  design_cell 3 7; design_cell 3 6   # the lower side's first move
  grab clk1.png; sleep 2.2; grab clk2.png
  [ "$(region_differs clk1.png clk2.png "$sita")" -gt 0 ] || fail "clocks: the holder's clock stood in its turn"
  [ "$(region_differs clk1.png clk2.png "$ue")" = 0 ] || fail "clocks: the other clock ran in the holder's turn"
  design_cell 3 3; design_cell 3 4   # its second move, an upper piece: still its time
  grab clk3.png; sleep 2.2; grab clk4.png
  [ "$(region_differs clk3.png clk4.png "$sita")" -gt 0 ] || fail "clocks: the holder's clock stood in its second move"
  [ "$(region_differs clk3.png clk4.png "$ue")" = 0 ] || fail "clocks: the opponent's clock ran in the second move"
  design_cell 7 7; design_cell 7 6   # the turn passes
  grab clk5.png; sleep 2.2; grab clk6.png
  [ "$(region_differs clk5.png clk6.png "$sita")" = 0 ] || fail "clocks: the lower clock ran after its turn"
  [ "$(region_differs clk5.png clk6.png "$ue")" -gt 0 ] || fail "clocks: the upper clock stood in its turn"
  [ "$(region_differs clk6.png clk1.png "$list")" -gt 0 ] || fail "list: the finished turn has no row"
  menu_keys Right Return               # 局面 → 最初
  answer_boxes
  settle clk7.png
  [ "$(region_differs clk6.png clk7.png "$ue")" -gt 0 ] || fail "list: 最初 did not reset the clocks"
  # An empty list is one colour, or two with its frame; a row brings the letters' many.
  local colours
  colours=$(convert clk7.png -crop "$list" +repage -format '%k' info:)
  [ "$colours" -le 2 ] || fail "list: rows left after 最初 (see $WORK/clk7.png)"
  echo "ok: clocks over a turn, and the list after 最初"
  xdotool key Escape
  for _ in $(seq 50); do kill -0 "$GAME_PID" 2>/dev/null || break; sleep 0.1; done
  wait "$GAME_PID" 2>/dev/null
}

if [ "$PART" != 2 ]; then
  run_ratio 1
  analysis_click
  review_after_end
  replay_then_speeds
  clocks_and_list
fi
if [ "$PART" != 1 ]; then
  run_ratio 2
  analysis_click
  review_after_end
  replay_then_speeds
fi
[ "$failures" = 0 ] && echo "all real-window checks passed" || echo "$failures failures"
exit $((failures > 0))
