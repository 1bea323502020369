#!/usr/bin/env python3
"""Start-up speed, memory and idle CPU of the game, measured under Xvfb.

For each run the game starts with a fresh settings folder and
ZANBOR_REPORT_STARTUP=1, which makes it write each start-up step and the first
presented frame of the play scene to its standard error with the monotonic
clock; the time from process start (just before the fork) to that frame is
the start-up time. A few longer runs then wait for the intro to end and read
the resident memory and the CPU used while the board stands still.

    scripts/startup_bench.py [--runs 9] [--idle-runs 3] [--program build/dev/bin/zanbor]

Prints the medians and the median cost of each start-up step.
"""
import argparse
import os
import signal
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
            if parts[1] == "first-frame":
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


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--program", default=os.path.join(ROOT, "build/dev/bin/zanbor"))
    parser.add_argument("--runs", type=int, default=9)
    parser.add_argument("--idle-runs", type=int, default=3)
    parser.add_argument("--intro-seconds", type=float, default=6.0, help="wait for the intro to end")
    parser.add_argument("--idle-seconds", type=float, default=5.0)
    parser.add_argument("--screen", default="1024x768x24", help="Xvfb screen geometry")
    args = parser.parse_args()
    if not os.path.exists(args.program):
        raise SystemExit(f"{args.program}: build the game first")

    xvfb, display = start_xvfb(args.screen)
    firsts, per_step, rss, cpu, codes = [], {}, [], [], []
    try:
        for run in range(args.runs + args.idle_runs):
            with tempfile.TemporaryDirectory() as config, tempfile.TemporaryDirectory() as runtime:
                game, steps = launch(args.program, display, config, runtime)
                if "first-frame" not in steps:
                    print(f"run {run}: no first frame reported (exit {game.wait()})", file=sys.stderr)
                    continue
                firsts.append(steps["first-frame"])
                previous = 0.0
                for name, at in steps.items():
                    per_step.setdefault(name, []).append(at - previous)
                    previous = at
                if run >= args.runs:
                    time.sleep(args.intro_seconds)
                    rss.append(rss_mb(game.pid))
                    before, clock = cpu_seconds(game.pid), time.monotonic()
                    time.sleep(args.idle_seconds)
                    cpu.append(100.0 * (cpu_seconds(game.pid) - before) / (time.monotonic() - clock))
                codes.append(stop(game))
    finally:
        xvfb.terminate()
        xvfb.wait()

    print(f"runs: {len(firsts)}, exit codes: {sorted(set(codes))}")
    if firsts:
        print(f"first frame of the play scene: median {statistics.median(firsts):.1f} ms "
              f"(min {min(firsts):.1f}, max {max(firsts):.1f})")
        print("median cost of each step (ms since the step before):")
        for name, values in per_step.items():
            print(f"  {name:12s} {statistics.median(values):8.1f}")
    if rss:
        print(f"resident memory after the intro: median {statistics.median(rss):.1f} MB")
    if cpu:
        print(f"CPU while idle after the intro: median {statistics.median(cpu):.1f} % of one core")


if __name__ == "__main__":
    main()
