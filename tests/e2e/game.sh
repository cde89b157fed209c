#!/usr/bin/env bash
# Plays the real game under the test display with the real pointer (xdotool): loader,
# piece-count window, help, board, main menu (music off), exit window, OK. Checks the
# screenshots for what must be there, the exit status and the saved settings file.
set -u
build="$1"
game="$build/shorebound"
shots="$build/e2e-shots"
fail() { echo "FAIL: $*"; [ -n "${pid:-}" ] && kill -9 "$pid" 2>/dev/null; exit 1; }
[ -n "${DISPLAY:-}" ] || fail "needs a display (run under xvfb-run)"
rm -rf "$shots"; mkdir -p "$shots"
cache=$(mktemp -d)
export XDG_DATA_HOME=$cache ALSOFT_DRIVERS=null

read -r screen_w screen_h < <(xdotool getdisplaygeometry)

# Window pixel of a world point (x, y, z), as the camera sees it: z is the depth in the scene,
# the eye looks at the plane z = 0 from 100 units away with a 45 degree vertical view.
pixel() {
  python3 -c "
import sys
x, y, z = map(float, sys.argv[1:4]); w, h = $screen_w, $screen_h
d = 100 - z; hh = d * 0.4142; hw = hh * w / h
print(int(w / 2 * (1 + x / hw)), int(h / 2 * (1 - y / hh)))" "$1" "$2" "$3"
}
click_world() {  # x y z
  read -r px py < <(pixel "$1" "$2" "$3")
  xdotool mousemove "$px" "$py"; sleep 0.3; xdotool click 1; sleep 0.2
}
shot() { import -window root "$shots/$1.png" 2>/dev/null || fail "screenshot $1"; }
# Mean brightness (0..1) and standard deviation of a region WxH+X+Y of a screenshot.
brightness() { convert "$shots/$1.png" -crop "$2" -colorspace Gray -format "%[fx:mean] %[fx:standard_deviation]" info:; }
# Red, green, blue (0..255) of one pixel.
rgb() { convert "$shots/$1.png" -format "%[fx:int(255*p{$2,$3}.r)] %[fx:int(255*p{$2,$3}.g)] %[fx:int(255*p{$2,$3}.b)]" info:; }

"$game" >"$shots/stdout.txt" 2>"$shots/stderr.txt" &
pid=$!
sleep 2.5
kill -0 "$pid" 2>/dev/null || fail "the game did not start"
shot 1-loader
read -r mean spread < <(brightness 1-loader "${screen_w}x${screen_h}+0+0")
python3 -c "import sys; sys.exit(0 if $mean > 0.15 and $spread > 0.05 else 1)" || fail "loader screenshot is black or flat ($mean, $spread)"

# The loader stands on black; the game screen's background reaches the left edge. Wait for it
# (at least 6 s after start), then for the piece-count window's fade-in.
for _ in $(seq 60); do
  shot 2-pieces-window
  read -r r g b < <(rgb 2-pieces-window 5 $((screen_h / 2)))
  [ $((r + g + b)) -gt 60 ] && break
  sleep 0.5
done
[ $((r + g + b)) -gt 60 ] || fail "the game screen did not appear"
sleep 1.3
shot 2-pieces-window
click_world -8 -2 68.05  # the 20-piece card
sleep 3.2                 # the help window opens a second later and fades in
shot 3-help
click_world 6.711 -4.145 75.05  # close the help
sleep 1.5
shot 4-board
# The board stands in the middle: the wooden frame along its top and left edges (where no
# scattered piece can lie), not the sky and sea behind it.
for point in "-8 7.4" "-10.4 6.0" "-6 7.4"; do
  read -r fx fy < <(pixel $point 62.9)
  read -r r g b < <(rgb 4-board "$fx" "$fy")
  [ "$r" -gt $((b + 25)) ] || fail "no board frame at ($fx,$fy): rgb $r $g $b"
done
read -r board_left _ < <(brightness 4-board "60x60+20+$((screen_h / 2))")

# Main menu: switch the music off, close the menu.
w100=$(python3 -c "print($screen_w / $screen_h * 41.42)")
click_world "$(python3 -c "print(7.5 - $w100)")" "$(python3 -c "print(41.42 - 5.8)")" 0.6
sleep 1.3
shot 5-main-menu
click_world -6.648 1.704 68.05
sleep 0.5
click_world 8.091 4.205 68.05
sleep 1.3

# The exit window in front of the board veils what lies behind it.
w997=$(python3 -c "print($screen_w / $screen_h * 41.30)")
click_world "$(python3 -c "print($w997 - 4)")" "$(python3 -c "print(41.30 - 4)")" 0.3
sleep 1.3
shot 6-exit-window
read -r veiled_left _ < <(brightness 6-exit-window "60x60+20+$((screen_h / 2))")
python3 -c "import sys; sys.exit(0 if $veiled_left < $board_left * 0.85 else 1)" || fail "no veil in front of the board ($veiled_left vs $board_left)"

click_world 3.232 -1.443 68.05  # OK
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "the exit window's OK did not end the game"
wait "$pid"; status=$?
[ "$status" -eq 1 ] || fail "exit status $status after OK, expected 1"

cfg="$cache/com.lanternworks.Shorebound/com.lanternworks.Shorebound.cfg"
[ -f "$cfg" ] || fail "no settings file"
size=$(stat -c %s "$cfg")
[ "$size" -eq 80 ] || fail "settings file of $size bytes"
read -r version sound first music mode < <(python3 -c "
import struct
b = open('$cfg', 'rb').read()
print(struct.unpack('<I', b[0:4])[0], b[4+29], b[4+30], b[4+31], struct.unpack('<I', b[36:40])[0])")
[ "$version" -eq 1 ] && [ "$sound" -eq 1 ] && [ "$music" -eq 0 ] && [ "$mode" -eq 1 ] \
  || fail "settings: version $version sound $sound music $music pieces $mode"
echo "game: all checks passed; screenshots in $shots"
