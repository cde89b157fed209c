#!/usr/bin/env bash
# The real executable's command line, and a windowed start on the display that ends with
# status 0 on Ctrl+Q, at once or, in classroom mode, held for two seconds.
set -u
game="$1/shorebound"
fail() { echo "FAIL: $*"; [ -n "${pid:-}" ] && kill -9 "$pid" 2>/dev/null; exit 1; }
out=$(env -u DISPLAY XDG_DATA_HOME=/nowhere/data XDG_CONFIG_HOME=/nowhere/conf "$game" --help) || fail "--help: exit status $?"
for words in "Usage: shorebound" "--windowed" "--classroom" "Ctrl+Q held" "/nowhere/data/com.lanternworks.Shorebound/" "/nowhere/data/com.lanternworks.Shorebound/pictures/" "--scan" \
  "/etc/shorebound.conf" "/nowhere/conf/shorebound/shorebound.conf" "music-volume" "effects-volume" "scan"; do
  case "$out" in *"$words"*) ;; *) fail "--help does not mention $words" ;; esac
done
[ "$(env -u DISPLAY "$game" --version)" = "shorebound 1.0.2" ] || fail "--version"
err=$(env -u DISPLAY "$game" --fullscreen-please 2>&1 >/dev/null); status=$?
[ "$status" -eq 2 ] || fail "unknown option: exit status $status, expected 2"
case "$err" in "shorebound: unknown option '--fullscreen-please'"*) ;; *) fail "unknown option: '$err'" ;; esac
err=$(env -u DISPLAY SDL_VIDEODRIVER=x11 "$game" 2>&1 >/dev/null); status=$?
[ "$status" -eq 1 ] || fail "no display: exit status $status, expected 1"
export XDG_DATA_HOME=$(mktemp -d) ALSOFT_DRIVERS=null; export XDG_CONFIG_HOME=$XDG_DATA_HOME
trap 'rm -rf "$XDG_DATA_HOME"' EXIT
# The parent's pictures need no display: 1 when a file is refused (the others are added), 2 for a
# usage error; a file given alone is added and becomes the picture the game starts on.
kept="$XDG_DATA_HOME/com.lanternworks.Shorebound" && convert -size 64x48 xc:orange "$XDG_DATA_HOME/a.png" && echo words >"$XDG_DATA_HOME/b.jpg"
for run in "1 --add-picture $XDG_DATA_HOME/b.jpg $XDG_DATA_HOME/a.png" "0 --list-pictures" "2 --remove-picture" "1 --remove-picture 2" "2 --add-picture" "1 $XDG_DATA_HOME/a.png"; do
  env -u DISPLAY SDL_VIDEODRIVER=x11 "$game" ${run#* } >/dev/null 2>&1; status=$?
  [ "$status" -eq "${run%% *}" ] || fail "${run#* }: exit status $status, expected ${run%% *}"
done
grep -q "$(cut -d' ' -f1 "$kept/pictures/list")" "$kept/com.lanternworks.Shorebound.pieces" || fail "a file opened is not the picture shown first"
"$game" --remove-picture 1 >/dev/null && [ ! -s "$kept/pictures/list" ] || fail "--remove-picture 1"
[ -n "${DISPLAY:-}" ] || fail "needs a display (run under xvfb-run)"
# Starts the game in a window with these options, and waits for the window.
start() {
  "$game" --windowed "$@" >/dev/null 2>&1 &
  pid=$!
  for _ in $(seq 300); do xdotool search --pid "$pid" >/dev/null 2>&1 && break; sleep 0.1; done
  sleep 0.5
  kill -0 "$pid" 2>/dev/null || fail "the game did not start"
}
# The game ends with status 0 within thirty seconds of the keys named.
ended() {
  for _ in $(seq 300); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$pid" 2>/dev/null && fail "$1 did not end the game"
  wait "$pid"; status=$?; pid=
  [ "$status" -eq 0 ] || fail "$1: exit status $status, expected 0"
}
start
geometry=$(xdotool getwindowgeometry "$(xdotool search --pid "$pid" | head -1)")
case "$geometry" in *"Geometry: 1280x800"*) ;; *) fail "--windowed: $geometry" ;; esac
xdotool key ctrl+q
ended "Ctrl+Q"
# Classroom mode: a quick Ctrl+Q does nothing; held (the keyboard repeating it) for two seconds, it quits.
start --classroom
xdotool key ctrl+q keydown ctrl+q; sleep 1.5
kill -0 "$pid" 2>/dev/null || fail "classroom mode: left before Ctrl+Q was held for two seconds"
sleep 1; xdotool keyup ctrl+q
ended "Ctrl+Q held in classroom mode"
echo "startup: all checks passed"
