#!/usr/bin/env bash
# The real executable with every pack damaged, and then with no packs folder at all: it must
# show its loader, reach the game screen, stay up and quit with status 0 on Ctrl+Q.
# The game reads Resources/ beside its own executable, so each run uses a copy of the
# executable in a scratch folder with a Resources/ made for it.
set -u
build="$1"
game="$build/shorebound"
fail() { echo "FAIL: $*"; [ -n "${pid:-}" ] && kill -9 "$pid" 2>/dev/null; exit 1; }
[ -n "${DISPLAY:-}" ] || fail "needs a display (run under xvfb-run)"
[ -x "$game" ] || fail "no executable $game"
packs=$(ls "$build"/Resources/*.pak 2>/dev/null | wc -l)
[ "$packs" -eq 27 ] || fail "$packs packs in $build/Resources, expected 27"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
[ -n "${KEEP_SCRATCH:-}" ] && trap - EXIT && echo "scratch: $scratch"
export ALSOFT_DRIVERS=null

# Copies of the real packs, each damaged in one of these ways (fixed seed, so every run
# damages the same bytes):
#   cut      the file cut short at a random point
#   lie      a record's size larger than what is left of the file
#   nonul    a record's name field of 64 non-zero bytes
#   garbage  random bytes written over the inside of entries (models, PNGs, WAVs, JPEGs),
#            headers included, with the record sizes left right
#   jpeg     JPEG entries cut mid-stream, their record sizes matching, so that the pack
#            reads cleanly and the JPEG decoder meets the cut
#   empty    an empty file
# The game screen's own entries are among the damaged ones: main_int.pak loses its background
# (a lying size at FON_CL.PNG) and buttons_int.pak is cut inside its second record, so the
# game screen asks for models that are not there and says so on stdout.
python3 - "$build/Resources" "$scratch/damaged/Resources" <<'EOF' || fail "could not make the damaged packs"
import os, random, struct, sys

source, target = sys.argv[1], sys.argv[2]
os.makedirs(target)
rng = random.Random(8)

def records(data):
    out, offset = [], 0
    while offset + 68 <= len(data):
        name = data[offset:offset + 64].split(b'\0')[0].decode()
        size = struct.unpack('<I', data[offset + 64:offset + 68])[0]
        out.append((name, offset, size))
        offset += 68 + size
    assert offset == len(data), 'the real pack does not read cleanly'
    return out

def pack(entries):
    return b''.join(name.encode().ljust(64, b'\0') + struct.pack('<I', len(body)) + body
                    for name, body in entries)

def entries(data):
    return [(name, data[offset + 68:offset + 68 + size]) for name, offset, size in records(data)]

def cut(data, name=None):
    # Inside the named record (header or data), or anywhere.
    if name is None:
        return data[:rng.randrange(1, len(data))]
    _, offset, size = next(r for r in records(data) if r[0] == name)
    return data[:rng.randrange(offset + 1, offset + 68 + size)]

def lie(data, name):
    _, offset, _ = next(r for r in records(data) if r[0] == name)
    bigger = len(data) - offset + rng.randrange(1, 1 << 20)
    return data[:offset + 64] + struct.pack('<I', bigger) + data[offset + 68:]

def nonul(data, name):
    _, offset, _ = next(r for r in records(data) if r[0] == name)
    field = bytes(rng.randrange(1, 256) for _ in range(64))
    return data[:offset] + field + data[offset + 64:]

def scribble(body, count):
    # Random bytes over the header and at random places further in.
    body = bytearray(body)
    for i in range(min(len(body), 96)):
        if rng.random() < 0.5:
            body[i] = rng.randrange(256)
    for _ in range(count):
        start = rng.randrange(len(body))
        for i in range(start, min(len(body), start + rng.randrange(1, 64))):
            body[i] = rng.randrange(256)
    return bytes(body)

def garbage(data, suffixes):
    return pack([(n, scribble(b, 200) if n.upper().endswith(suffixes) else b)
                 for n, b in entries(data)])

def garbage_models(data):
    # Model headers that promise many meshes or huge triangle counts.
    out = []
    for n, b in entries(data):
        if n.endswith('.3DS') and len(b) > 81:
            b = bytearray(b)
            which = rng.randrange(3)
            if which == 0:
                b[1:5] = struct.pack('<I', rng.choice([0xFFFFFFFF, 1 << 28, 7]))
            elif which == 1:
                b[5 + 76:5 + 80] = struct.pack('<I', rng.choice([0xFFFFFFFF, 0x2AAAAAAB, 1 << 20]))
            else:
                b = bytearray(scribble(bytes(b), 50))
            b = bytes(b)
        out.append((n, b))
    return pack(out)

def jpeg_cut(data):
    return pack([(n, b[:rng.randrange(len(b) // 8, len(b) // 2)] if n.endswith('.JPG') else b)
                 for n, b in entries(data)])

def empty(data):
    return b''

damage = {
    'about_menu.pak':  lambda d: cut(d),
    'break_menu.pak':  lambda d: garbage(d, ('.PNG',)),
    'buttons_int.pak': lambda d: cut(d, 'close.3DS'),
    'exit_menu.pak':   lambda d: nonul(d, 'OK.PNG'),
    'help_menu.pak':   lambda d: lie(d, 'help_fon.3DS'),
    'loader.pak':      lambda d: garbage_models(garbage(d, ('.PNG',))),
    'main_int.pak':    lambda d: lie(d, 'FON_CL.PNG'),
    'main_menu.pak':   lambda d: garbage_models(d),
    'menu_int.pak':    lambda d: garbage_models(d),
    'music.pak':       lambda d: garbage(d, ('.WAV',)),
    'plase0.pak':      lambda d: jpeg_cut(d),
    'plase1.pak':      lambda d: cut(d),
    'plase2.pak':      lambda d: garbage_models(d),
    'puzzle0.pak':     lambda d: garbage_models(jpeg_cut(d)),
    'puzzle1.pak':     lambda d: cut(d, 'PUZZLE.JPG'),
    'puzzle2.pak':     lambda d: lie(d, 'PREV.JPG'),
    'puzzle3.pak':     lambda d: nonul(d, 'FINAL.JPG'),
    'puzzle4.pak':     lambda d: garbage(d, ('.JPG',)),
    'puzzle5.pak':     lambda d: jpeg_cut(d),
    'puzzle6.pak':     lambda d: garbage_models(d),
    'puzzle7.pak':     lambda d: cut(d),
    'puzzle8.pak':     lambda d: jpeg_cut(d),
    'puzzle9.pak':     lambda d: empty(d),
    'select.pak':      lambda d: garbage_models(garbage(d, ('.PNG',))),
    'shadow0.pak':     lambda d: garbage(d, ('.PNG',)),
    'shadow1.pak':     lambda d: nonul(d, 'SHAD_V2.PNG'),
    'shadow2.pak':     lambda d: cut(d),
}
names = sorted(f for f in os.listdir(source) if f.endswith('.pak'))
assert names == sorted(damage), 'packs without a damage: %s' % sorted(set(names) ^ set(damage))
for name in names:
    with open(os.path.join(source, name), 'rb') as f:
        data = f.read()
    damaged = damage[name](data)
    assert damaged != data, name
    with open(os.path.join(target, name), 'wb') as f:
        f.write(damaged)
EOF

mkdir -p "$scratch/missing"
cp "$game" "$scratch/damaged/shorebound" && cp "$game" "$scratch/missing/shorebound" \
  || fail "could not copy the executable"

# The game screen's own requests: its background from main_int.pak and its buttons from
# buttons_int.pak. Both are missing in either case, so each is reported once the game screen
# is built, and not before.
game_screen_lines() {
  grep -cE '^\(Get_data_from_data_store\)+ In pack <(main_int\.pak> data <fon_cl\.3DS|buttons_int\.pak> data <(close|but_lft)\.3DS)> no found!$' "$1"
}

# run_case NAME: starts the copy in $scratch/NAME, checks it through the loader into the game
# screen, lets it run a while, and quits it with Ctrl+Q.
run_case() {
  local name=$1 dir="$scratch/$1" out="$scratch/$1.out" err="$scratch/$1.err"
  local cache; cache=$(mktemp -d -p "$scratch")
  XDG_DATA_HOME=$cache "$dir/shorebound" >"$out" 2>"$err" &
  pid=$!
  sleep 3
  kill -0 "$pid" 2>/dev/null || fail "$name: the game ended during the loader: $(tail -5 "$err")"
  [ "$(game_screen_lines "$out")" -eq 0 ] || fail "$name: the game screen was built during the loader"
  # The loader shows for 5 s and fades out for 1 s.
  sleep 6
  kill -0 "$pid" 2>/dev/null || fail "$name: the game ended: $(tail -5 "$err")"
  [ "$(game_screen_lines "$out")" -ge 3 ] || fail "$name: the game screen was not built; stdout: $(tail -5 "$out")"
  sleep 2
  kill -0 "$pid" 2>/dev/null || fail "$name: the game ended on its game screen: $(tail -5 "$err")"
  xdotool key ctrl+q
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$pid" 2>/dev/null && fail "$name: the game did not quit on Ctrl+Q"
  wait "$pid"; local status=$?
  pid=
  [ "$status" -eq 0 ] || fail "$name: exit status $status after Ctrl+Q: $(tail -5 "$err")"
  [ -s "$cache/com.lanternworks.Shorebound/com.lanternworks.Shorebound.cfg" ] \
    || fail "$name: no settings saved"
}

run_case damaged
# The packs read up to the game screen: a broken record structure is reported as damage,
# a JPEG cut mid-stream as a picture that does not decode, an empty pack as one without
# pictures. (The windows' packs are read when a window opens, which this test does not do.)
for pak in buttons_int help_menu main_int plase1 puzzle1 puzzle2 puzzle3 puzzle7 shadow1 shadow2; do
  grep -qF "Pack file <$pak.pak> damaged at byte <" "$scratch/damaged.out" \
    || fail "damaged: no damage reported for $pak.pak"
done
for pak in plase0 puzzle0 puzzle5 puzzle8; do
  grep -qE "in pack <$pak\.pak> texture <[A-Z_0-9]+\.JPG> +loadeng problem!" "$scratch/damaged.out" \
    || fail "damaged: the cut JPEGs of $pak.pak were not refused by the decoder"
done
grep -qF 'pack <puzzle9.pak> no found!' "$scratch/damaged.out" \
  || fail "damaged: the empty puzzle9.pak was not found wanting"

run_case missing
grep -qF 'Pack file <main_int.pak> no found!' "$scratch/missing.out" \
  || fail "missing: the missing packs were not reported"

echo "damaged_packs: all checks passed"
