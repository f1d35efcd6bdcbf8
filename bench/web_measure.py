"""Measures the page in each browser engine the tests drive (headless Chromium, headless
Firefox ESR, WebKitGTK's MiniBrowser under Xvfb), side by side in one run, each beside the
baseline page in the same engine: page load to the question, the CPU of the page's main
thread in play against the baseline page's, a press of P to the frame that shows Pause, a
gravity tick in the game's worker to the frame that shows it, and the gravity period the page
keeps. In Chromium also what its DevTools tell (the main thread's task time, the game's
worker, every process), the desktop game under Xvfb beside it, and a phone's viewport (390 x
844 at ratio 3, touch): load and offline reload to the question, a touch's effect, the CPU in
play. Prints a table per engine, in Markdown, for RESULTS.md.
  /usr/bin/python3 bench/web_measure.py [SITE] [RUNS] [DESKTOP_GAME] [ENGINE...]
    (build/web/site, 3 runs, build/release/programs/vorbix, every engine by default)
Run it on a quiet machine after ./scripts/web.sh build and a Release build of the game."""
import collections
import math
import os
import random
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "web"))
import browser  # noqa: E402
import engine_processes  # noqa: E402

SITE = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "build", "web", "site")
RUNS = int(sys.argv[2]) if len(sys.argv) > 2 else 3
DESKTOP = sys.argv[3] if len(sys.argv) > 3 else os.path.join(HERE, "..", "build", "release", "programs", "vorbix")
ENGINES = sys.argv[4:] or list(browser.ENGINES)
BASELINE = os.path.join(HERE, "baseline", "page")
# Each CPU window and each window of followed gravity ticks, in seconds.
SECONDS = 10
# Presses of P in each run.
PRESSES = 40
# The latencies' targets, median and 99th percentile, in milliseconds: a change reaches the
# screen with the engine's next frame, at 60 Hz one in 16.7 ms.
LATENCY_TARGETS = (16.7, 33)
# A tick the clock delivered this much after it fell due, or later, was delivered late.
ON_TIME = 16

QUESTION_OPEN = "document.getElementById('question').open"
# Play has begun and the curtain is open: only gravity ticks from now on.
PLAYING = "vorbix.idle() && (await vorbix.dump()).timers.map((t) => t.interval).join() === '50,0,0'"
PAUSE_SHOWN = "!document.querySelector('[data-name=Pause]').hidden"


def percent_over(counters, seconds=SECONDS):
    """Each counter of seconds used (a name and a function) as % of a core over some seconds."""
    before, clock = {name: count() for name, count in counters.items()}, time.monotonic()
    time.sleep(seconds)
    passed = time.monotonic() - clock
    return {name: 100 * (count() - before[name]) / passed for name, count in counters.items()}


def play(page, base, figures):
    """Loads the page, notes when the question showed, answers No and waits for play."""
    figures["driver_load_to_question_ms"].append(1000 * page.goto(base + "/index.html", QUESTION_OPEN))
    figures["load_to_question_ms"].append(page.eval("vorbix.questionShown()"))
    page.key("Escape")
    page.wait_for(PLAYING, timeout=20)


def cpu_in_play(page, base, figures):
    """The page's main thread and its whole process over a window of play, the gravity period
    over that window, and the baseline page's main thread after it; Chromium's DevTools and
    its workers' threads beside them."""
    play(page, base, figures)
    process = engine_processes.page_process(page, page.process.pid)
    time.sleep(1)  # the process's busy moment is over
    counters = {"main_thread_cpu_percent": lambda: engine_processes.main_thread_seconds(process),
                "page_process_cpu_percent": lambda: engine_processes.cpu_seconds([process])}
    if page.engine == "chromium":
        processes = engine_processes.descendants(page.process.pid)
        counters.update(devtools_main_thread_cpu_percent=lambda: metric(page, "TaskDuration"),
                        worker_cpu_percent=lambda: engine_processes.cpu_seconds(processes, "DedicatedWorker"),
                        browser_cpu_percent=lambda: engine_processes.cpu_seconds(processes))
    first_tick = len(page.eval("vorbix.gravity()"))
    threads = engine_processes.seconds_by_thread_name(process)
    for name, value in percent_over(counters).items():
        figures[name].append(value)
    # Where the page's process spends its time, for the cause of a missed target.
    after = engine_processes.seconds_by_thread_name(process)
    used = sorted(((after[name] - threads.get(name, 0), name) for name in after), reverse=True)[:4]
    figures["busiest_threads"].append(", ".join("%s %.1f %%" % (name, 100 * seconds / SECONDS)
                                                for seconds, name in used))
    times = page.eval("vorbix.gravity()")[first_tick:]
    periods = sorted(b - a for a, b in zip(times, times[1:]))
    figures["gravity_median_ms"].append(statistics.median(periods))
    figures["gravity_worst_ms"].append(periods[-1])
    # Every 50 ms of the window has its tick: none is lost or comes late.
    figures["ticks_missing"].append(round((times[-1] - times[0]) / 50) + 1 - len(times))

    page.goto(base + "/baseline/index.html", "window.baseline && baseline.ticks.length > 10")
    process = engine_processes.page_process(page, page.process.pid)
    time.sleep(1)
    counters = {"baseline_main_thread_cpu_percent": lambda: engine_processes.main_thread_seconds(process)}
    if page.engine == "chromium":
        counters["baseline_devtools_main_thread_cpu_percent"] = lambda: metric(page, "TaskDuration")
    for name, value in percent_over(counters).items():
        figures[name].append(value)


def frames(page, base, figures):
    """Gravity ticks followed to the frames that show them over a window of play, then presses
    of P, each followed to the frame that shows Pause and clicked away."""
    play(page, base, figures)
    page.eval("vorbix.tickFrames(true)")
    time.sleep(SECONDS)
    for tick in page.eval("vorbix.tickFrames(false)"):
        if tick["late"] is None:
            continue  # it fell due at a time the worker did not see: the first one followed
        if tick["late"] > ON_TIME:
            figures["ticks_late"].append(1)
        elif tick["toFrame"] is None:
            figures["ticks_skipped"].append(1)
        else:
            figures["tick_to_frame_ms"].append(tick["toFrame"])
    for _ in range(PRESSES):
        page.key("p")
        page.wait_for(PAUSE_SHOWN, timeout=5)
        page.eval("document.querySelector('[data-name=Pause]').click()")
        page.wait_for("!(%s)" % PAUSE_SHOWN, timeout=5)
        # Presses at any moment of the engine's frame.
        time.sleep(random.uniform(0.02, 0.1))
    for press in page.eval("vorbix.pauseFrames()"):
        figures["p_to_frame_ms"].append(press["toFrame"])
        figures["p_to_pause_shown_ms"].append(press["toShown"])


def engine_run(engine, base, figures):
    """One run in a browser of the engine's own: a warm-up load that leaves the service worker
    in place, then the CPU in play, the frames, and a phone's figures in Chromium."""
    with browser.open_browser(engine, 800, 600) as page:
        figures["version"] = [page.version]
        if engine == "chromium":
            page.send("Performance.enable")
        page.goto(base + "/index.html", QUESTION_OPEN)
        page.wait_for("navigator.serviceWorker.controller !== null", timeout=20)
        figures["engine"] = [page.eval("vorbix.engine.then(JSON.stringify)")]
        figures["load_average"].append(os.getloadavg()[0])
        cpu_in_play(page, base, figures)
        frames(page, base, figures)
    if engine == "chromium":
        phone_figures(base, figures)


def site_bytes(site):
    return sum(os.path.getsize(os.path.join(folder, name)) for folder, _, names in os.walk(site) for name in names)


def metric(page, name):
    return next(m["value"] for m in page.send("Performance.getMetrics")["metrics"] if m["name"] == name)


class Desktop:
    """The desktop game in a window under an Xvfb server of its own."""

    def __init__(self, program):
        self.program = program
        self.folder = tempfile.mkdtemp(prefix="vorbix-measure-")
        # Xvfb picks a free display number itself and writes it to the pipe.
        read_end, write_end = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-noreset",
                                      "-nolisten", "tcp"], pass_fds=[write_end], stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            display = pipe.readline().strip()
        runtime = os.path.join(self.folder, "runtime")
        os.mkdir(runtime, 0o700)
        self.environment = dict(os.environ, DISPLAY=":" + display, XDG_RUNTIME_DIR=runtime,
                                XDG_CONFIG_HOME=runtime)
        for name in ("QT_QPA_PLATFORM", "WAYLAND_DISPLAY"):
            self.environment.pop(name, None)

    def xdotool(self, *arguments):
        return subprocess.run(["xdotool", *arguments], env=self.environment, capture_output=True, text=True).stdout

    def cpu_in_play(self, seconds=SECONDS):
        """The game's CPU over some seconds of play after the curtain opened, in % of a core."""
        game = subprocess.Popen([self.program], env=self.environment, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)
        try:
            while not self.xdotool("search", "--onlyvisible", "--name", "^Difficulty$").strip():
                time.sleep(0.05)
            while self.xdotool("search", "--onlyvisible", "--name", "^Difficulty$").strip():
                self.xdotool("keydown", "Escape")
                time.sleep(0.05)
                self.xdotool("keyup", "Escape")
                time.sleep(0.2)
            time.sleep(3)  # the curtain opens; then play only
            return percent_over({"game": lambda: engine_processes.cpu_seconds([game.pid])}, seconds)["game"]
        finally:
            game.kill()
            game.wait()

    def close(self):
        self.xvfb.kill()
        self.xvfb.wait()


def phone_figures(base, figures):
    """One run on a phone's viewport, in a browser of its own (a fresh service worker)."""
    with browser.open_browser("chromium", 390, 844) as page:
        page.viewport(390, 844, 3, phone=True)
        page.send("Performance.enable")
        figures["phone_load_to_question_ms"].append(
            1000 * page.goto(base + "/index.html", "document.getElementById('question').open"))
        page.wait_for("navigator.serviceWorker.controller !== null", timeout=20)
        page.offline(True)
        figures["phone_offline_reload_to_question_ms"].append(
            1000 * page.goto(base + "/index.html", "document.getElementById('question').open"))
        page.offline(False)
        page.tap_element("#question button[value=no]")
        page.wait_for("vorbix.idle() && (await vorbix.dump()).timers[0].interval === 50", timeout=10)
        time.sleep(3)
        processes = engine_processes.descendants(page.process.pid)
        cpu = percent_over({"main": lambda: metric(page, "TaskDuration"),
                            "worker": lambda: engine_processes.cpu_seconds(processes, "DedicatedWorker")})
        figures["phone_main_thread_cpu_percent"].append(cpu["main"])
        figures["phone_worker_cpu_percent"].append(cpu["worker"])
        # A touch's effect is there when the touch's own event has been handled.
        col = page.eval("vorbix.dump().then((dump) => dump.state.col)")
        x, y = page.centre("#touch [data-key=ArrowLeft]")
        point = dict(x=x, y=y, radiusX=4, radiusY=4, force=1, id=1)
        clock = time.monotonic()
        page.send("Input.dispatchTouchEvent", type="touchStart", touchPoints=[point])
        figures["phone_touch_handled_ms"].append(1000 * (time.monotonic() - clock))
        moved = page.eval("vorbix.dump().then((dump) => dump.state.col)") == col - 1
        figures["phone_touch_moved_at_once"].append(1.0 if moved else 0.0)
        page.send("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])


def spread(values):
    return "%.2f / %.2f / %.2f" % (min(values), statistics.median(values), max(values))


def percentile(values, share):
    """The nearest-rank percentile."""
    ranked = sorted(values)
    return ranked[max(0, math.ceil(share * len(ranked)) - 1)]


def latencies(values):
    return "%.1f / %.1f / %.1f (%d)" % (statistics.median(values), percentile(values, 0.99), max(values), len(values))


def within_targets(values):
    return statistics.median(values) <= LATENCY_TARGETS[0] and percentile(values, 0.99) <= LATENCY_TARGETS[1]


def verdict(met):
    return "met" if met else "**missed**"


def table(engine, figures, desktop):
    """The engine's figures as a Markdown table: min / median / max over the runs, latencies
    as median / 99th percentile / worst (count) over every run's; the desktop game's CPU in
    play, when measured, beside them."""
    def median(name):
        return statistics.median(figures[name])

    ratio = median("main_thread_cpu_percent") / median("baseline_main_thread_cpu_percent")
    ticks = figures["tick_to_frame_ms"]
    presses = figures["p_to_frame_ms"]
    rows = [
        ("page load to question (navigation start to the frame that shows it, in the page), ms",
         spread(figures["load_to_question_ms"]), "≤ 500 at the median", verdict(median("load_to_question_ms") <= 500)),
        ("the same, as the driver saw the question open, ms", spread(figures["driver_load_to_question_ms"]), "", ""),
        ("CPU in play, the page's main thread (/proc), % of a core", spread(figures["main_thread_cpu_percent"]),
         "", ""),
        ("the same, the baseline page", spread(figures["baseline_main_thread_cpu_percent"]), "", ""),
        ("page against the baseline page", "%.2f ×" % ratio, "≤ 1.25 ×", verdict(ratio <= 1.25)),
        ("CPU in play, the page's whole process, %", spread(figures["page_process_cpu_percent"]), "", ""),
        ("P on the page's thread to the frame that shows Pause, ms: median / 99th / worst (presses)",
         latencies(presses), "≤ 16.7 / ≤ 33", verdict(within_targets(presses))),
        ("of which P to the Pause button shown (the page's thread to the worker and back), ms",
         latencies(figures["p_to_pause_shown_ms"]), "", ""),
        ("gravity tick in the worker to the frame that shows it, ms: median / 99th / worst (ticks)",
         latencies(ticks), "≤ 16.7 / ≤ 33", verdict(within_targets(ticks))),
        ("ticks on time whose picture never reached the screen; ticks the clock delivered late",
         "%d; %d" % (len(figures["ticks_skipped"]), len(figures["ticks_late"])), "none; -",
         verdict(not figures["ticks_skipped"])),
        ("gravity period, median / worst, ms",
         "%.1f / %.1f" % (median("gravity_median_ms"), max(figures["gravity_worst_ms"])), "50 ± 2", ""),
        ("gravity ticks missing over %d s" % SECONDS, spread(figures["ticks_missing"]), "none",
         verdict(max(figures["ticks_missing"]) <= 0)),
    ]
    if desktop:
        rows.append(("page against the desktop game's process (%s %% over the runs)" % spread(desktop),
                     "%.2f ×" % (median("main_thread_cpu_percent") / statistics.median(desktop)), "", ""))
    extra = [(name.replace("_", " "), spread(values), "", "") for name, values in figures.items()
             if name.startswith(("devtools", "baseline_devtools", "worker", "browser", "phone"))]
    extra += [("the page's process, its busiest threads in play, run %d" % (run + 1), used, "", "")
              for run, used in enumerate(figures["busiest_threads"])]
    lines = ["### %s %s (%s)" % (engine, figures["version"][0], figures["engine"][0]), "",
             "Load average (1 min) at each run's start: %s." % ", ".join("%.2f" % v for v in figures["load_average"]),
             "", "| figure | min / median / max over %d runs (two loads a run) | target | |" % RUNS,
             "|---|---|---|---|"]
    return "\n".join(lines + ["| %s | %s | %s | %s |" % row for row in rows + extra])


def main():
    base, server = browser.serve(SITE, baseline=BASELINE)
    desktop = Desktop(DESKTOP) if os.access(DESKTOP, os.X_OK) else None
    if desktop is None:
        print("no desktop game at %s: its figures are left out" % DESKTOP)
    engines = [engine for engine in ENGINES if not browser.missing_tools(engine)]
    for engine in set(ENGINES) - set(engines):
        print("%s is left out: %s missing" % (engine, ", ".join(browser.missing_tools(engine))))
    figures = {engine: collections.defaultdict(list) for engine in engines}
    desktop_cpu = []
    # Run by run, each engine in turn, so that a busier moment of the machine falls on all.
    for _ in range(RUNS):
        for engine in engines:
            engine_run(engine, base, figures[engine])
        if desktop:
            desktop_cpu.append(desktop.cpu_in_play())
    server.shutdown()
    if desktop:
        desktop.close()
    print("site: %d bytes" % site_bytes(SITE))
    for engine in engines:
        print()
        print(table(engine, figures[engine], desktop_cpu))


main()
