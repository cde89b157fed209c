#!/usr/bin/env bash
# The real executable with every pack damaged, and with no packs folder at all: it must show
# its loader, reach the game screen, stay up and quit with status 0 on Ctrl+Q. The game reads
# Resources/ beside its executable, so each case runs a copy in a scratch folder.
set -u
build="$1"
fail() { echo "FAIL: $*"; [ -n "${pid:-}" ] && kill -9 "$pid" 2>/dev/null; exit 1; }
[ -n "${DISPLAY:-}" ] || fail "needs a display (run under xvfb-run)"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export ALSOFT_DRIVERS=null
# Each real pack damaged in one way, the ways taken in turn (fixed seed): cut short; a record
# size past the end; a name field without its zero; random bytes over the entries' insides
# (headers included); model headers promising huge counts; JPEGs cut mid-stream with their
# record sizes matching; an empty file.
python3 - "$build/Resources" "$scratch/damaged/Resources" <<'EOF_PY' || fail "could not damage the packs"
import os, random, struct, sys
source, target = sys.argv[1], sys.argv[2]
os.makedirs(target)
rng = random.Random(8)
def records(data):
    out, offset = [], 0
    while offset + 68 <= len(data):
        size = struct.unpack('<I', data[offset + 64:offset + 68])[0]
        out.append((data[offset:offset + 64].split(b'\0')[0].decode(), offset, size))
        offset += 68 + size
    return out
def pack(entries):
    return b''.join(n.encode().ljust(64, b'\0') + struct.pack('<I', len(b)) + b for n, b in entries)
def entries(data):
    return [(n, data[o + 68:o + 68 + s]) for n, o, s in records(data)]
def scribble(body):
    body = bytearray(body)
    for _ in range(200):
        start = rng.randrange(len(body)) if rng.random() < 0.8 else rng.randrange(min(len(body), 96))
        for i in range(start, min(len(body), start + rng.randrange(1, 64))):
            body[i] = rng.randrange(256)
    return bytes(body)
def huge(n, b):
    if not n.endswith('.3DS') or len(b) <= 81:
        return b
    at = rng.choice([1, 81])
    return b[:at] + struct.pack('<I', rng.choice([0xFFFFFFFF, 1 << 28, 0x2AAAAAAB])) + b[at + 4:]
def any_record(data):
    return rng.choice(records(data))[1]
ways = [
    lambda d: d[:rng.randrange(1, len(d))],
    lambda d: (lambda o: d[:o + 64] + struct.pack('<I', len(d) + rng.randrange(1, 1 << 20)) + d[o + 68:])(any_record(d)),
    lambda d: (lambda o: d[:o] + bytes(rng.randrange(1, 256) for _ in range(64)) + d[o + 64:])(any_record(d)),
    lambda d: pack([(n, scribble(b) if b else b) for n, b in entries(d)]),
    lambda d: pack([(n, huge(n, b)) for n, b in entries(d)]),
    lambda d: pack([(n, b[:len(b) // 3] if n.endswith(('.JPG', '.PNG')) else b) for n, b in entries(d)]),
    lambda d: b'',
]
names = sorted(f for f in os.listdir(source) if f.endswith('.pak'))
assert len(names) == 27, names
for number, name in enumerate(names):
    data = open(os.path.join(source, name), 'rb').read()
    damaged = ways[number % len(ways)](data)
    if damaged == data:
        damaged = ways[0](data)
    open(os.path.join(target, name), 'wb').write(damaged)
EOF_PY
mkdir -p "$scratch/missing"
cp "$build/shorebound" "$scratch/damaged/" && cp "$build/shorebound" "$scratch/missing/" || fail "no executable"
for case in damaged missing; do
  out="$scratch/$case.out" cache=$(mktemp -d -p "$scratch")
  XDG_DATA_HOME=$cache "$scratch/$case/shorebound" >"$out" 2>&1 &
  pid=$!
  for second in 3 6 9 11; do  # the loader, its fade-out at 5 to 6 s, the game screen
    sleep 2.7; kill -0 "$pid" 2>/dev/null || fail "$case: the game ended before $second s: $(tail -3 "$out")"
  done
  xdotool key ctrl+q
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  wait "$pid"; status=$?; pid=
  [ "$status" -eq 0 ] || fail "$case: exit status $status after Ctrl+Q: $(tail -3 "$out")"
  [ -s "$cache/com.lanternworks.Shorebound/com.lanternworks.Shorebound.cfg" ] || fail "$case: no settings saved"
done
echo "damaged_packs: all checks passed"
