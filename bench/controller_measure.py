#!/usr/bin/env python3
"""The game controller's cost on the desktop, measured under Xvfb, side by side in one run.

  controller_measure.py [-b BUILD] [-t TODAY] [-n RUNS] [-s SECONDS] [-l LONG] [-k KEEP]

1. With a controller against without one: the game with SDL's virtual controller plugged in
   (BUILD/tests/pad_game, fed "plug") against the same program with none, alternating, in
   each state: the question, play (a piece falling), paused, game over; CPU of every thread
   over SECONDS (default 10) from the scheduler's nanosecond counts.
2. Without a controller against today's game: BUILD/programs/vorbix against
   TODAY/programs/vorbix (a Release build of the game before controllers), alternating runs
   of LONG seconds (default 120) each, at the question and paused, where the game uses next
   to nothing and the look for a controller once a second shows most.
3. From a controller's press to the game's key: in play, the virtual D-pad's left and right
   pressed at random moments; the trace's pad-press (the button set on the virtual
   controller) to pad-key (the game took the key), median and 99th percentile.
RUNS (default 3) runs of each. Needs xvfb and xdotool; BUILD and TODAY default to
build-bench and build-today."""
import argparse
import os
import random
import shutil
import statistics
import subprocess
import sys
import tempfile
import time


def options():
    parser = argparse.ArgumentParser()
    parser.add_argument("-b", dest="build", default="build-bench")
    parser.add_argument("-t", dest="today", default="build-today")
    parser.add_argument("-n", dest="runs", type=int, default=3)
    parser.add_argument("-s", dest="seconds", type=float, default=10.0)
    parser.add_argument("-l", dest="long", type=float, default=120.0)
    parser.add_argument("-k", dest="keep", default=None)
    parser.add_argument("--skip", default="", help="comma-separated parts to leave out: pad,today,latency")
    return parser.parse_args()


def start_display(work):
    display_file = open(os.path.join(work, "display"), "w+")
    xvfb = subprocess.Popen(
        ["Xvfb", "-displayfd", str(display_file.fileno()), "-screen", "0", "1024x768x24", "-noreset", "-nolisten",
         "tcp"],
        pass_fds=(display_file.fileno(),), stderr=subprocess.DEVNULL)
    for _ in range(100):
        display_file.seek(0)
        number = display_file.read().strip()
        if number:
            os.environ["DISPLAY"] = ":" + number
            return xvfb
        time.sleep(0.05)
    sys.exit("Xvfb did not start")


def window(title, timeout=10.0):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"],
                               capture_output=True, text=True).stdout.split()
        if found:
            return found[0]
        time.sleep(0.05)
    return None


def key(name):
    subprocess.run(["xdotool", "keydown", name])
    time.sleep(0.05)
    subprocess.run(["xdotool", "keyup", name])


def cpu_ns(pid):
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/schedstat") as stat:
                total += int(stat.read().split()[0])
        except OSError:
            pass
    return total


def cpu_percent(pid, seconds):
    before, start = cpu_ns(pid), time.monotonic()
    time.sleep(seconds)
    after, end = cpu_ns(pid), time.monotonic()
    return 100.0 * (after - before) / 1e9 / (end - start)


class Game:
    """One game program under the display; the pad game reads its controller's lines on stdin."""

    def __init__(self, program, work, name, pad=False):
        self.trace = os.path.join(work, name + ".trace")
        env = dict(os.environ, VORBIX_TRACE=self.trace)
        command = [program, os.path.join(work, name + ".txt")] if pad else [program]
        self.process = subprocess.Popen(command, stdin=subprocess.PIPE if pad else subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env, text=True)
        if window("Difficulty") is None:
            sys.exit(f"{program}: no question")

    def pad(self, line):
        self.process.stdin.write(line + "\n")
        self.process.stdin.flush()

    def ticks(self):
        with open(self.trace) as trace:
            return sum(1 for line in trace if line.endswith(" tick1\n"))

    def answer_and_play(self):
        key("Escape")
        if window("Vorbix") is None:
            sys.exit("no game window")
        time.sleep(1.0)

    def to_game_over(self):
        last, quiet = -1, 0
        while quiet < 10:
            key("Down")
            time.sleep(0.05)
            count = self.ticks()
            quiet = quiet + 1 if count == last else 0
            last = count
        time.sleep(1.0)

    def close(self):
        self.process.kill()
        self.process.wait()


STATES = ["question", "play", "paused", "game over"]


def click_pause():
    subprocess.run(["xdotool", "mousemove", "--window", window("Vorbix"), "110", "100", "click", "1"])


def state_cpu(game, seconds):
    """CPU in each state, in order: the question, play, paused, game over."""
    figures = {}
    time.sleep(1.0)
    figures["question"] = cpu_percent(game.process.pid, seconds)
    game.answer_and_play()
    figures["play"] = cpu_percent(game.process.pid, seconds)
    key("p")
    time.sleep(0.5)
    figures["paused"] = cpu_percent(game.process.pid, seconds)
    click_pause()
    time.sleep(0.3)
    game.to_game_over()
    figures["game over"] = cpu_percent(game.process.pid, seconds)
    return figures


def controller_against_none(args, work):
    pad_game = os.path.join(args.build, "tests", "pad_game")
    rows = {kind: {state: [] for state in STATES} for kind in ("with", "without")}
    for run in range(args.runs):
        for kind in ("with", "without") if run % 2 == 0 else ("without", "with"):
            game = Game(pad_game, work, f"pad-{kind}-{run}", pad=True)
            if kind == "with":
                game.pad("plug")
            figures = state_cpu(game, args.seconds)
            game.close()
            for state in STATES:
                rows[kind][state].append(figures[state])
            print(f"run {run} {kind:7}", " ".join(f"{s}={figures[s]:.3f}" for s in STATES), flush=True)
    print("\nCPU, % of one core (median of", args.runs, "runs; min-max)")
    print("| state | with a controller | without | difference |")
    print("|---|---|---|---|")
    for state in STATES:
        w, wo = rows["with"][state], rows["without"][state]
        print(f"| {state} | {statistics.median(w):.3f} ({min(w):.3f}-{max(w):.3f}) | "
              f"{statistics.median(wo):.3f} ({min(wo):.3f}-{max(wo):.3f}) | "
              f"{statistics.median(w) - statistics.median(wo):+.3f} |")


def against_today(args, work):
    programs = {"today": os.path.join(args.today, "programs", "vorbix"),
                "new": os.path.join(args.build, "programs", "vorbix")}
    rows = {kind: {"question": [], "paused": []} for kind in programs}
    for run in range(args.runs):
        for kind in ("today", "new") if run % 2 == 0 else ("new", "today"):
            game = Game(programs[kind], work, f"{kind}-{run}")
            time.sleep(1.0)
            rows[kind]["question"].append(cpu_percent(game.process.pid, args.long))
            game.answer_and_play()
            key("p")
            time.sleep(0.5)
            rows[kind]["paused"].append(cpu_percent(game.process.pid, args.long))
            game.close()
            print(f"run {run} {kind:5} question={rows[kind]['question'][-1]:.4f} paused={rows[kind]['paused'][-1]:.4f}",
                  flush=True)
    print(f"\nCPU without a controller against today's game, % of one core over {args.long:.0f} s "
          f"(median of {args.runs} runs; min-max)")
    print("| state | today's game | with controller support, none connected | difference |")
    print("|---|---|---|---|")
    for state in ("question", "paused"):
        t, n = rows["today"][state], rows["new"][state]
        print(f"| {state} | {statistics.median(t):.4f} ({min(t):.4f}-{max(t):.4f}) | "
              f"{statistics.median(n):.4f} ({min(n):.4f}-{max(n):.4f}) | "
              f"{statistics.median(n) - statistics.median(t):+.4f} |")


def trace_lines(path):
    with open(path) as trace:
        return [(int(line.split()[0]), line.split()[1]) for line in trace if len(line.split()) == 2]


def latency(args, work):
    pad_game = os.path.join(args.build, "tests", "pad_game")
    delays = []
    looks = []
    for run in range(args.runs):
        game = Game(pad_game, work, f"latency-{run}", pad=True)
        game.pad("plug")
        game.answer_and_play()
        end = time.monotonic() + 15.0
        while time.monotonic() < end:
            button = random.choice(["left", "right"])
            game.pad(f"press {button}")
            time.sleep(random.uniform(0.06, 0.12))
            game.pad(f"release {button}")
            time.sleep(random.uniform(0.03, 0.12))
        game.close()
        press = None
        last_look = None
        for at, event in trace_lines(game.trace):
            if event == "pad-press":
                press = at
            elif event == "pad-key" and press is not None:
                delays.append((at - press) / 1000.0)
                press = None
            elif event == "pad-look":
                if last_look is not None:
                    looks.append((at - last_look) / 1000.0)
                last_look = at
    delays.sort()
    looks.sort()
    p99 = delays[min(len(delays) - 1, int(0.99 * len(delays)))]
    print(f"\nFrom a controller's press to the game's key, in play ({len(delays)} presses): "
          f"median {statistics.median(delays):.1f} ms, 99th percentile {p99:.1f} ms, most {delays[-1]:.1f} ms; "
          f"looks at the controller: median every {statistics.median(looks):.1f} ms")


def main():
    args = options()
    skip = set(filter(None, args.skip.split(",")))
    work = args.keep or tempfile.mkdtemp()
    os.makedirs(work, exist_ok=True)
    xvfb = start_display(work)
    try:
        print(f"controller_measure: display {os.environ['DISPLAY']}, {args.runs} runs, windows of "
              f"{args.seconds:.0f} s and {args.long:.0f} s; load {os.getloadavg()[0]:.2f}", flush=True)
        if "pad" not in skip:
            controller_against_none(args, work)
        if "latency" not in skip:
            latency(args, work)
        if "today" not in skip:
            against_today(args, work)
    finally:
        xvfb.kill()
        if not args.keep:
            shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
