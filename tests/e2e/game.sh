#!/usr/bin/env bash
# The real game played with the real pointer (xdotool) on the test display: the 20-piece
# card, the help's close button, the main menu's music switch, the exit window's OK. The exit
# status and the saved settings show that every click arrived.
set -u
game="$1/shorebound"
fail() { echo "FAIL: $*"; [ -n "${pid:-}" ] && kill -9 "$pid" 2>/dev/null; exit 1; }
[ -n "${DISPLAY:-}" ] || fail "needs a display (run under xvfb-run)"
cache=$(mktemp -d)
export XDG_DATA_HOME=$cache ALSOFT_DRIVERS=null
read -r screen_w screen_h < <(xdotool getdisplaygeometry)
# A click at the window pixel of the world point (x, y, z): the eye looks at the plane z = 0
# from 100 units away with a 45 degree vertical view. x and y may be counted from the right
# and top edges of the view ("r-4": 4 units left of the right edge at that depth).
click_world() {
  read -r px py < <(python3 -c "
import sys
w, h = $screen_w, $screen_h
hh = (100 - float(sys.argv[3])) * 0.4142; hw = hh * w / h
def at(v, edge): return edge - float(v[1:]) if v[0] == 'r' else -edge + float(v[1:]) if v[0] == 'l' else float(v)
x, y = at(sys.argv[1], hw), at(sys.argv[2], hh)
print(int(w / 2 * (1 + x / hw)), int(h / 2 * (1 - y / hh)))" "$1" "$2" "$3")
  xdotool mousemove "$px" "$py"; sleep 0.3; xdotool click 1; sleep "${4:-1.3}"
}
"$game" >/dev/null 2>&1 &
pid=$!
sleep 8.5                         # the loader, then the piece-count window fades in
kill -0 "$pid" 2>/dev/null || fail "the game did not keep running"
click_world -8 -2 68.05 3.2       # the 20-piece card; the help opens a second later
click_world 6.711 -4.145 75.05 1.5  # close the help
click_world l7.5 r5.8 0.6         # the main menu button
click_world -6.648 1.704 68.05 0.5  # music off
click_world 8.091 4.205 68.05     # close the menu
click_world r4 r4 0.3             # the exit button
click_world 3.232 -1.443 68.05 0  # OK
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "the exit window's OK did not end the game"
wait "$pid"; status=$?; pid=
[ "$status" -eq 1 ] || fail "exit status $status after OK, expected 1"
cfg="$cache/com.lanternworks.Shorebound/com.lanternworks.Shorebound.cfg"
read -r size sound music mode < <(python3 -c "
import struct
b = open('$cfg', 'rb').read()
print(len(b), b[4+29], b[4+31], struct.unpack('<I', b[36:40])[0])") || fail "no settings file"
[ "$size" -eq 80 ] && [ "$sound" -eq 1 ] && [ "$music" -eq 0 ] && [ "$mode" -eq 1 ] \
  || fail "settings: $size bytes, sound $sound music $music pieces $mode"
echo "game: all checks passed"
