#!/usr/bin/env bash
# The settings file when the whole game is killed (SIGKILL) at random moments around its save:
# 200 trials, each on a settings file with progress in it. Each trial starts the real game,
# waits until it has loaded its settings, asks it to quit (SIGTERM, which saves), and kills it
# after a random delay. Afterwards the file must still be there and hold the same whole
# record. The disk is made slow the way strace can: every write waits 50 ms, every fsync
# 100 ms and every rename 30 ms, so that many kills land in the middle of a save (a game that
# wrote the file in place would be caught with it empty).
# Trials run twenty at a time, each line of trials on a small display of its own (a full-screen
# SDL window holds the pointer grab, so two games on one display would take turns); a summary
# says where the kills landed.
set -u
build="$1"
game="$build/shorebound"
fail() { echo "FAIL: $*"; exit 1; }
[ -x "$game" ] || fail "no executable $game"
command -v strace >/dev/null || fail "strace is not installed"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

ALSOFT_DRIVERS=null python3 - "$game" "$scratch" "${SETTINGS_KILL_TRIALS:-200}" <<'EOF'
import os, random, signal, struct, subprocess, sys, threading, time

game, scratch, trials = sys.argv[1], sys.argv[2], int(sys.argv[3])
rng = random.Random(200)
folder_name = 'com.lanternworks.Shorebound'
file_name = folder_name + '.cfg'

# Version 1, then the record: sound on, music off, 48 pieces, puzzles 2 and 7 done. The game
# saves exactly these bytes back (it never stores a first start once a file has loaded).
record = bytearray(76)
struct.pack_into('<I', record, 0, 1)
record[29], record[30], record[31] = 1, 0, 0
struct.pack_into('<I', record, 32, 2)
struct.pack_into('<I', record, 36 + 4 * 2, 1)
struct.pack_into('<I', record, 36 + 4 * 7, 1)
original = struct.pack('<I', 1) + bytes(record)
assert len(original) == 80

lock = threading.Lock()
landed = {'before the save': 0, 'during the save': 0, 'after the save': 0, 'not killed': 0}
failures = []
load_times = []

def wait_for(condition, seconds, step=0.002):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if condition():
            return True
        time.sleep(step)
    return False

def start_display():
    # The server picks a free display number and writes it to the pipe.
    read_end, write_end = os.pipe()
    server = subprocess.Popen(['Xvfb', '-displayfd', str(write_end), '-screen', '0', '320x200x24',
                               '-nolisten', 'tcp', '-noreset'], pass_fds=(write_end,),
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    number = b''
    while not number.endswith(b'\n'):
        chunk = os.read(read_end, 16)
        if not chunk:
            raise RuntimeError('Xvfb did not start')
        number += chunk
    os.close(read_end)
    return server, ':' + number.decode().strip()

def trial(number, display):
    home = os.path.join(scratch, str(number))
    folder = os.path.join(home, folder_name)
    os.makedirs(folder)
    cfg = os.path.join(folder, file_name)
    with open(cfg, 'wb') as f:
        f.write(original)
    before = os.stat(cfg).st_ino
    log = os.path.join(home, 'strace.log')
    # Mesa keeps its compiled shaders in one folder for all trials, not in each trial's folder.
    env = dict(os.environ, XDG_DATA_HOME=home, DISPLAY=display,
               MESA_SHADER_CACHE_DIR=os.path.join(scratch, 'mesa'))
    env.pop('XAUTHORITY', None)
    process = subprocess.Popen(
        ['strace', '-f', '--seccomp-bpf', '-qq', '-o', log, '-e', 'trace=openat,fsync,rename,write',
         '-e', 'inject=fsync:delay_enter=100ms', '-e', 'inject=rename:delay_enter=30ms',
         '-e', 'inject=write:delay_enter=50ms', game],
        env=env, stdout=open(os.path.join(home, 'out.txt'), 'wb'), stderr=subprocess.STDOUT,
        start_new_session=True)
    def loaded():
        try:
            return file_name + '", O_RDONLY' in open(log).read()
        except OSError:
            return False
    launched = time.monotonic()
    if not wait_for(loaded, 60, 0.05):
        os.killpg(process.pid, signal.SIGKILL)
        process.wait()
        out = open(os.path.join(home, 'out.txt'), errors='replace').read().strip().splitlines()
        return 'the game never loaded its settings (status %s; %s)' % (
            process.returncode, ' | '.join(out[-3:]))
    with lock:
        load_times.append(time.monotonic() - launched)
    game_pid = int(subprocess.check_output(['pgrep', '-P', str(process.pid)]).split()[0])
    time.sleep(1.5)  # the game screen's first frames have come and gone
    with rng_lock:
        delay = rng.uniform(0, 0.3)
    os.kill(game_pid, signal.SIGTERM)
    time.sleep(delay)
    killed = process.poll() is None
    try:
        os.kill(game_pid, signal.SIGKILL)
    except ProcessLookupError:
        killed = False
    process.wait()
    leftovers = [n for n in os.listdir(folder) if n != file_name]
    try:
        data = open(cfg, 'rb').read()
        after = os.stat(cfg).st_ino
    except OSError as error:
        return 'the settings file is missing (%s), delay %.3f s' % (error, delay)
    if data != original:
        return 'the settings file changed: %d bytes %r, delay %.3f s' % (len(data), data[:16], delay)
    if not killed:
        where = 'not killed'
    elif leftovers:
        where = 'during the save'  # a temporary file was being written
    elif after != before:
        where = 'after the save'
    else:
        where = 'before the save'
    with lock:
        landed[where] += 1
    return None

rng_lock = threading.Lock()
started = time.monotonic()
next_trial = iter(range(trials))
def worker():
    server, display = start_display()
    try:
        for number in next_trial:
            problem = trial(number, display)
            if problem:
                with lock:
                    failures.append('trial %d: %s' % (number, problem))
    finally:
        server.kill()
        server.wait()
workers = [threading.Thread(target=worker) for _ in range(20)]
for w in workers:
    w.start()
for w in workers:
    w.join()
print('%d trials in %.0f s; kills landed: %s' % (trials, time.monotonic() - started,
      ', '.join('%s %d' % item for item in landed.items())))
if load_times:
    print('settings loaded %.1f to %.1f s after the start' % (min(load_times), max(load_times)))
for problem in failures:
    print('FAIL:', problem)
if failures:
    sys.exit(1)
if landed['during the save'] < trials // 10:
    print('FAIL: too few kills landed during a save to say anything')
    sys.exit(1)
EOF
