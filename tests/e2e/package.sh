#!/usr/bin/env bash
# Makes the Debian package, checks it with lintian (no error, no warning), unpacks it into a
# scratch root and checks the installed layout, the desktop entry, the icons, the AppStream
# metainfo and the man page; then starts the installed executable and checks that it finds
# its packs, names its window and quits with status 0.
set -u
build="$1"
fail() { echo "FAIL: $*"; [ -n "${pid:-}" ] && kill -9 "$pid" 2>/dev/null; exit 1; }
cd "$build" || fail "no build folder"
rm -f shorebound_*.deb
cpack -G DEB >/dev/null 2>&1 || fail "cpack -G DEB failed"
deb=$(ls shorebound_*_amd64.deb 2>/dev/null | head -1)
[ -n "$deb" ] || fail "no package made"
complaints=$(lintian --tag-display-limit 0 "$deb" 2>&1 | grep -E '^(E|W): ')
[ -z "$complaints" ] || fail "lintian: $complaints"

depends=$(dpkg-deb -f "$deb" Depends)
for lib in libsdl1.2debian libopenal1 libpng16-16 libjpeg62-turbo libgl1; do
  case "$depends" in *"$lib"*) ;; *) fail "the package does not depend on $lib: $depends" ;; esac
done

root=$(mktemp -d)
dpkg -x "$deb" "$root" || fail "dpkg -x failed"
lib="$root/usr/lib/shorebound"
[ -x "$lib/shorebound" ] || fail "no executable in /usr/lib/shorebound"
[ "$(readlink "$root/usr/games/shorebound")" = "../lib/shorebound/shorebound" ] || fail "no /usr/games/shorebound link"
packs=$(ls "$lib/Resources"/*.pak | wc -l)
[ "$packs" -eq 27 ] || fail "$packs packs installed, expected 27"
desktop="$root/usr/share/applications/com.lanternworks.Shorebound.desktop"
desktop-file-validate "$desktop" || fail "desktop entry does not validate"
grep -qx 'Categories=Game;KidsGame;' "$desktop" || fail "desktop entry not in Game and KidsGame alone"
grep -qx 'StartupWMClass=shorebound' "$desktop" || fail "desktop entry without the window's class"
appstreamcli validate --no-net "$root/usr/share/metainfo/com.lanternworks.Shorebound.metainfo.xml" >/dev/null \
  || fail "metainfo does not validate"
for size in 16 22 24 32 48 64 128 256 512; do
  icon="$root/usr/share/icons/hicolor/${size}x${size}/apps/com.lanternworks.Shorebound.png"
  [ "$(identify -format '%wx%h' "$icon" 2>/dev/null)" = "${size}x${size}" ] || fail "icon $size missing or of the wrong size"
done
[ -f "$root/usr/share/icons/hicolor/scalable/apps/com.lanternworks.Shorebound.svg" ] || fail "no scalable icon"
man -l "$root/usr/share/man/man6/shorebound.6.gz" >/dev/null 2>&1 || fail "man page does not format"
for doc in changelog.gz copyright; do
  [ -s "$root/usr/share/doc/shorebound/$doc" ] || fail "no /usr/share/doc/shorebound/$doc"
done

# The installed game, started through its link, finds its packs next to itself.
[ -n "${DISPLAY:-}" ] || fail "needs a display (run under xvfb-run)"
export XDG_DATA_HOME=$(mktemp -d) ALSOFT_DRIVERS=null
out=$(mktemp)
"$root/usr/games/shorebound" >"$out" 2>&1 &
pid=$!
sleep 8
kill -0 "$pid" 2>/dev/null || fail "the installed game did not keep running"
# Docks and task switchers find its name, its class (the desktop entry's StartupWMClass)
# and its icon.
window=$(xdotool search --pid "$pid" | head -1)
props=$(xprop -id "$window" WM_NAME WM_CLASS WM_HINTS 2>&1)
case "$props" in *'WM_NAME(STRING) = "Shorebound"'*) ;; *) fail "window caption: $props" ;; esac
case "$props" in *'WM_CLASS(STRING) = "shorebound", "shorebound"'*) ;; *) fail "window class: $props" ;; esac
case "$props" in *"bitmap id # to use for icon"*) ;; *) fail "window icon: $props" ;; esac
xdotool key ctrl+q
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "the installed game did not quit"
wait "$pid"; status=$?
[ "$status" -eq 0 ] || fail "exit status $status"
missing=$(grep -E '^\((Load_pack_from_file_data_store|Get_data_from_data_store|Extract_tex_from_data_store)' "$out" | head -3)
[ -z "$missing" ] || fail "the installed game misses files: $missing"
[ -s "$XDG_DATA_HOME/com.lanternworks.Shorebound/com.lanternworks.Shorebound.cfg" ] || fail "no settings saved"
rm -rf "$root"
echo "package: all checks passed ($deb)"
