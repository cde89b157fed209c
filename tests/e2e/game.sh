#!/usr/bin/env bash
# The real game played with the real pointer (xdotool) on the test display, each click once the
# screen shows its target: the 20-piece card, the help's close button, the menu's music switch,
# the exit window's OK. The exit status and the saved settings show that every click arrived;
# the screens passed through are saved in <build>/screenshots/.
set -u
game="$1/shorebound" shots="$1/screenshots"
fail() { echo "FAIL: $*"; [ -n "${pid:-}" ] && kill -9 "$pid" 2>/dev/null; exit 1; }
[ -n "${DISPLAY:-}" ] || fail "needs a display (run under xvfb-run)"
source "$(dirname "$0")/screen.sh"
cache=$(mktemp -d)
trap 'rm -rf "$cache"' EXIT
mkdir -p "$shots"
export XDG_DATA_HOME=$cache XDG_CONFIG_HOME=$cache ALSOFT_DRIVERS=null
"$game" >/dev/null 2>&1 &
pid=$!
wait_for 0 -6.8 80 '#2F9BE0' 1-loader             # the loader's sea
wait_for -10.3 -10 68.05 '#FDECC1' 2-pieces-window # the 20-piece card's plate
click_world -5.6 -8.2 68.05                        # 20 pieces; the help opens a second later
wait_for -10 0 75.05 '#FFFAF0' 3-help
click_world 6.711 -4.145 75.05                     # close the help
wait_for 0 0 62.9 '#A9B9C8' 4-board                # the empty board, unveiled
click_world l7.5 r5.8 0.6                          # the main menu button
wait_for 10 0 68.05 '#FEEBBF' 5-main-menu
click_world -6.648 1.704 68.05                     # music off: its tick goes
wait_for -6.95 1.5 68.05 '#FFFDF8'
click_world 8.091 4.205 68.05                      # close the menu
wait_for 0 0 62.9 '#A9B9C8'
click_world r4 r4 0.3                              # the exit button
wait_for -7 3.5 68.05 '#FFF2D3' 6-exit-window
click_world 3.232 -1.443 68.05                     # OK
timeout 30 tail --pid="$pid" -f /dev/null || fail "the exit window's OK did not end the game"
wait "$pid"; status=$?; pid=
[ "$status" -eq 1 ] || fail "exit status $status after OK, expected 1"
read -r -a b < <(od -An -tu1 -v -w80 "$cache/com.lanternworks.Shorebound/com.lanternworks.Shorebound.cfg")
[ "${#b[@]}" -eq 80 ] && [ "${b[33]}" -eq 1 ] && [ "${b[35]}" -eq 0 ] && [ "${b[36]}" -eq 1 ] \
  || fail "settings: ${b[*]:-no file} (sound at 33, music at 35, pieces at 36)"
echo "game: all checks passed"
