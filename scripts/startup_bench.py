#!/usr/bin/env python3
"""Start-up speed, memory and idle CPU of the game, measured under Xvfb.

For each run the game starts with a fresh settings folder and
ZANBOR_REPORT_STARTUP=1, which makes it write each start-up step and the first
presented frame of the play scene to its standard error with the monotonic
clock; the time from process start (just before the fork) to that frame is
the start-up time. A few longer runs then wait for the intro to end and read
the resident memory and the CPU used while the board stands still.

    scripts/startup_bench.py [--runs 9] [--idle-runs 3] [--program build/dev/bin/zanbor]
                             [--window-manager openbox] [--windowed] [--music-off] [--roll]

Prints the medians (with min and max) and the median cost of each start-up
step. Without --window-manager the X server has none, as on a bare Xvfb: a
full-screen window then waits in vain (about 100 ms) for a manager to confirm
its state, which a desktop does at once.
"""
import argparse
import os
import shutil
import signal
import sqlite3
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TICKS = os.sysconf("SC_CLK_TCK")


def start_xvfb(geometry):
    read, write = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", geometry, "-nolisten", "tcp"],
                            pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write)
    display = b""
    while not display.endswith(b"\n"):
        chunk = os.read(read, 16)
        if not chunk:
            raise SystemExit("Xvfb did not start")
        display += chunk
    os.close(read)
    return xvfb, ":" + display.decode().strip()


def store_settings(config, windowed, music_off):
    """A fresh store starts full screen with music; --windowed and --music-off write the other choices first."""
    values = []
    if windowed:
        values.append(("Fullscreen", 0))
    if music_off:
        values.append(("Music", -1))
    if not values:
        return
    folder = os.path.join(config, "Brevant", "Zanbor")
    os.makedirs(folder)
    with sqlite3.connect(os.path.join(folder, "settings.sqlite")) as db:
        db.execute("CREATE TABLE registry(subkey TEXT NOT NULL COLLATE NOCASE, name TEXT NOT NULL COLLATE NOCASE, "
                   "type INTEGER NOT NULL, data BLOB NOT NULL, PRIMARY KEY (subkey, name)) WITHOUT ROWID")
        for name, value in values:
            db.execute("INSERT INTO registry VALUES('Config', ?, 4, ?)", (name, value.to_bytes(4, "little", signed=True)))


def launch(program, display, config, runtime):
    env = dict(os.environ, DISPLAY=display, XDG_CONFIG_HOME=config, XDG_RUNTIME_DIR=runtime,
               ZANBOR_REPORT_STARTUP="1", SDL_AUDIODRIVER=os.environ.get("SDL_AUDIODRIVER", "dummy"))
    env.pop("WAYLAND_DISPLAY", None)
    started = time.monotonic_ns()
    game = subprocess.Popen([program], cwd=os.path.dirname(program), env=env, stderr=subprocess.PIPE, text=True)
    steps = {}
    for line in game.stderr:
        parts = line.split()
        if len(parts) == 3 and parts[0] == "zanbor-startup":
            steps[parts[1]] = (int(parts[2]) - started) / 1e6
            if parts[1] == "first-colour":
                break
    return game, steps


def stop(game):
    game.send_signal(signal.SIGTERM)  # as closing the window
    try:
        return game.wait(10)
    except subprocess.TimeoutExpired:
        game.kill()
        return None


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS


def rss_mb(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024
    return 0.0


def rss_parts_mb(pid):
    """The resident memory by kind: anonymous (heap, pictures), files (libraries), shared (the window's frame)."""
    parts = {}
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            name = line.split(":")[0]
            if name in ("RssAnon", "RssFile", "RssShmem"):
                parts[name] = int(line.split()[1]) / 1024
    return parts


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--program", default=os.path.join(ROOT, "build/dev/bin/zanbor"))
    parser.add_argument("--runs", type=int, default=9)
    parser.add_argument("--idle-runs", type=int, default=3)
    parser.add_argument("--intro-seconds", type=float, default=6.0, help="wait for the intro to end")
    parser.add_argument("--idle-seconds", type=float, default=10.0)
    parser.add_argument("--screen", default="1024x768x24", help="Xvfb screen geometry")
    parser.add_argument("--window-manager", default="", help="a window manager to run on the display (e.g. openbox)")
    parser.add_argument("--windowed", action="store_true", help="start in a window instead of full screen")
    parser.add_argument("--music-off", action="store_true", help="start with the music option off")
    parser.add_argument("--roll", action="store_true",
                        help="before the idle measurement type initials and roll once (needs xdotool), so that "
                             "the initials box and its blinking caret are gone and the board stands still")
    args = parser.parse_args()
    args.program = os.path.abspath(args.program)
    if not os.path.exists(args.program):
        raise SystemExit(f"{args.program}: build the game first")
    if args.window_manager and not shutil.which(args.window_manager):
        raise SystemExit(f"{args.window_manager}: not installed")
    if args.roll and not shutil.which("xdotool"):
        raise SystemExit("xdotool: not installed")

    xvfb, display = start_xvfb(args.screen)
    manager = None
    if args.window_manager:
        manager = subprocess.Popen([args.window_manager], env=dict(os.environ, DISPLAY=display),
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(1.0)  # until it has taken the screen
    firsts, colours, per_step, rss, cpu, codes, parts = [], [], {}, [], [], [], []
    try:
        for run in range(args.runs + args.idle_runs):
            with tempfile.TemporaryDirectory() as config, tempfile.TemporaryDirectory() as runtime:
                store_settings(config, args.windowed, args.music_off)
                game, steps = launch(args.program, display, config, runtime)
                if "first-frame" not in steps:
                    print(f"run {run}: no first frame reported (exit {game.wait()})", file=sys.stderr)
                    continue
                firsts.append(steps["first-frame"])
                if "first-colour" in steps:
                    colours.append(steps["first-colour"])
                previous = 0.0
                for name, at in steps.items():
                    per_step.setdefault(name, []).append(at - previous)
                    previous = at
                if run >= args.runs:
                    time.sleep(args.intro_seconds)
                    rss.append(rss_mb(game.pid))
                    parts.append(rss_parts_mb(game.pid))
                    if args.roll:
                        subprocess.run(["xdotool", "key", "--delay", "100", "a", "b", "Return"],
                                       env=dict(os.environ, DISPLAY=display), check=False)
                        time.sleep(6.0)  # the dice roll and settle
                    before, clock = cpu_seconds(game.pid), time.monotonic()
                    time.sleep(args.idle_seconds)
                    cpu.append(100.0 * (cpu_seconds(game.pid) - before) / (time.monotonic() - clock))
                codes.append(stop(game))
    finally:
        if manager:
            manager.terminate()
            manager.wait()
        xvfb.terminate()
        xvfb.wait()

    def spread(values, unit):
        return (f"median {statistics.median(values):.1f} {unit} "
                f"(min {min(values):.1f}, max {max(values):.1f}, {len(values)} runs)")

    mode = "windowed" if args.windowed else "full screen"
    music = "off" if args.music_off else "on"
    print(f"{mode}, music {music}, window manager: {args.window_manager or 'none'}; exit codes: {sorted(set(codes))}; "
          f"load average {os.getloadavg()[0]:.1f}")
    if firsts:
        print(f"first frame of the play scene: {spread(firsts, 'ms')} after the process started")
        if colours:
            print(f"first frame with colour (the fade-in's second step): {spread(colours, 'ms')}")
        print("median cost of each step (ms since the step before):")
        for name, values in per_step.items():
            print(f"  {name:12s} {statistics.median(values):8.1f}")
    if rss:
        print(f"resident memory after the intro: {spread(rss, 'MB')}")
        if all(parts):
            kinds = (("RssAnon", "anonymous"), ("RssFile", "files"), ("RssShmem", "shared"))
            print("  of which (medians): " + ", ".join(
                f"{label} {statistics.median(p.get(key, 0.0) for p in parts):.1f} MB" for key, label in kinds))
    if cpu:
        state = "after a roll, the board still" if args.roll else "after the intro, the caret blinking"
        print(f"CPU while idle {state} ({args.idle_seconds:.0f} s): {spread(cpu, '% of one core')}")


if __name__ == "__main__":
    main()
