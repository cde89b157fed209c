#!/usr/bin/env bash
# The settings file and the half-built pictures' file when the game is killed (SIGKILL) at random
# moments around their saves: 200 trials, each on files with progress in them. A trial starts the real game, waits until it has
# read its settings, asks it to quit (SIGTERM, which saves) and kills it after a random delay;
# each file must then hold the same whole record. strace slows the disk (write 50 ms, fsync
# 100 ms, rename 30 ms) so that many kills land inside a save. Twenty trials run at a time,
# each line of trials on a small display of its own.
set -u
game="$1/shorebound"
command -v strace >/dev/null || { echo "FAIL: strace is not installed"; exit 1; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
pieces="$(dirname "$0")/../fuzz/seeds/fuzz_progress/two_boards.pieces"
ALSOFT_DRIVERS=null python3 - "$game" "$scratch" "${SETTINGS_KILL_TRIALS:-200}" "$pieces" <<'EOF_PY'
import os, random, signal, struct, subprocess, sys, threading, time
game, scratch, trials = sys.argv[1], sys.argv[2], int(sys.argv[3])
half_built = open(sys.argv[4], 'rb').read()  # two boards, written by the game's own writer
rng, lock = random.Random(200), threading.Lock()
name = 'com.lanternworks.Shorebound'
# Version 1 (file and record); sound on, music off, 48 pieces, puzzles 2 and 7 done: saved
# back unchanged.
record = bytearray(80)
record[0] = record[4] = record[4 + 29] = 1
struct.pack_into('<I', record, 4 + 32, 2)
for done in (2, 7):
    struct.pack_into('<I', record, 40 + 4 * done, 1)
original = bytes(record)
failures, during = [], [0]
def display():
    read_end, write_end = os.pipe()
    server = subprocess.Popen(['Xvfb', '-displayfd', str(write_end), '-screen', '0', '320x200x24',
                               '-nolisten', 'tcp', '-noreset'], pass_fds=(write_end,),
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    number = b''
    while not number.endswith(b'\n'):
        number += os.read(read_end, 16) or sys.exit('Xvfb did not start')
    return server, ':' + number.decode().strip()
def trial(number, screen):
    home = os.path.join(scratch, str(number))
    os.makedirs(os.path.join(home, name))
    cfg = os.path.join(home, name, name + '.cfg')
    open(cfg, 'wb').write(original)
    kept = os.path.join(home, name, name + '.pieces')
    open(kept, 'wb').write(half_built)
    log = os.path.join(home, 'strace.log')
    env = dict(os.environ, XDG_DATA_HOME=home, DISPLAY=screen, MESA_SHADER_CACHE_DIR=scratch + '/mesa')
    process = subprocess.Popen(
        ['strace', '-f', '--seccomp-bpf', '-qq', '-o', log, '-e', 'trace=openat,fsync,rename,write',
         '-e', 'inject=fsync:delay_enter=100ms', '-e', 'inject=rename:delay_enter=30ms',
         '-e', 'inject=write:delay_enter=50ms', game],
        env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
    end = time.monotonic() + 60
    while time.monotonic() < end and not (os.path.exists(log) and '.cfg", O_RDONLY' in open(log).read()):
        time.sleep(0.05)
    if time.monotonic() >= end:
        os.killpg(process.pid, signal.SIGKILL)
        return 'the game never read its settings'
    pid = int(subprocess.check_output(['pgrep', '-P', str(process.pid)]).split()[0])
    time.sleep(1.5)
    with lock:
        delay = rng.uniform(0, 0.3)
    os.kill(pid, signal.SIGTERM)
    time.sleep(delay)
    try:
        os.kill(pid, signal.SIGKILL)
    except ProcessLookupError:
        pass
    process.wait()
    if len(os.listdir(os.path.join(home, name))) > 2:
        with lock:
            during[0] += 1  # a temporary file was being written
    data = open(cfg, 'rb').read() if os.path.exists(cfg) else None
    if data != original:
        return 'the settings file is %r after %.3f s' % (data and data[:16], delay)
    data = open(kept, 'rb').read() if os.path.exists(kept) else None
    return None if data == half_built else 'the half-built pictures are %r after %.3f s' % (data and data[:16], delay)
trial_numbers = iter(range(trials))
def worker():
    server, screen = display()
    for number in trial_numbers:
        problem = trial(number, screen)
        if problem:
            with lock:
                failures.append('trial %d: %s' % (number, problem))
    server.kill()
threads = [threading.Thread(target=worker) for _ in range(20)]
[t.start() for t in threads] and [t.join() for t in threads]
print('%d trials, %d kills during a save' % (trials, during[0]))
for problem in failures:
    print('FAIL:', problem)
if failures or during[0] < trials // 10:
    sys.exit('FAIL' if failures else 'FAIL: too few kills landed during a save')
EOF_PY
