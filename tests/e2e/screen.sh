# Sourced by the end-to-end scripts (which define `fail`): clicks at world points of the scene and
# waits for what the screen shows, on DISPLAY. The eye sees z = 0 from 100 units with a 45 degree
# vertical view; "r4" is 4 units in from the right (or top) edge at that depth, "l4" left (bottom).
pixel_of() {  # x y z: the pixel of that world point
  python3 -c "import sys
x, y, z, w, h = sys.argv[1:]; w, h = int(w), int(h); hh = (100 - float(z)) * 0.4142; hw = hh * w / h
at = lambda v, e: e - float(v[1:]) if v[0] == 'r' else -e + float(v[1:]) if v[0] == 'l' else float(v)
print(int(w / 2 * (1 + at(x, hw) / hw)), int(h / 2 * (1 - at(y, hh) / hh)))" "$@" $(xdotool getdisplaygeometry)
}
click_world() { read -r px py < <(pixel_of "$@"); xdotool mousemove "$px" "$py" sleep 0.2 click 1; }
near() { local i; for i in 1 3 5; do (( (16#${1:i:2} - 16#${2:i:2}) ** 2 <= 144 )) || return 1; done; }
# Waits (90 s at most) until the pixel of the world point (x, y, z) shows the colour #RRGGBB
# (each channel within 12), then saves the screen as $shots/<name>.png if it is named.
wait_for() {
  local px py got end=$((SECONDS + 90))
  read -r px py < <(pixel_of "$1" "$2" "$3")
  until got=$(import -window root -crop "1x1+$px+$py" -depth 8 txt:- 2>/dev/null | grep -o '#[0-9A-F]\{6\}') &&
      near "$got" "$4"; do
    [ $SECONDS -lt $end ] || fail "waited for $4 at ($1, $2, $3), the screen shows ${got:-nothing}"
    sleep 0.2
  done
  [ -z "${5:-}" ] || import -window root "$shots/$5.png"
}
