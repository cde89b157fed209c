#!/usr/bin/env bash
# Makes the Debian package, checks it with lintian (no errors) and what it recommends, unpacks
# it into a scratch root, checks the installed files, and starts the installed game: it finds
# its packs and quits with status 0 on Ctrl+Q.
set -u
build="$1"
fail() { echo "FAIL: $*"; [ -n "${pid:-}" ] && kill -9 "$pid" 2>/dev/null; exit 1; }
cd "$build" || fail "no build folder"
rm -f shorebound_*.deb
cpack -G DEB >/dev/null 2>&1 || fail "cpack -G DEB failed"
deb=$(ls shorebound_*_amd64.deb 2>/dev/null | head -1)
[ -n "$deb" ] || fail "no package made"
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
errors=$(TMPDIR=$root lintian --tag-display-limit 0 "$deb" 2>&1 | grep -E '^E: ')  # its scratch too
[ -z "$errors" ] || fail "lintian: $errors"
dpkg -x "$deb" "$root" || fail "dpkg -x failed"
lib="$root/usr/lib/shorebound" share="$root/usr/share"
[ -x "$lib/shorebound" ] || fail "no executable in /usr/lib/shorebound"
[ "$(readlink "$root/usr/games/shorebound")" = "../lib/shorebound/shorebound" ] || fail "no /usr/games/shorebound link"
[ "$(ls "$lib/Resources"/*.pak | wc -l)" -eq 27 ] || fail "not the 27 packs installed"
desktop-file-validate "$share/applications/com.lanternworks.Shorebound.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$share/metainfo/com.lanternworks.Shorebound.metainfo.xml" >/dev/null || fail "metainfo"
for size in 16 32 48 128 256 512; do
  icon="$share/icons/hicolor/${size}x${size}/apps/com.lanternworks.Shorebound.png"
  [ "$(identify -format '%wx%h' "$icon" 2>/dev/null)" = "${size}x${size}" ] || fail "icon $size"
done
man -l "$share/man/man6/shorebound.6.gz" >/dev/null 2>&1 || fail "man page does not format"
[ -s "$share/doc/shorebound/copyright" ] || fail "no copyright file"
links=$(grep -c '^SHOREBOUND_[A-Z]*_URL:STRING=.' CMakeCache.txt)  # xdg-open is for the links alone
[ "$(dpkg-deb -f "$deb" Recommends)" = "$([ "$links" -gt 0 ] && echo xdg-utils)" ] || fail "Recommends with $links links"
[ -n "${DISPLAY:-}" ] || fail "needs a display (run under xvfb-run)"
export XDG_DATA_HOME=$root/data XDG_CONFIG_HOME=$root/data ALSOFT_DRIVERS=null
out="$root/out.txt"
"$root/usr/games/shorebound" >"$out" 2>&1 &
pid=$!
sleep 8
kill -0 "$pid" 2>/dev/null || fail "the installed game did not keep running"
xdotool key ctrl+q
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
wait "$pid"; status=$?; pid=
[ "$status" -eq 0 ] || fail "exit status $status"
missing=$(grep -E '^\((Load_pack_from_file_data_store|Get_data_from_data_store|Extract_tex_from_data_store)' "$out" | head -3)
[ -z "$missing" ] || fail "the installed game misses files: $missing"
echo "package: all checks passed ($deb)"
