#!/usr/bin/env python3
"""Runs every measurement of the game beside its baseline, in one go, prints
the table, and writes it with the date and the machine into
docs/performance.md, between its two marker lines. The machine may be shared
and noisy, so runs that compare two things alternate between them and report
medians.

    report.py BUILD_DIR
"""
import json
import os
import shutil
import socket
import statistics
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.dirname(__file__))
from callgrind_objects import self_cost_by_object  # noqa: E402

BUILD = sys.argv[1] if len(sys.argv) > 1 else "build-bench"
BIN = os.path.join(BUILD, "bench")
ENV = dict(os.environ, SDL_VIDEODRIVER="offscreen")

# The page the table is written into, and the two lines that hold it there:
# everything between them is the table's, everything else is left as it is.
PERFORMANCE_PAGE = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "docs", "performance.md")
TABLE_BEGIN = "<!-- the table make bench writes: begin -->"
TABLE_END = "<!-- the table make bench writes: end -->"


def run(args, **kw):
    return subprocess.run(args, env=kw.pop("env", ENV), capture_output=True, text=True, check=True, **kw)


def frame_benchmarks():
    """Game and bare frames take turns in one process; level changes and
    switches (which leave the game on its title) run in processes of their own."""
    times = {}
    for which, extra in (("gameFrame|recordedGameFrame|bareFrame", ["--benchmark_repetitions=9",
                                                   "--benchmark_enable_random_interleaving=true"]),
                         ("levelChange", ["--benchmark_repetitions=5"]),
                         ("modeSwitch", ["--benchmark_repetitions=3"])):
        out = os.path.join(BUILD, "frame_bench.json")
        run([f"{BIN}/frame_bench", f"--benchmark_filter={which}", f"--benchmark_out={out}",
             "--benchmark_out_format=json"] + extra, timeout=900)
        for b in json.load(open(out))["benchmarks"]:
            if b.get("run_type") == "iteration":
                times.setdefault(b["run_name"].split("/")[0], []).append(b["real_time"])
    return {name: statistics.median(values) for name, values in times.items()}


def start_runs(rounds=15):
    """Wall time to the first presented frame and peak memory, bare and game
    taking turns."""
    result = {"start_bare": ([], []), "start_bare_title": ([], []), "start_game": ([], [])}
    for _ in range(rounds):
        for name in result:
            began = time.perf_counter()
            done = run(["/usr/bin/time", "-f", "%M", f"{BIN}/{name}"], cwd=os.getcwd())
            result[name][0].append((time.perf_counter() - began) * 1000)
            result[name][1].append(int(done.stderr.strip().splitlines()[-1]))
    return {name: (statistics.median(w), statistics.median(m) / 1024) for name, (w, m) in result.items()}


def sound_open(rounds=9):
    """Milliseconds from the first frame until the game has its sound (the
    mixer, the device and its ten effects, opened on a thread of their own
    and taken over by the game's thread at the end of a frame): on SDL's disk
    driver writing to /dev/null, the one device every machine has."""
    env = dict(ENV, SDL_AUDIODRIVER="disk", SDL_DISKAUDIOFILE="/dev/null")
    times = []
    for _ in range(rounds):
        ms, _, opened = run([f"{BIN}/start_game", "--sound"], env=env, cwd=os.getcwd()).stdout.split()
        if opened != "1":
            sys.exit("start_game --sound: the sound did not open")
        times.append(float(ms))
    return statistics.median(times)


def hung_sound_server(path):
    """A sound server that has hung: it takes connections and never answers."""
    listener = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    listener.bind(path)
    listener.listen(16)

    def hold_connections():
        held = []
        try:
            while True:
                held.append(listener.accept()[0])
        except OSError:
            pass

    threading.Thread(target=hold_connections, daemon=True).start()
    return listener


def start_frames(rounds=5, seconds=2):
    """The largest interval between two presented frames in the first
    seconds, the sound opening on a PulseAudio server of our own, on one
    that has hung, and without sound, in rounds that take turns: medians,
    and when the healthy server's sound was had. None without pulseaudio."""
    if not shutil.which("pulseaudio"):
        return None
    with tempfile.TemporaryDirectory() as tmp:
        healthy, hung = os.path.join(tmp, "native"), os.path.join(tmp, "hung")
        server_env = dict(os.environ, HOME=tmp, XDG_RUNTIME_DIR=tmp, PULSE_RUNTIME_PATH=os.path.join(tmp, "pulse"),
                          PULSE_STATE_PATH=os.path.join(tmp, "state"))
        server = subprocess.Popen(
            ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no", "--log-level=error",
             "-L", f"module-native-protocol-unix socket={healthy} auth-anonymous=1", "-L", "module-null-sink"],
            env=server_env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        listener = hung_sound_server(hung)
        try:
            while not os.path.exists(healthy):
                time.sleep(0.05)
            envs = {"none": ENV}
            for name, socket_path in (("healthy", healthy), ("hung", hung)):
                envs[name] = dict(ENV, SDL_AUDIODRIVER="pulseaudio", PULSE_SERVER=f"unix:{socket_path}")
            values = {name: ([], []) for name in envs}
            for _ in range(rounds):
                for name, env in envs.items():
                    args = [f"{BIN}/start_game"] + (["--sound"] if name != "none" else []) + [str(seconds)]
                    ms, largest, _ = run(args, env=env, cwd=os.getcwd()).stdout.split()
                    values[name][0].append(float(largest))
                    values[name][1].append(float(ms))
        finally:
            server.terminate()
            server.wait()
            listener.close()
        return {name: (statistics.median(largest), statistics.median(ms)) for name, (largest, ms) in values.items()}


def bare_switch():
    """Milliseconds per bare switch, and the heap growth from its 20th switch
    to its 200th."""
    ms, growth = run([f"{BIN}/switch_bare", "200"]).stdout.split()
    return float(ms), int(growth)


def memory_soak():
    lines = run([f"{BIN}/memory_soak", "10000", "200"]).stdout.splitlines()
    values = {}
    for line in lines:
        words = line.split()
        values[words[0]] = {words[i]: int(words[i + 1]) for i in range(1, len(words) - 1, 2)}
    return values


def instructions(frames=20):
    """Instructions per frame: the game's frames, the same recorded, and the
    bare replay, each counted by callgrind in a run of its own (the runs side
    by side)."""
    runs = {}
    with tempfile.TemporaryDirectory() as tmp:
        for what in ("gameFrames", "recordedGameFrames", "bareFrames"):
            out = os.path.join(tmp, what)
            env = dict(ENV, LP_NUM_THREADS="0")  # the driver draws on the calling thread
            runs[what] = (out, subprocess.Popen(
                ["valgrind", "--tool=callgrind", f"--callgrind-out-file={out}", "--collect-atstart=no",
                 f"--toggle-collect={what}", f"{BIN}/frame_instructions", str(frames)],
                env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        counts = {}
        program = os.path.realpath(f"{BIN}/frame_instructions")
        for what, (out, process) in runs.items():
            process.wait()
            by_object = self_cost_by_object(out)
            total = sum(by_object.values())
            own = sum(v for k, v in by_object.items() if os.path.realpath(k) == program)
            counts[what] = (total / frames, own / frames)
    return counts


def paced_frames(rounds=4, seconds=3, swap_work_ms=0):
    """The paced game and the paced bare loop, in rounds that take turns:
    medians of CPU per second, frames per second and interval spread. With
    swap_work_ms, every present takes that much longer (a driver that works
    long on each frame but does not wait for the display)."""
    values = {}
    env = ENV
    if swap_work_ms:
        env = dict(ENV, LD_PRELOAD=os.path.abspath(f"{BIN}/libslow_swap.so"), VANTREL_SWAP_WORK_MS=str(swap_work_ms))
    lines = run([f"{BIN}/paced_frames", str(rounds), str(seconds)], env=env, timeout=600).stdout.splitlines()
    period = 0.0
    for line in lines:
        words = line.split()
        if words[0] == "period_ms":
            period = float(words[1])
            continue
        for key, value in zip(words[1::2], words[2::2]):
            values.setdefault((words[0], key), []).append(float(value))
    medians = {k: statistics.median(v) for k, v in values.items()}
    return medians, period


def replayed_demo(rounds=2):
    """A demo of the level bot playing every shipped level, recorded at 60
    frames a second of its set clock, replayed headless and unpaced by the
    real program: frames per second, and the demo's bytes per minute of play.
    Every replay must end as the recording did."""
    source = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    with tempfile.TemporaryDirectory() as tmp:
        demo = os.path.join(tmp, "bot.demo")
        recorded = run([f"{BIN}/record_demo", demo], cwd=source, timeout=900).stdout
        frames = int(recorded.split()[1].rstrip(","))
        seconds = []
        for _ in range(rounds):
            began = time.perf_counter()
            replayed = run([os.path.abspath(f"{BUILD}/vantrel"), "--no-vsync", "--play-demo", demo], cwd=source,
                           timeout=900).stdout
            seconds.append(time.perf_counter() - began)
            if replayed != recorded:
                sys.exit(f"the replay ended '{replayed.strip()}', the recording '{recorded.strip()}'")
        return frames / statistics.median(seconds), os.path.getsize(demo) / (frames * 16 / 60000) / 1024, frames


def keeping(rounds=5):
    """Milliseconds to keep a high score's files (written beside, flushed,
    renamed over; the tables under their lock) against a plain write, the
    two taking turns."""
    out = os.path.join(BUILD, "keeping_bench.json")
    run([f"{BIN}/keeping_bench", f"--benchmark_repetitions={rounds}", "--benchmark_enable_random_interleaving=true",
         f"--benchmark_out={out}", "--benchmark_out_format=json"], timeout=600)
    times = {}
    for b in json.load(open(out))["benchmarks"]:
        if b.get("run_type") == "iteration":
            times.setdefault(b["run_name"], []).append(b["real_time"])
    return {name: statistics.median(values) for name, values in times.items()}


def xvfb_pacing():
    """The real program under Xvfb: CPU over 10 s paced and with --no-vsync,
    and the paced frame rate. None when there is no Xvfb here."""
    if not all(shutil.which(tool) for tool in ("Xvfb", "xdotool", "xwininfo")):
        return None
    game = os.path.join(BUILD, "vantrel")
    out = subprocess.run(["sh", os.path.join(os.path.dirname(__file__), "xvfb_pacing.sh"), game, "10",
                          os.path.abspath(f"{BIN}/libslow_swap.so")],
                         capture_output=True, text=True, check=True, timeout=300).stdout
    return {words[0]: float(words[1]) for words in (line.split() for line in out.splitlines())}


def main():
    frames = frame_benchmarks()
    game_us, bare_us = frames["gameFrame"], frames["bareFrame"]
    recorded_us = frames["recordedGameFrame"]
    kept = keeping()
    start = start_runs()
    switch_bare, bare_switch_growth = bare_switch()
    memory = memory_soak()
    ir = instructions()
    paced, period_ms = paced_frames()
    slow, _ = paced_frames(swap_work_ms=12)
    xvfb = xvfb_pacing()
    replay_fps, demo_kib_per_min, demo_frames = replayed_demo()
    sound_ms = sound_open()
    sound_start = start_frames()

    (bare_ms, bare_mib), (game_ms, game_mib) = start["start_bare"], start["start_game"]
    title_ms = start["start_bare_title"][0]
    game_total, game_own = ir["gameFrames"]
    bare_total, bare_own = ir["bareFrames"]
    m0, m1, m2 = memory["start"], memory["after_level_changes"], memory["after_switches"]
    s20 = memory["after_20_switches"]
    rows = [
        ("Frame rate, full level (fps)", f"{1e6 / game_us:.0f}", f"{1e6 / bare_us:.0f} (bare, same GL calls)",
         f"{bare_us / game_us:.2f} x", ">= 0.90 x"),
        ("Instructions per frame, all", f"{game_total / 1e6:.2f} M", f"{bare_total / 1e6:.2f} M (bare)",
         f"{game_total / bare_total:.3f} x", ""),
        ("Instructions per frame, game code", f"{game_own / 1e3:.1f} k", f"{bare_own / 1e3:.1f} k (replay loop)",
         f"{100 * game_own / game_total:.2f} % of frame", "<= 10 % of frame"),
        ("Start to first frame (ms)", f"{game_ms:.0f}", f"{bare_ms:.0f} (bare SDL + GL)", f"+{game_ms - bare_ms:.0f} ms",
         "<= +50 ms"),
        ("Start, against the title alone (ms)", f"{game_ms:.0f}", f"{title_ms:.0f} (bare + title picture drawn)",
         f"+{game_ms - title_ms:.0f} ms", ""),
        ("Sound playing, after the first frame (ms)", f"{sound_ms:.1f}", "", "", "opened off the game's thread"),
        ("Peak memory at start (MiB)", f"{game_mib:.1f}", f"{bare_mib:.1f} (bare SDL + GL)",
         f"+{game_mib - bare_mib:.1f} MiB", "<= +32 MiB"),
        ("Level change, full level (ms)", f"{frames['levelChange']:.2f}", "16.67 (one 60 Hz frame)",
         f"{frames['levelChange'] / 16.67:.2f} x", "<= 1 x"),
        ("F1 switch, every picture back (ms)", f"{frames['modeSwitch']:.1f}", f"{switch_bare:.1f} (bare SDL + GL)",
         f"{frames['modeSwitch'] / switch_bare:.2f} x", ""),
        ("Memory, 10,000 level changes (KiB)", f"{m1['rss_kib']}", f"{m0['rss_kib']} (before)",
         f"{m1['rss_kib'] - m0['rss_kib']:+d} KiB, textures {m0['gl_textures']} -> {m1['gl_textures']}",
         "flat within 1 MiB, +-0"),
        ("Memory, switches 20 -> 200 (KiB)", f"{m2['rss_kib']}", f"{s20['rss_kib']} (after 20)",
         f"{m2['rss_kib'] - s20['rss_kib']:+d} KiB, textures {s20['gl_textures']} -> {m2['gl_textures']}",
         "flat within 1 MiB, +-0"),
        ("Heap growth, switches 20 -> 200 (KiB)", f"{m2['heap_in_use_kib'] - s20['heap_in_use_kib']:+d}",
         f"{bare_switch_growth:+d} (bare SDL + GL switches)",
         f"{(m2['heap_in_use_kib'] - s20['heap_in_use_kib']) - bare_switch_growth:+d} KiB of the game's own", ""),
        ("Peak memory, soak (MiB)", f"{memory['peak']['rss_kib'] / 1024:.1f}", "", "", ""),
        ("Paced, CPU per second (s)", f"{paced['game', 'cpu_per_s']:.3f}",
         f"{paced['bare', 'cpu_per_s']:.3f} (bare, same GL calls, same pacing)",
         f"{paced['game', 'cpu_per_s'] / paced['bare', 'cpu_per_s']:.2f} x", "<= 1.2 x"),
        ("Paced, presented frames per second", f"{paced['game', 'fps']:.2f}", f"{1000 / period_ms:.2f} (refresh)",
         f"{100 * (paced['game', 'fps'] * period_ms / 1000 - 1):+.2f} %", "within 2 %"),
        ("Paced, 99th percentile of interval off the period (ms)", f"{paced['game', 'p99_ms']:.2f}",
         f"{paced['bare', 'p99_ms']:.2f} (bare)", "", "<= 2 ms, idle machine"),
        ("Paced, driver working 12 ms a frame: frames per second", f"{slow['game', 'fps']:.2f}",
         f"{1000 / period_ms:.2f} (refresh)", f"{100 * (slow['game', 'fps'] * period_ms / 1000 - 1):+.2f} %",
         "within 2 %"),
        ("Paced, driver working 12 ms a frame: CPU per second (s)", f"{slow['game', 'cpu_per_s']:.3f}",
         f"{paced['game', 'cpu_per_s']:.3f} (driver as it is)", "", ""),
        ("Paced, driver working 12 ms a frame: 99th pct off the period (ms)", f"{slow['game', 'p99_ms']:.2f}",
         f"{slow['bare', 'p99_ms']:.2f} (bare)", "", "<= 2 ms, idle machine"),
        (f"Frame rate, replayed demo of real play, {demo_frames} frames (fps)", f"{replay_fps:.0f}",
         f"{1e6 / game_us:.0f} (full level, synthetic)", f"{replay_fps * game_us / 1e6:.2f} x", ""),
        ("Demo size per minute of play (KiB)", f"{demo_kib_per_min:.1f}", "", "", ""),
        ("Frame, recorded in memory as every game is (us)", f"{recorded_us:.1f}", f"{game_us:.1f} (not recorded)",
         f"{recorded_us - game_us:+.2f} us", ""),
        ("Instructions per frame, game code, recorded in memory", f"{ir['recordedGameFrames'][1] / 1e3:.1f} k",
         f"{game_own / 1e3:.1f} k (not recorded)", f"{(ir['recordedGameFrames'][1] - game_own) / 1e3:+.2f} k", ""),
        ("High score kept: the tables, ten entries (ms)", f"{kept['safeTables']:.2f}",
         f"{kept['plainTables']:.3f} (plain write)", "", "locked, flushed, renamed"),
        ("High score kept: its game, a minute of play (ms)", f"{kept['safeDemo']:.2f}",
         f"{kept['plainDemo']:.3f} (plain write)", "", "flushed, renamed"),
    ]
    if sound_start:
        none_ms = sound_start["none"][0]
        for name, label in (("healthy", "a PulseAudio server"), ("hung", "a hung sound server")):
            largest, had_ms = sound_start[name]
            had = f", sound at {had_ms:.0f} ms" if had_ms >= 0 else ", silent"
            rows.append((f"Largest frame interval, first 2 s, {label} (ms)", f"{largest:.1f}", f"{none_ms:.1f} (no sound)",
                         f"{largest - none_ms:+.1f} ms{had}", "no frame waits for the sound"))
    if xvfb:
        rows.append(("Real game under Xvfb, CPU (% of a core, 10 s)", f"{xvfb['cpu_paced']:.1f}",
                     f"{xvfb['cpu_unpaced']:.1f} (--no-vsync)", f"{xvfb['cpu_paced'] / xvfb['cpu_unpaced']:.2f} x", ""))
        rows.append(("Real game under Xvfb, frames per second", f"{xvfb['paced_fps']:.2f}", "60 (Xvfb gives no rate: the default)",
                     f"{100 * (xvfb['paced_fps'] / 60 - 1):+.2f} %", "within 2 %"))
        rows.append(("Real game under Xvfb, driver working 12 ms a frame (fps)", f"{xvfb['paced_fps_work12']:.2f}",
                     f"{xvfb['unpaced_fps_work12']:.2f} (--no-vsync)", f"{100 * (xvfb['paced_fps_work12'] / 60 - 1):+.2f} %",
                     "within 2 % of 60"))
    table = table_lines(rows)
    print("\n".join(table))
    write_table(PERFORMANCE_PAGE, table, time.strftime("%Y-%m-%d", time.gmtime()), machine())
    print(f"written into {os.path.relpath(PERFORMANCE_PAGE)}")


def table_lines(rows):
    """The rows as a Markdown table, its columns padded to line up."""
    head = ("Measure", "Game", "Baseline", "Ratio / difference", "Goal")
    widths = [max(len(str(r[i])) for r in rows + [head]) for i in range(5)]
    line = lambda r: "| " + " | ".join(str(c).ljust(w) for c, w in zip(r, widths)) + " |"
    return [line(head), "|" + "|".join("-" * (w + 2) for w in widths) + "|"] + [line(r) for r in rows]


def machine(cpuinfo="/proc/cpuinfo", os_release="/etc/os-release"):
    """This machine as the table names it: the processor's model, its cores
    (and threads, where they differ) and the system, e.g.
    "AMD EPYC, 2 cores, Debian GNU/Linux 12 (bookworm)"."""
    model, threads, cores = "unknown processor", 0, set()
    physical = core = None
    with open(cpuinfo) as f:
        for line in f:
            key, _, value = (part.strip() for part in line.partition(":"))
            if key == "processor":
                threads += 1
            elif key == "model name" and model == "unknown processor":
                model = " ".join(value.split())
            elif key == "physical id":
                physical = value
            elif key == "core id":
                core = value
            elif not key and core is not None:
                cores.add((physical, core))  # a blank line ends each processor's record
                physical = core = None
    if core is not None:
        cores.add((physical, core))
    count = len(cores) or threads
    described = f"{model}, {count} core{'s' if count != 1 else ''}"
    if threads and threads != count:
        described += f" ({threads} threads)"
    system = "unknown system"
    try:
        with open(os_release) as f:
            for line in f:
                if line.startswith("PRETTY_NAME="):
                    system = line.split("=", 1)[1].strip().strip('"')
    except OSError:
        pass
    return f"{described}, {system}"


def write_table(path, table, date, machine_name):
    """Puts the table, under a line with the date and the machine, between
    the page's two marker lines, replacing what was between them and nothing
    else. The page is written beside and renamed over, so it is never left
    half written; a page without both markers, in order, is left as it is."""
    with open(path, encoding="utf-8", newline="") as f:
        text = f.read()
    begin, end = text.find(TABLE_BEGIN), text.find(TABLE_END)
    if begin < 0 or end < begin or text.count(TABLE_BEGIN) != 1 or text.count(TABLE_END) != 1:
        sys.exit(f"{path}: not written, it needs the lines '{TABLE_BEGIN}' and '{TABLE_END}' once each, in order")
    inside = f"\nMeasured {date} on {machine_name}:\n\n" + "\n".join(table) + "\n"
    text = text[:begin + len(TABLE_BEGIN)] + "\n" + inside + "\n" + text[end:]
    directory = os.path.dirname(os.path.abspath(path))
    fd, temporary = tempfile.mkstemp(prefix=".performance.", suffix=".md", dir=directory)
    try:
        with os.fdopen(fd, "w", encoding="utf-8", newline="") as f:
            f.write(text)
            f.flush()
            os.fsync(f.fileno())
        os.chmod(temporary, os.stat(path).st_mode & 0o7777)
        os.replace(temporary, path)
    except BaseException:
        os.unlink(temporary)
        raise


if __name__ == "__main__":
    main()
