#!/usr/bin/env bash
# Starts the real executable: its command line; without a display it fails with status 1 and
# the video message; on the display it runs until the quit chord, ignores a plain Q, and quits
# with status 0; --windowed opens a 1280x800 window.
set -u
build="$1"
game="$build/shorebound"
fail() { echo "FAIL: $*"; exit 1; }

# The command line answers without opening a window (no display is needed for it).
out=$(env -u DISPLAY "$game" --help); status=$?
[ "$status" -eq 0 ] || fail "--help: exit status $status"
for words in "Usage: shorebound" "--windowed" "Ctrl+Q" "XDG_DATA_HOME"; do
  case "$out" in *"$words"*) ;; *) fail "--help does not mention $words" ;; esac
done
[ "$(env -u DISPLAY "$game" --version)" = "shorebound 1.0.2" ] || fail "--version"
err=$(env -u DISPLAY "$game" --fullscreen-please 2>&1 >/dev/null); status=$?
[ "$status" -eq 2 ] || fail "unknown option: exit status $status, expected 2"
case "$err" in "shorebound: unknown option '--fullscreen-please'"*"Usage: shorebound"*) ;;
  *) fail "unknown option: stderr was '$err'" ;; esac

# No X display: SDL cannot start its video system.
err=$(env -u DISPLAY SDL_VIDEODRIVER=x11 "$game" 2>&1 >/dev/null); status=$?
[ "$status" -eq 1 ] || fail "no display: exit status $status, expected 1"
case "$err" in "Video initialization failed: "*) ;; *) fail "no display: stderr was '$err'" ;; esac

# A video driver without OpenGL: both attempts to set the mode fail.
err=$(SDL_VIDEODRIVER=dummy "$game" 2>&1 >/dev/null); status=$?
[ "$status" -eq 1 ] || fail "no GL: exit status $status, expected 1"
case "$err" in "Video mode set failed: "*) ;; *) fail "no GL: stderr was '$err'" ;; esac

[ -n "${DISPLAY:-}" ] || fail "the end-to-end tests need a display (run them under xvfb-run)"
export XDG_DATA_HOME=$(mktemp -d) ALSOFT_DRIVERS=null

# Starts the game and waits until its window is mapped.
start_game() {
  "$game" "$@" >/dev/null 2>&1 &
  pid=$!
  for _ in $(seq 100); do
    xdotool search --pid "$pid" >/dev/null 2>&1 && break
    sleep 0.1
  done
  kill -0 "$pid" 2>/dev/null || fail "the game did not start"
  sleep 0.5
}

# Waits for the game to end and checks its status.
expect_exit() {
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$pid" 2>/dev/null && { kill -9 "$pid"; fail "$1: the game did not quit"; }
  wait "$pid"; status=$?
  [ "$status" -eq 0 ] || fail "$1: exit status $status, expected 0"
}

start_game
xdotool key q
sleep 1
kill -0 "$pid" 2>/dev/null || fail "a plain Q ended the game"
xdotool key ctrl+q
expect_exit "Ctrl+Q"

start_game
xdotool keydown super q keyup q super
expect_exit "Super+Q"

start_game --windowed
geometry=$(xdotool getwindowgeometry "$(xdotool search --pid "$pid" | head -1)")
case "$geometry" in *"Geometry: 1280x800"*) ;; *) fail "--windowed: $geometry" ;; esac
xdotool key ctrl+q
expect_exit "--windowed"

echo "startup: all checks passed"
