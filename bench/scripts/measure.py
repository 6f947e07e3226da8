#!/usr/bin/env python3
"""Runs Breezeling's benchmarks and ends with one line per speed goal:

    goal NAME MEASURED LIMIT ok|over

bench/run builds the programs and calls this; it can also be run by hand
on a build made the same way:

    bench/scripts/measure.py --build build-bench --standin-port 48331 [SECTION...]

SECTION is any of parsers, windows, download, start (default: all four).
Comparisons run their contenders alternately (A B A B ...) so that the
machine's drift hits both, and report medians; a run that failed is not
left out of them: it makes the goals it counts for read "failed ... over".
The exit status is 1 when any goal is over, 0 when every goal holds.
"""

import argparse
import json
import os
import queue
import resource
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import threading
import time

MIB = 1024 * 1024

# Benchmark name in bench_parsers -> goal name.
PARSERS = [
    ("BM_WeatherReply", "linear-weather-reply"),
    ("BM_UpdateFile", "linear-update-file"),
    ("BM_Preferences", "linear-preferences"),
    ("BM_AppleDouble", "linear-appledouble"),
    ("BM_HTTPHeadersParse", "linear-httpheaders-parse"),
    ("BM_BasicHTTPParseHeader", "linear-basichttp-parseheader"),
    ("BM_HeaderTrickle", "linear-header-trickle"),
    ("BM_ChunkedDecode", "linear-chunked"),
    ("BM_CookieParse", "linear-cookie"),
    ("BM_URLEncode", "linear-url-encode"),
    ("BM_FormEncode", "linear-form-encode"),
    ("BM_SetForm", "linear-set-form"),
    ("BM_ParseURL", "linear-url-parse"),
]


class Goals:
    """Collects the goal lines; printed together at the end."""

    def __init__(self):
        self.lines = []
        self.over = False

    def at_most(self, name, measured, limit):
        self._add(name, measured, limit, measured is not None and measured <= limit)

    def at_least(self, name, measured, limit):
        self._add(name, measured, limit, measured is not None and measured >= limit)

    def _add(self, name, measured, limit, ok):
        shown = "failed" if measured is None else fmt(measured)
        self.over = self.over or not ok
        self.lines.append(f"goal {name} {shown} {fmt(limit)} {'ok' if ok else 'over'}")


def fmt(value):
    if abs(value) >= 100:
        return f"{value:.0f}"
    if abs(value) >= 10:
        return f"{value:.1f}"
    return f"{value:.2f}"


def say(text=""):
    print(text, flush=True)


def median(values):
    return statistics.median(values) if values else None


class Timed:
    """A child process's wall time, processor time (user + system), peak
    resident memory and output."""

    def __init__(self, wall, cpu, peak_kib, status, out):
        self.wall, self.cpu, self.peak_kib, self.status, self.out = wall, cpu, peak_kib, status, out


def children_cpu():
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime + usage.ru_stime


def run_timed(cmd, env=None, timeout=600):
    """Runs cmd under /usr/bin/time for its peak memory. (The peak that
    wait4 reports for a child of this script would include this script's
    own memory: Linux carries the high-water mark across exec.) Its
    processor time is what this script's reaped children gained while it
    ran: the program's, which time waits for, and time's own, which is
    next to nothing; nothing else is reaped meanwhile."""
    with tempfile.TemporaryFile() as out, tempfile.NamedTemporaryFile("r") as usage:
        cpu_before = children_cpu()
        start = time.monotonic()
        proc = subprocess.Popen(["/usr/bin/time", "-q", "-f", "%M", "-o", usage.name] + cmd,
                                stdout=out, stderr=subprocess.DEVNULL, env=env)
        try:
            proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()
        wall = time.monotonic() - start
        cpu = children_cpu() - cpu_before
        peak = 0
        for line in usage.read().splitlines():
            if line.strip().isdigit():
                peak = int(line)
        out.seek(0)
        return Timed(wall, cpu, peak, proc.returncode, out.read().decode(errors="replace"))


# ---------------------------------------------------------------- parsers

def section_parsers(args, goals, results):
    say("== Parsers: the cost of ten times the input (medians of "
        f"{args.repetitions} interleaved repetitions)")
    out_file = os.path.join(args.build, "bench-parsers.json")
    cmd = [os.path.join(args.build, "bench", "bench_parsers"),
           f"--benchmark_min_time={args.min_time}",
           f"--benchmark_repetitions={args.repetitions}",
           "--benchmark_enable_random_interleaving=true",
           f"--benchmark_out={out_file}", "--benchmark_out_format=json"]
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    log = os.path.join(args.build, "bench-parsers.log")
    with open(log, "w") as sink:
        status = subprocess.call(cmd, stdout=sink, stderr=subprocess.STDOUT, env=env)
    if status != 0 or not os.path.exists(out_file):
        say(f"bench_parsers failed (status {status}); see {log}")
        for _, goal in PARSERS:
            goals.at_most(goal, None, 12)
        return
    with open(out_file) as f:
        data = json.load(f)

    # name -> size -> times; name -> fit quality
    times, rms = {}, {}
    for b in data["benchmarks"]:
        parts = b["name"].split("/")
        base = parts[0]
        if b.get("run_type") == "aggregate":
            if b.get("aggregate_name") == "RMS":
                rms[base.removesuffix("_RMS")] = b.get("rms", b.get("cpu_time"))
            continue
        if b.get("error_occurred"):
            times.setdefault(base, {})["error"] = b.get("error_message", "error")
            continue
        manual = "manual_time" in b["name"]
        value = b["real_time"] if manual else b["cpu_time"]
        times.setdefault(base, {}).setdefault(int(parts[1]), []).append(value)

    say(f"{'benchmark':26} {'size x':>8} {'t(x) ms':>10} {'t(10x) ms':>10} {'ratio':>7} {'fit rms':>8}")
    parsers = {}
    for base, goal in PARSERS:
        sizes = times.get(base, {})
        if "error" in sizes or len(sizes) < 2:
            say(f"{base:26} failed: {sizes.get('error', 'no result')}")
            goals.at_most(goal, None, 12)
            continue
        small, large = min(sizes), max(sizes)
        t_small, t_large = median(sizes[small]), median(sizes[large])
        ratio = t_large / t_small
        fit = rms.get(base)
        fit_text = f"{fit * 100:.0f}%" if isinstance(fit, (int, float)) else "-"
        say(f"{base:26} {small:>8} {t_small:>10.3f} {t_large:>10.3f} {ratio:>7.1f} {fit_text:>8}")
        parsers[goal] = {"size": small, "t_ms": t_small, "t10_ms": t_large, "ratio": ratio}
        goals.at_most(goal, ratio, 12)
    results["parsers"] = parsers
    say()


# ---------------------------------------------------------------- windows

def section_windows(args, goals, results):
    say(f"== Window cycles: every window opened and closed {args.cycles} times")
    cmd = [os.path.join(args.build, "bench", "bench_window_cycles"), str(args.cycles)]
    run = run_timed(cmd, env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
    values = {}
    for line in run.out.splitlines():
        key, _, value = line.partition(" ")
        try:
            values[key] = float(value)
        except ValueError:
            pass
    if run.status != 0 or "growth-kib" not in values:
        say(f"bench_window_cycles failed (status {run.status})")
        goals.at_most("window-cycles-growth-kib", None, 64)
        return
    say(f"heap growth {values['growth-kib']:.1f} KiB ({values['per-cycle-bytes']:.0f} bytes a cycle), "
        f"{values.get('first-cycle-kib', 0):.1f} KiB of it in the first cycle, "
        f"{values.get('second-half-kib', 0):.1f} KiB in the second half; "
        f"resident growth {values.get('rss-growth-kib', 0):.0f} KiB; {run.wall:.1f} s")
    results["windows"] = values
    goals.at_most("window-cycles-growth-kib", values["growth-kib"], 64)
    say()


# ---------------------------------------------------------------- download

class BodyServer:
    def __init__(self, build):
        cmd = [os.path.join(build, "bench", "bench_body_server"), "0"]
        self.proc = subprocess.Popen(cmd, stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        line = self.proc.stdout.readline().strip()
        if not line.startswith("listening on "):
            self.stop()
            raise RuntimeError(f"body server did not start: {line!r}")
        self.host = line[len("listening on "):]

    def url(self, size):
        return f"http://{self.host}/bytes/{size}"

    def stop(self):
        if self.proc.poll() is None:
            self.proc.stdin.close()
            try:
                self.proc.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()


def fetch_once(args, client, url, size, target):
    """One download; returns Timed, or None when the body came back wrong."""
    fetch = os.path.join(args.build, "bench", "bench_fetch")
    if client.startswith("curl"):
        run = run_timed(["curl", "-s", "-S", "-o", target, "-w", "%{size_download}\n", url])
        got = int(run.out.strip()) if run.status == 0 and run.out.strip().isdigit() else -1
    else:
        cmd = [fetch, client, url] + ([target] if client == "basichttp-file" else [])
        run = run_timed(cmd)
        got = -1
        if run.status == 0:
            for line in run.out.splitlines():
                if line.startswith("bytes "):
                    got = int(line.split()[1])
    if target != os.devnull and os.path.exists(target):
        os.remove(target)
    return run if got == size else None


def compare(args, server, clients, size, rounds, targets):
    """Runs the clients alternately; returns name -> list of Timed, with
    None for each download that failed."""
    runs = {name: [] for name in clients}
    for _ in range(rounds):
        for name in clients:
            runs[name].append(fetch_once(args, name, server.url(size), size, targets[name]))
    return runs


def summary(runs, size):
    """Medians of the downloads that worked, and how many failed."""
    done = [r for r in runs if r is not None]
    wall = median([r.wall for r in done])
    counts = {"downloads": len(runs), "failed": len(runs) - len(done)}
    if wall is None:
        return counts
    return {"seconds": wall, "cpu_seconds": median([r.cpu for r in done]),
            "peak_mib": median([r.peak_kib for r in done]) / 1024, "mib_per_s": size / MIB / wall, **counts}


def download_line(name, s):
    if "seconds" not in s:
        return f"{name} failed ({s['failed']} of {s['downloads']})"
    line = (f"{name} {s['seconds']:7.3f} s {s['mib_per_s']:8.0f} MiB/s  processor {s['cpu_seconds']:6.3f} s  "
            f"peak {s['peak_mib']:7.1f} MiB")
    return line + (f"  ({s['failed']} of {s['downloads']} failed)" if s["failed"] else "")


def measured(s):
    """A client's figures for a goal: none when any of its downloads failed,
    since the medians of the rest would hide the failure."""
    return s if s and not s["failed"] else None


def section_download(args, goals, results):
    mem_size, file_size = args.memory_mib * MIB, args.file_mib * MIB
    say(f"== Downloads over loopback ({args.download_rounds} alternating rounds, medians)")
    server = BodyServer(args.build)
    work = tempfile.mkdtemp(prefix="breezeling-bench-")
    shm = "/dev/shm" if os.path.isdir("/dev/shm") and os.access("/dev/shm", os.W_OK) else None
    shm_dir = tempfile.mkdtemp(prefix="breezeling-bench-", dir=shm) if shm else None
    out = {}
    try:
        # Into memory. curl has no memory sink; writing into tmpfs (/dev/shm)
        # pays what keeping the body in memory pays (fresh pages, one copy).
        memory_target = os.path.join(shm_dir, "body") if shm_dir else os.devnull
        targets = {"curl": memory_target, "curl-null": os.devnull,
                   "basichttp-memory": "", "httpsocket-memory": ""}
        runs = compare(args, server, list(targets), mem_size, args.download_rounds, targets)
        memory = {name: summary(r, mem_size) for name, r in runs.items()}
        out["memory"] = memory
        say(f"  {args.memory_mib} MiB into memory:")
        for name, s in memory.items():
            say(f"    {download_line(f'{name:18}', s)}")
        curl = measured(memory.get("curl"))
        bh, hs = measured(memory.get("basichttp-memory")), measured(memory.get("httpsocket-memory"))
        if not shm_dir:
            say("    (no writable /dev/shm: curl wrote to /dev/null)")

        # To a file, on the temporary folder's file system; a 1 MiB body
        # gives the client's own baseline memory.
        file_targets = {"curl-file": os.path.join(work, "curl.bin"),
                        "basichttp-file": os.path.join(work, "basichttp.bin")}
        files = {}
        for size in (1 * MIB, 256 * MIB, file_size):
            rounds = 1 if size == MIB else args.file_rounds
            runs = compare(args, server, list(file_targets), size, rounds, file_targets)
            files[size] = {name: summary(r, size) for name, r in runs.items()}
        out["file"] = {str(k // MIB): v for k, v in files.items()}
        say(f"  to a file (in {work}):")
        for size, by_client in files.items():
            for name, s in by_client.items():
                say(f"    {size // MIB:5} MiB {download_line(f'{name:15}', s)}")
    finally:
        server.stop()
        shutil.rmtree(work, ignore_errors=True)
        if shm_dir:
            shutil.rmtree(shm_dir, ignore_errors=True)

    def ratio(a, b, key="seconds"):
        return a[key] / b[key] if a and b else None

    goals.at_most("basichttp-memory-time-vs-curl", ratio(bh, curl), 1.5)
    goals.at_most("basichttp-memory-peak-mib", bh["peak_mib"] if bh else None, args.memory_mib + 32)
    big = files.get(file_size, {})
    goals.at_least(file_goal(args), ratio(measured(big.get("curl-file")), measured(big.get("basichttp-file"))), 0.9)
    base = measured(files.get(MIB, {}).get("basichttp-file"))
    top = measured(big.get("basichttp-file"))
    goals.at_most("basichttp-file-peak-growth-mib",
                  top["peak_mib"] - base["peak_mib"] if top and base else None, 32)
    goals.at_most("httpsocket-memory-time-vs-curl", ratio(hs, curl), 1.5)
    results["download"] = out
    say()


# ---------------------------------------------------------------- start

class Lines:
    """Reads a stream on a thread; every line goes to the queue, and None
    at its end."""

    def __init__(self, stream, sink):
        self.thread = threading.Thread(target=self._run, args=(stream, sink), daemon=True)
        self.thread.start()

    @staticmethod
    def _run(stream, sink):
        for line in iter(stream.readline, ""):
            sink.put(line.rstrip("\n"))
        sink.put(None)


class Display:
    """A virtual X display with the paint watcher on it, and the stand-in."""

    def __init__(self, args):
        self.events = queue.Queue()
        self.procs = []
        read_fd, write_fd = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x1024x24",
                                 "-nolisten", "tcp"], pass_fds=(write_fd,),
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.procs.append(xvfb)
        os.close(write_fd)
        number = b""
        while not number.endswith(b"\n"):
            chunk = os.read(read_fd, 16)
            if not chunk:
                break
            number += chunk
        os.close(read_fd)
        if not number.strip():
            raise RuntimeError("Xvfb did not start")
        self.display = ":" + number.decode().strip()

        try:
            self._start(args)
        except BaseException:
            self.stop()
            raise

    def _start(self, args):
        # The port is built into the program, so it cannot move; a client of
        # the downloads that was given it as its own local port holds it for
        # a moment after it has ended.
        for attempt in range(20):
            standin = subprocess.Popen([os.path.join(args.build, "tools", "breezeling-standin"),
                                        "--port", str(args.standin_port), "--date", "2025-01-15"],
                                       stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
            if standin.stdout.readline().startswith("listening on"):
                break
            why = standin.stderr.read().strip()
            standin.wait()
            if attempt == 19:
                raise RuntimeError(f"the stand-in did not start on port {args.standin_port}: {why}")
            time.sleep(0.5)
        self.procs.append(standin)

        # The watcher reads the stand-in's log of replies itself, so that
        # replies and paints come in the order they happened.
        log_fd = standin.stderr.fileno()
        watch = subprocess.Popen([os.path.join(args.build, "bench", "bench_paint_watch"), str(log_fd)],
                                 stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, pass_fds=(log_fd,),
                                 env=dict(os.environ, DISPLAY=self.display))
        standin.stderr.close()
        self.procs.append(watch)
        self.watch = watch
        if watch.stdout.readline().strip() != "ready":
            raise RuntimeError("the paint watcher did not start")
        Lines(watch.stdout, self.events)

    def close_window(self, window):
        self.watch.stdin.write(f"close {window}\n")
        self.watch.stdin.flush()

    def stop(self):
        for proc in reversed(self.procs):
            if proc.poll() is None:
                proc.terminate()
                try:
                    proc.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    proc.kill()
                    proc.wait()


def cpu_ms(pid):
    """Processor time the process has used so far, in ms: all its threads,
    also those that have already ended (the kernel's own count, so other
    programs' load does not add). Read through the process's CPU clock,
    which any process of the same user may read."""
    try:
        return time.clock_gettime(((~pid) << 3) | 2) * 1e3  # the process CPU clock of pid
    except OSError:
        pass
    # Without that clock: the threads still alive (misses any that ended).
    total = 0
    try:
        for task in os.listdir(f"/proc/{pid}/task"):
            with open(f"/proc/{pid}/task/{task}/schedstat") as f:
                total += int(f.read().split()[0])
    except (OSError, ValueError, IndexError):
        return None
    return total / 1e6


QUIET_NS = 300_000_000  # no paint for this long: the window is done


class StartFailed(RuntimeError):
    pass


def start_once(display, cmd, env, shot=None):
    """Start to filled window, and the exit after a close request.

    The stand-in logs each reply just before sending it. Once the weather
    reply has gone out and no paint has followed for QUIET_NS, the window
    is filled: its time is that of the last paint, which must have come
    after the reply (a window last painted before it never showed the
    weather). Returns a dict of milliseconds from process start; raises
    StartFailed when the window was not filled.
    """
    # Anything left from the previous run is not ours.
    while not display.events.empty():
        display.events.get_nowait()
    t0 = time.monotonic_ns()
    proc = subprocess.Popen(cmd, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    answered = None
    last_paint = None
    filled = None  # the last paint after the weather reply
    windows = set()
    deadline = t0 + 20_000_000_000
    while True:
        now = time.monotonic_ns()
        if answered is not None and now - max(answered, last_paint or 0) > QUIET_NS:
            break
        if now > deadline or proc.poll() is not None:
            proc.kill()
            proc.wait()
            if now > deadline:
                raise StartFailed("no weather reply in 20 s" if answered is None else "still painting after 20 s")
            raise StartFailed("ended before the weather reply" if answered is None
                              else "ended before filling the window")
        try:
            line = display.events.get(timeout=0.05)
        except queue.Empty:
            continue
        if line is None:
            continue
        # The watcher's lines come in the order things happened: a paint
        # after the reply's log line came after the reply.
        kind, stamp, rest = line.split(" ", 2)
        if kind == "log":
            if "/breezeling/weather" in rest:
                answered, filled = int(stamp), None
        elif kind == "map":
            windows.add(rest)
        elif kind == "gone":
            windows.discard(rest)
        elif kind == "paint":
            # The last paint of the run is the filled window: nothing
            # changes on screen once the weather is shown.
            last_paint = max(last_paint or 0, int(stamp))
            if answered is not None:
                filled = int(stamp)
    cpu = cpu_ms(proc.pid)
    if shot:
        for window in windows:
            subprocess.run(["import", "-window", window, f"{shot}-{window}.png"],
                           env=dict(os.environ, DISPLAY=display.display), check=False)
    asked = time.monotonic_ns()
    for window in windows:
        display.close_window(window)
    try:
        proc.wait(timeout=10)
        exited = (time.monotonic_ns() - asked) / 1e6
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait()
        exited = None
    if filled is None:
        raise StartFailed("no paint after the weather reply")
    return {"answered": (answered - t0) / 1e6, "filled": (filled - t0) / 1e6, "exit": exited, "cpu": cpu}


def section_start(args, goals, results):
    say(f"== Start to a filled main window, program and bare Qt window alternately ({args.start_rounds} each)")
    if args.shots:
        os.makedirs(args.shots, exist_ok=True)
    # The downloads before leave gigabytes of written file for the kernel to
    # put on disk; written back during the starts, they slowed whichever
    # program was starting at the moment.
    os.sync()
    time.sleep(1)
    display = Display(args)
    homes = tempfile.mkdtemp(prefix="breezeling-bench-")
    try:
        host = f"127.0.0.1:{args.standin_port}"
        programs = {
            "breezeling": [os.path.join(args.build, "app", "breezeling")],
            "bare": [os.path.join(args.build, "bench", "bench_bare_window"), host],
        }
        envs = {}
        for name in programs:
            config = os.path.join(homes, name, "config")
            tmp = os.path.join(homes, name, "tmp")
            os.makedirs(config)
            os.makedirs(tmp)
            envs[name] = dict(os.environ, DISPLAY=display.display, QT_QPA_PLATFORM="xcb",
                              XDG_CONFIG_HOME=config, TMPDIR=tmp)
        runs = {name: [] for name in programs}
        failures = {name: {} for name in programs}  # why -> how often
        # One start each first, not counted: it makes the preferences and
        # fills the system's file caches.
        for name in programs:
            shot = os.path.join(args.shots, name) if args.shots else None
            try:
                start_once(display, programs[name], envs[name], shot)
            except StartFailed as why:
                raise RuntimeError(f"{name} did not fill its window: {why} (is {args.build} built to ask "
                                   f"127.0.0.1:{args.standin_port}?)") from None
        for _ in range(args.start_rounds):
            for name in programs:
                try:
                    runs[name].append(start_once(display, programs[name], envs[name]))
                except StartFailed as why:
                    failures[name][str(why)] = failures[name].get(str(why), 0) + 1
    finally:
        display.stop()
        shutil.rmtree(homes, ignore_errors=True)

    out = {}
    for name, list_ in runs.items():
        if failures[name]:
            whys = ", ".join(f"{why}: {count}" for why, count in failures[name].items())
            say(f"  {name}: {sum(failures[name].values())} of {args.start_rounds} starts failed ({whys})")
        if not list_:
            continue
        exits = [r["exit"] for r in list_ if r["exit"] is not None]
        cpus = [r["cpu"] for r in list_ if r["cpu"] is not None]
        out[name] = {"answered_ms": median([r["answered"] for r in list_]),
                     "filled_ms": median([r["filled"] for r in list_]),
                     "cpu_ms": median(cpus),
                     "exit_ms": median(exits)}
        s = out[name]
        exit_text = f"{s['exit_ms']:.0f} ms" if s["exit_ms"] is not None else "did not exit"
        cpu_text = f"{s['cpu_ms']:.0f} ms" if s["cpu_ms"] is not None else "?"
        say(f"  {name:11} weather answered {s['answered_ms']:7.1f} ms, window filled {s['filled_ms']:7.1f} ms "
            f"(processor {cpu_text}), exit {exit_text} after the close")
    results["start"] = out
    ratio = None
    if "breezeling" in out and "bare" in out:
        ratio = out["breezeling"]["filled_ms"] / out["bare"]["filled_ms"]
        if out["breezeling"]["cpu_ms"] and out["bare"]["cpu_ms"]:
            say(f"  processor time to the filled window: {out['breezeling']['cpu_ms'] / out['bare']['cpu_ms']:.2f}x "
                "the bare window's (steadier than wall time on a busy machine)")
    if any(failures.values()):
        # The medians of the starts that worked would hide the ones that did not.
        if ratio is not None:
            say(f"  (the filled starts alone: {ratio:.2f}x; the goal fails with the starts that failed)")
        ratio = None
    goals.at_most("start-vs-bare", ratio, 1.15)
    say()


# ---------------------------------------------------------------- main

def file_goal(args):
    if args.file_mib % 1024 == 0:
        return f"basichttp-file-throughput-vs-curl-{args.file_mib // 1024}gib"
    return f"basichttp-file-throughput-vs-curl-{args.file_mib}mib"


def expected_goals(args):
    """Each section's goals with their limits, to report those a failed
    section could not measure."""
    return {
        "parsers": [(goal, 12) for _, goal in PARSERS],
        "windows": [("window-cycles-growth-kib", 64)],
        "download": [("basichttp-memory-time-vs-curl", 1.5), ("basichttp-memory-peak-mib", args.memory_mib + 32),
                     (file_goal(args), 0.9), ("basichttp-file-peak-growth-mib", 32),
                     ("httpsocket-memory-time-vs-curl", 1.5)],
        "start": [("start-vs-bare", 1.15)],
    }


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("sections", nargs="*", metavar="SECTION",
                        help="parsers, windows, download or start (default: all)")
    parser.add_argument("--build", default="build-bench")
    parser.add_argument("--standin-port", type=int, default=48331,
                        help="the port the program in --build was built to ask")
    parser.add_argument("--repetitions", type=int, default=7)
    parser.add_argument("--min-time", default="0.1")
    parser.add_argument("--cycles", type=int, default=1000)
    parser.add_argument("--memory-mib", type=int, default=256)
    parser.add_argument("--file-mib", type=int, default=1024)
    parser.add_argument("--download-rounds", type=int, default=5)
    parser.add_argument("--file-rounds", type=int, default=3)
    parser.add_argument("--start-rounds", type=int, default=40)
    parser.add_argument("--shots", metavar="DIR",
                        help="keep a picture of each window as filled in the uncounted first start")
    args = parser.parse_args()
    known = ["parsers", "windows", "download", "start"]
    unknown = [name for name in args.sections if name not in known]
    if unknown:
        parser.error(f"unknown section {unknown[0]!r}; choose from {', '.join(known)}")
    args.sections = args.sections or known
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))

    goals, results = Goals(), {}
    sections = {"parsers": section_parsers, "windows": section_windows,
                "download": section_download, "start": section_start}
    for name in ["parsers", "windows", "download", "start"]:
        if name in args.sections:
            try:
                sections[name](args, goals, results)
            except (OSError, RuntimeError, ValueError) as error:
                say(f"{name}: {error}")
                for goal, limit in expected_goals(args)[name]:
                    if not any(line.startswith(f"goal {goal} ") for line in goals.lines):
                        goals.at_most(goal, None, limit)
    with open(os.path.join(args.build, "bench-results.json"), "w") as f:
        json.dump(results, f, indent=1)
    for line in goals.lines:
        say(line)
    return 1 if goals.over else 0


if __name__ == "__main__":
    sys.exit(main())
