#!/usr/bin/env python3
"""Random play of the real game under Xvfb, to shake out crashes and sanitizer reports.

Starts the game (best a -DZANBOR_SANITIZE=ON build) on a private Xvfb and drives it with
xdotool for the given time: keys of the key table (rolls, categories, lines, undo, help,
new game, options, records, about, quit, the coach, keyboard play, dialog answers, initials
and editing keys), clicks on dice, cells, buttons, arrows and anywhere, double and right
clicks, drags within rows and out of them, drags cut short by Esc or by a dialog, bursts of
input while a page fades in or out, and the pages' own keys and clicks. When the game ends it
is started again, now and then with a fresh settings folder (a records page with no records),
with DiceMoveMode 1 (swaps by right clicks) or with fast dice.

    scripts/random_play.py [--minutes 20] [--program build/asan/bin/zanbor] [--seed N]
                           [--logs FOLDER] [--calm 0.4] [--shots SECONDS]

Counts actions, runs, games started and finished (from the settings store) and crashes (an
exit by a signal or a code other than 0, or a sanitizer report on the standard error). Each
run's standard error is kept in the log folder; every report found is printed at the end.
Exits with 1 when a run crashed.
"""
import argparse
import os
import random
import shutil
import signal
import sqlite3
import subprocess
import sys
import tempfile
import time

from startup_bench import start_xvfb  # the same private X server the benchmark starts

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
REPORT_MARKS = ("ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:", "SUMMARY: UndefinedBehavior")

# Design coordinates (the 800 x 600 layout).
DICE = [(300 + 50 * c, 365 - 48 * r) for r in range(5) for c in range(5)]
CELLS = [(112, 52 + 80 * i) for i in range(6)] + [(686, 52 + 80 * i) for i in range(6)]
BUTTONS = {"roll": (400, 118), "options": (57, 547), "new": (162, 547), "records": (586, 547),
           "about": (658, 547), "quit": (730, 547), "help": (533, 422)}
UNDO = [(x + 71, y - 17) for x, y in CELLS]  # beside each cell's value
ARROWS = [(237, 116)] + [(300 + 50 * i, 118) for i in range(5)] + [(555, 116)]
PAD_KEYS = ["KP_1", "KP_2", "KP_3", "KP_4", "KP_5", "KP_6", "KP_7", "KP_8", "KP_9", "KP_Multiply", "KP_Add",
            "KP_Separator"]
PAGE_KEYS = ["KP_Divide", "0", "F1"]
EDIT_KEYS = ["BackSpace", "Home", "End", "Left", "Right", "Delete", "Tab"]
# Action weights: wild play tries everything; calm play finishes games.
WILD = {"turn": 30, "roll": 8, "score": 8, "line": 4, "hold": 6, "drag": 6, "drag-away": 2, "drag-cut": 2, "undo": 2,
        "click-cell": 4, "click-button": 2, "click-arrow": 3, "click-any": 4, "double": 2, "right": 3, "page": 1,
        "page-burst": 2, "dialog": 1, "answer": 2, "initials": 3, "edit": 1, "help": 1, "other": 2,
        "options-page": 2, "records-page": 2, "about-page": 2, "keyboard": 6, "coach": 2}
CALM = {"turn": 40, "hold": 4, "drag": 4, "undo": 1, "click-cell": 3, "line": 2, "score": 2, "right": 1,
        "options-page": 1, "records-page": 1, "about-page": 1, "initials": 1}
# Keyboard play: letters score, digits hold (first half), arrows and Space move and swap (second
# half), F2 to F4 stand for the pad's options, new game and help, T asks the coach, V its review.
KEYBOARD_KEYS = list("abcdefghijkl") + ["1", "2", "3", "4", "5", "Left", "Right", "Up", "Down", "space", "F2", "F3",
                                        "F4", "t", "v"]
OTHER_KEYS = ["Prior", "Next", "Insert", "F5", "F10", "F12", "ctrl+F8", "alt+Return",
              "shift+Return", "KP_Enter", "KP_0", "comma", "period", "minus"]


def store_path(config):
    return os.path.join(config, "Brevant", "Zanbor", "settings.sqlite")


def read_counts(config):
    """GamesStartedAll and GamesFinishedAll from the settings store (0 when absent or busy)."""
    path = store_path(config)
    if not os.path.exists(path):
        return 0, 0
    try:
        with sqlite3.connect(f"file:{path}?mode=ro", uri=True, timeout=0.5) as db:
            rows = dict(db.execute("SELECT name, data FROM registry WHERE subkey = 'Config' AND name IN "
                                   "('GamesStartedAll', 'GamesFinishedAll')").fetchall())
    except sqlite3.Error:
        return None
    value = lambda name: int.from_bytes(rows[name], "little", signed=True) if name in rows else 0
    return value("GamesStartedAll"), value("GamesFinishedAll")


def write_setting(config, name, number):
    folder = os.path.dirname(store_path(config))
    os.makedirs(folder, exist_ok=True)
    with sqlite3.connect(store_path(config)) as db:
        db.execute("CREATE TABLE IF NOT EXISTS registry(subkey TEXT NOT NULL COLLATE NOCASE, name TEXT NOT NULL "
                   "COLLATE NOCASE, type INTEGER NOT NULL, data BLOB NOT NULL, PRIMARY KEY (subkey, name)) "
                   "WITHOUT ROWID")
        db.execute("INSERT OR REPLACE INTO registry VALUES('Config', ?, 4, ?)", (name, number.to_bytes(4, "little")))


class Player:
    def __init__(self, display, rng):
        self.env = dict(os.environ, DISPLAY=display)
        self.rng = rng
        self.actions = 0
        self.origin = (0, 0)
        self.wid = None
        self.fast = False  # fast dice settle within a second
        self.calm = False  # a calm run plays on purpose, without new games or quitting, till a game ends

    def xdo(self, *args):
        subprocess.run(["xdotool", *args], env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def find_window(self, game, timeout=60):
        """Waits for the game's window; returns False when the game ended or none came."""
        end = time.monotonic() + timeout
        while time.monotonic() < end and game.poll() is None:
            out = subprocess.run(["xdotool", "search", "--name", "^Zanbor$"], env=self.env, capture_output=True,
                                 text=True).stdout.split()
            for wid in out:
                if self.measure(wid):
                    self.xdo("windowfocus", wid)
                    return True
            time.sleep(0.2)
        return False

    def measure(self, wid=None):
        """Takes the window's place (full screen shows the layout from (0, 0), a window from (3, 12))."""
        self.wid = wid or self.wid
        geo = subprocess.run(["xdotool", "getwindowgeometry", "--shell", self.wid], env=self.env,
                             capture_output=True, text=True).stdout
        fields = dict(line.split("=", 1) for line in geo.split() if "=" in line)
        if not fields.get("WIDTH") or int(fields["WIDTH"]) <= 100:
            return False
        full = int(fields["WIDTH"]) >= 800
        self.origin = (int(fields["X"]) - (0 if full else 3), int(fields["Y"]) - (0 if full else 12))
        return True

    def at(self, x, y, jitter=0):
        r = self.rng
        return str(self.origin[0] + x + r.randint(-jitter, jitter)), str(self.origin[1] + y + r.randint(-jitter, jitter))

    def key(self, name):
        self.xdo("key", "--delay", str(self.rng.choice([0, 10, 40])), name)

    def click(self, x, y, button=1, jitter=6, repeat=1):
        self.xdo("mousemove", *self.at(x, y, jitter), "click", "--repeat", str(repeat), "--delay",
                 str(self.rng.choice([20, 60, 150])), str(button))

    def drag(self, start, end, cut=None):
        r = self.rng
        self.xdo("mousemove", *self.at(*start, 8), "mousedown", "1")
        steps = r.randint(1, 6)
        for i in range(1, steps + 1):
            x = start[0] + (end[0] - start[0]) * i // steps
            y = start[1] + (end[1] - start[1]) * i // steps
            self.xdo("mousemove", *self.at(x, y, 4))
            time.sleep(r.choice([0, 0.01, 0.05]))
            if cut and i == steps // 2 + 1:
                self.key(cut)
        self.xdo("mouseup", "1")

    # One random action; returns nothing. The weights lean towards play so that games finish.
    def act(self):
        r = self.rng
        weights = CALM if self.calm else WILD
        choice = r.choices(list(weights), list(weights.values()))[0]
        self.actions += 1
        if choice == "turn":
            # A hand played on purpose, so that games get finished: roll (and maybe hold and roll
            # again) once the dice have settled, pick a line (second half), score it.
            for again in range(r.choice([1, 1, 2] if self.calm else [1, 1, 2, 3])):
                if again:
                    for _ in range(r.randint(0, 3)):
                        self.click(*DICE[r.randrange(5) * 5 + r.randrange(5)], jitter=4)
                self.key("Return")
                time.sleep(r.uniform(1.2, 1.8) if self.fast else r.uniform(3.9, 4.6))  # normal dice: 0.4 s apart, 2.1 s rolls
            self.key(str(r.randint(1, 7)))
            if r.random() < 0.3:
                row = r.randrange(5)
                a, b = r.sample(range(5), 2)
                self.drag(DICE[row * 5 + a], DICE[row * 5 + b])
            # Categories in a random order until one takes the hand: after a score the next
            # keys are refused (first half) or score the next selected line (second half).
            keys = r.sample(PAD_KEYS, len(PAD_KEYS) if self.calm else r.randint(1, len(PAD_KEYS)))
            for key in keys:
                self.xdo("key", key)
            # Two pairs also by its cell, since the pad's separator key may be missing from the
            # X server's keymap.
            if self.calm or r.random() < 0.5:
                self.click(*(CELLS[11] if self.calm else r.choice(CELLS)), jitter=20)
            self.actions += 2 + len(keys)
        elif choice == "roll":
            self.key("Return") if r.random() < 0.8 else self.click(*BUTTONS["roll"])
        elif choice == "score":
            self.key(r.choice(PAD_KEYS))
        elif choice == "line":
            self.key(str(r.randint(1, 7)))
        elif choice == "hold":
            self.click(*r.choice(DICE))
        elif choice == "drag":
            row = r.randrange(5)
            a, b = r.sample(range(5), 2)
            self.drag(DICE[row * 5 + a], DICE[row * 5 + b])
        elif choice == "drag-away":
            self.drag(r.choice(DICE), (r.randint(0, 799), r.randint(0, 599)))
        elif choice == "drag-cut":
            row = r.randrange(5)
            a, b = r.sample(range(5), 2)
            self.drag(DICE[row * 5 + a], DICE[row * 5 + b], cut=r.choice(["Escape", "KP_Decimal", "KP_Divide", "0",
                                                                           "F1", "Return", "u"]))
        elif choice == "undo":
            self.key("u") if r.random() < 0.7 else self.click(*r.choice(UNDO), jitter=3)
        elif choice == "click-cell":
            self.click(*r.choice(CELLS), jitter=25)
        elif choice == "click-button":
            self.click(*BUTTONS[r.choice(list(BUTTONS))])
        elif choice == "click-arrow":
            self.click(*r.choice(ARROWS))
        elif choice == "click-any":
            self.click(r.randint(0, 799), r.randint(0, 599), jitter=0)
        elif choice == "double":
            self.click(*r.choice(DICE + CELLS + list(BUTTONS.values())), repeat=2)
        elif choice == "right":
            self.click(*r.choice(DICE), button=3)
        elif choice == "page":
            self.key(r.choice(PAGE_KEYS))
        elif choice == "page-burst":
            # A page opened or closed, then input at once, while the fade runs.
            self.key(r.choice(PAGE_KEYS + ["Escape", "Return"]))
            for _ in range(r.randint(2, 8)):
                if r.random() < 0.5:
                    self.xdo("key", "--delay", "0", r.choice(PAD_KEYS + PAGE_KEYS + ["Escape", "Return", "a", "b",
                                                                                   "h", "i", "d", "y", "n", "u"]))
                else:
                    self.xdo("mousemove", *self.at(r.randint(0, 799), r.randint(0, 599)), "click", "1")
        elif choice == "keyboard":
            for _ in range(r.randint(1, 4)):
                self.key(r.choice(KEYBOARD_KEYS))
        elif choice == "coach":
            # The coach's advice (its worker thread) and what cuts it short.
            self.key(r.choice(["t", "v"]))
            time.sleep(r.choice([0, 0.1, 0.5, 1.5]))
            self.key(r.choice(["t", "Return", "Escape", "KP_Decimal", "F1", "u"] + PAD_KEYS))
        elif choice == "dialog":
            self.key(r.choice(["KP_Decimal", "Escape"]))
        elif choice == "answer":
            self.key(r.choice(["y", "n", "n", "1", "0", "0", "Return", "Escape", "Escape"]))
        elif choice == "initials":
            self.key(r.choice("abcdefghijklmnopqrstuvwxyz"))
        elif choice == "edit":
            self.key(r.choice(EDIT_KEYS))
        elif choice == "help":
            self.key("KP_Subtract") if r.random() < 0.6 else self.click(*BUTTONS["help"])
        elif choice == "other":
            self.key(r.choice(OTHER_KEYS + ["k", "q", "x"]))
        elif choice == "options-page":
            self.key("KP_Divide")
            time.sleep(r.choice([0, 0.3, 1.2]))
            for _ in range(r.randint(1, 6)):
                what = r.random()
                if what < 0.4:
                    self.key(r.choice(list("abcdefghij123456789") + list("QWERTY") + EDIT_KEYS + ["Up", "Down", "space"]))
                elif what < 0.7:
                    y = r.choice([102, 171])
                    self.drag((r.randint(300, 500), y), (r.randint(260, 540), y + r.randint(-20, 20)))
                else:
                    self.click(r.randint(250, 700), r.randint(200, 470), jitter=0)
            self.key(r.choice(["Return", "Escape", "Return"]))
        elif choice == "records-page":
            self.key("0")
            time.sleep(r.choice([0, 0.3, 1.2]))
            for _ in range(r.randint(1, 4)):
                self.key(r.choice(["h", "i", "b", "y", "n", "KP_8", "KP_9", "KP_2", "8", "9", "2"]))
                if r.random() < 0.3:
                    self.click(r.randint(200, 600), r.randint(470, 545), jitter=0)
            self.key("Escape")
        elif choice == "about-page":
            self.key("F1")
            time.sleep(r.choice([0, 0.3, 1.2]))
            for _ in range(r.randint(1, 4)):
                self.key(r.choice(["a", "d", "b", "KP_1", "KP_2", "KP_4", "1", "2", "4"]))
                if r.random() < 0.4:
                    self.click(r.randint(90, 790), r.randint(80, 560), jitter=0)
            self.key("Escape")
        time.sleep(r.choice([0, 0.02, 0.05, 0.1, 0.2]))


def sanitizer_reports(text):
    reports, lines = [], text.splitlines()
    for i, line in enumerate(lines):
        if any(mark in line for mark in REPORT_MARKS):
            reports.append("\n".join(lines[i:i + 40]))
    return reports


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--minutes", type=float, default=20)
    parser.add_argument("--program", default=os.path.join(ROOT, "build", "asan", "bin", "zanbor"))
    parser.add_argument("--seed", type=int, default=None)
    parser.add_argument("--logs", default=None)
    parser.add_argument("--calm", type=float, default=0.4, help="the share of runs that play calmly")
    parser.add_argument("--shots", type=float, default=0, help="a screenshot into the logs every this many seconds")
    args = parser.parse_args()
    seed = args.seed if args.seed is not None else random.randrange(1 << 30)
    rng = random.Random(seed)
    program = os.path.abspath(args.program)
    logs = args.logs or tempfile.mkdtemp(prefix="zanbor-random-")
    os.makedirs(logs, exist_ok=True)
    work = tempfile.mkdtemp(prefix="zanbor-random-home-")
    xvfb, display = start_xvfb("800x600x24")
    player = Player(display, rng)
    suppressions = os.path.join(ROOT, "tests", "lsan.supp")
    env = dict(os.environ, DISPLAY=display, SDL_AUDIODRIVER="dummy", XDG_RUNTIME_DIR=work,
               ASAN_OPTIONS="detect_leaks=1", UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1",
               LSAN_OPTIONS=f"suppressions={suppressions}:print_suppressions=0")
    env.pop("WAYLAND_DISPLAY", None)
    print(f"seed {seed}, display {display}, logs in {logs}", flush=True)

    deadline = time.monotonic() + args.minutes * 60
    runs = crashes = started = finished = 0
    reports = []
    config = None
    try:
        while time.monotonic() < deadline:
            if config is None or rng.random() < 0.25:
                config = tempfile.mkdtemp(prefix="config-", dir=work)  # a fresh store: no records yet
                if rng.random() < 0.3:
                    write_setting(config, "DiceMoveMode", 1)
                player.fast = rng.random() < 0.5
                if player.fast:
                    write_setting(config, "DiceSpeed", 1)
            env["XDG_CONFIG_HOME"] = config
            runs += 1
            player.calm = calm = rng.random() < args.calm
            errfile = os.path.join(logs, f"run-{runs:03d}.stderr")
            with open(errfile, "w") as err:
                game = subprocess.Popen([program], cwd=os.path.dirname(program), env=env, stdout=subprocess.DEVNULL,
                                        stderr=err)
                last = read_counts(config) or (0, 0)
                if player.find_window(game):
                    polled = shot = time.monotonic()
                    while game.poll() is None and time.monotonic() < deadline:
                        player.act()
                        if args.shots and time.monotonic() - shot > args.shots:
                            shot = time.monotonic()
                            subprocess.run(["import", "-window", "root", os.path.join(logs, f"shot-{runs:03d}-"
                                            f"{player.actions:05d}.png")], env=player.env, stderr=subprocess.DEVNULL)
                        if time.monotonic() - polled > 1:
                            polled = time.monotonic()
                            player.measure()
                            now = read_counts(config)
                            if now:
                                # Erased records lower the counts; only rises are counted.
                                started += max(0, now[0] - last[0])
                                finished += max(0, now[1] - last[1])
                                if now[1] > last[1]:
                                    player.calm = False
                                last = now
                if game.poll() is None:
                    game.send_signal(signal.SIGTERM)  # the time is up: end as closing the window does
                try:
                    code = game.wait(60)
                except subprocess.TimeoutExpired:
                    game.kill()
                    code = game.wait()
                    print(f"run {runs}: did not end within a minute of SIGTERM", flush=True)
            now = read_counts(config)
            if now:
                started += max(0, now[0] - last[0])
                finished += max(0, now[1] - last[1])
            with open(errfile) as err:
                found = sanitizer_reports(err.read())
            if code != 0 or found:
                crashes += 1
                reports += found
                print(f"run {runs}: exit code {code}, {len(found)} sanitizer report(s), see {errfile}", flush=True)
            print(f"run {runs} ({'calm' if calm else 'wild'}) ended (code {code}); actions {player.actions}, games started {started}, "
                  f"finished {finished}", flush=True)
    finally:
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(work, ignore_errors=True)

    print(f"\n{args.minutes:g} minutes: {player.actions} actions, {runs} runs, {started} games started, "
          f"{finished} games finished, {crashes} crashed runs")
    for report in reports:
        print("\n" + report)
    return 1 if crashes else 0


if __name__ == "__main__":
    sys.exit(main())
