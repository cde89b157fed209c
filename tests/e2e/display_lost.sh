#!/usr/bin/env bash
# The progress when the display goes away: the game on an Xvfb of its own, 48 pieces chosen (saved
# only at quit), that Xvfb killed: the settings hold the choice. Then ./run without a display,
# started as from a terminal (a process group of its own, SIGINT not ignored), its game busy
# (stopped) when Ctrl+C (SIGINT to that group) comes: the game saves, then the display ends.
set -u
build="$1" root=$(cd "$(dirname "$0")/../.." && pwd)
fail() { echo "FAIL: $*"; exit 1; }
source "$(dirname "$0")/screen.sh"
scratch=$(mktemp -d)
trap 'kill $xvfb $game ${run:-} 2>/dev/null; wait; rm -rf "$scratch" ${shots:+"$shots"}; rmdir "$root/screenshots" 2>/dev/null' EXIT
export ALSOFT_DRIVERS=null
# The piece-count window, the 48-piece card, the help it opens.
choose_48() { wait_for -10.3 -10 68.05 '#FDECC1' && click_world 5.6 -8.2 68.05 && wait_for -10 0 75.05 '#FFFAF0'; }
pieces() { od -An -tu4 -j36 -N4 "$scratch/$1/com.lanternworks.Shorebound/com.lanternworks.Shorebound.cfg" | tr -d ' '; }
exec {numbers}< <(exec Xvfb -displayfd 1 -screen 0 960x600x24 -nolisten tcp -noreset 2>/dev/null); xvfb=$!
read -r -t 20 number <&"$numbers" || fail "Xvfb did not start"
XDG_DATA_HOME=$scratch/lost DISPLAY=:$number "$build/shorebound" >/dev/null 2>&1 & game=$!
DISPLAY=:$number choose_48
kill "$xvfb"; wait "$game"
[ "$(pieces lost)" = 2 ] || fail "display killed: piece mode '$(pieces lost)' saved"
[ "$build" -ef "$root/build" ] || { echo "display_lost: ./run skipped (it builds $root/build)"; exit 0; }
XDG_DATA_HOME=$scratch/run env -u DISPLAY python3 -c 'import os, signal, sys
signal.signal(signal.SIGINT, signal.SIG_DFL); os.setsid(); os.execv(sys.argv[1], sys.argv[1:])' \
  "$root/run" >"$scratch/run.out" 2>&1 & run=$!
for _ in $(seq 600); do display=$(sed -n 's/.*virtual one (\(:[0-9]*\).*/\1/p' "$scratch/run.out"); [ -n "$display" ] && break; sleep 0.1; done
shots=$(sed -n 's/^Screenshots every 5 seconds go to \(.*\)\. Press.*/\1/p' "$scratch/run.out")
DISPLAY=$display choose_48
game=$(pgrep -P "$run" -x shorebound) || fail "./run started no game"
kill -STOP "$game"; kill -INT -- -"$run"; sleep 1; kill -CONT "$game"  # Ctrl+C in a long frame
wait "$run"
grep -q "Lost the connection" "$scratch/run.out" && fail "./run ended the display under the game"
[ "$(pieces run)" = 2 ] || fail "./run stopped: piece mode '$(pieces run)' saved"
DISPLAY=$display xdotool getdisplaygeometry >/dev/null 2>&1 && fail "./run left its display running"
echo "display_lost: all checks passed"
