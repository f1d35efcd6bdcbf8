"""Measures the page in headless Chromium, side by side in one run with the desktop game
(under Xvfb) and a baseline page: page load to the question, the site's bytes, the CPU of the
page's main thread in play against the desktop game's and the baseline page's, the CPU of
the game's worker beside it, and the gravity period the page keeps; and on a phone's
viewport (390 x 844 at ratio 3, touch): load and offline reload to the question, a touch's
effect, and the CPU in play.
  /usr/bin/python3 bench/web_measure.py [SITE] [RUNS] [DESKTOP_GAME]
    (build/web/site, 5 runs, build/release/programs/vorbix by default)
Run it on a quiet machine after ./scripts/web.sh build and a Release build of the game."""
import os
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "web"))
import browser  # noqa: E402

SITE = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "build", "web", "site")
RUNS = int(sys.argv[2]) if len(sys.argv) > 2 else 5
DESKTOP = sys.argv[3] if len(sys.argv) > 3 else os.path.join(HERE, "..", "build", "release", "programs", "vorbix")
BASELINE = os.path.join(HERE, "baseline", "page")
SECONDS = 10


def cpu_seconds(pids, thread=None):
    """User and system CPU of the processes, or of their threads of one name, in seconds."""
    def clock_ticks(folder):
        fields = open(folder + "/stat").read().rsplit(")", 1)[1].split()
        return int(fields[11]) + int(fields[12])

    total = 0
    for pid in pids:
        folder = "/proc/%d" % pid
        try:
            if thread is None:
                total += clock_ticks(folder)
                continue
            for task in os.listdir(folder + "/task"):
                with open("%s/task/%s/comm" % (folder, task)) as comm:
                    if comm.read().strip() == thread:
                        total += clock_ticks("%s/task/%s" % (folder, task))
        except OSError:
            pass
    return total / os.sysconf("SC_CLK_TCK")


def threads_percent(page, seconds=SECONDS):
    """The page's main thread and its dedicated workers' (the game, its clock and its painting)
    over some seconds, in % of a core."""
    processes = chromium_processes(page.process.pid)
    task, worker, clock = metric(page, "TaskDuration"), cpu_seconds(processes, "DedicatedWorker"), time.monotonic()
    time.sleep(seconds)
    passed = time.monotonic() - clock
    return (100 * (metric(page, "TaskDuration") - task) / passed,
            100 * (cpu_seconds(processes, "DedicatedWorker") - worker) / passed)


def chromium_processes(root):
    """The browser and every process below it."""
    children = {}
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                parent = int(open("/proc/%s/stat" % entry).read().rsplit(")", 1)[1].split()[1])
            except OSError:
                continue
            children.setdefault(parent, []).append(int(entry))
    found, stack = [], [root]
    while stack:
        pid = stack.pop()
        found.append(pid)
        stack += children.get(pid, [])
    return found


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
            before, clock = cpu_seconds([game.pid]), time.monotonic()
            time.sleep(seconds)
            return 100 * (cpu_seconds([game.pid]) - before) / (time.monotonic() - clock)
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
        main, worker = threads_percent(page)
        figures["phone_main_thread_cpu_percent"].append(main)
        figures["phone_worker_cpu_percent"].append(worker)
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


def main():
    base, server = browser.serve(SITE, baseline=BASELINE)
    desktop = Desktop(DESKTOP) if os.access(DESKTOP, os.X_OK) else None
    if desktop is None:
        print("no desktop game at %s: its figures are left out" % DESKTOP)
    figures = {"load_to_question_ms": [], "main_thread_cpu_percent": [], "baseline_page_cpu_percent": [],
               "desktop_game_cpu_percent": [], "browser_cpu_percent": [], "gravity_median_ms": [],
               "gravity_worst_ms": [], "ticks_missing": [], "phone_load_to_question_ms": [],
               "phone_offline_reload_to_question_ms": [], "phone_main_thread_cpu_percent": [],
               "phone_worker_cpu_percent": [], "worker_cpu_percent": [],
               "phone_touch_handled_ms": [], "phone_touch_moved_at_once": []}
    with browser.open_browser("chromium", 800, 600) as page:
        page.send("Performance.enable")
        page.goto(base + "/index.html", "document.getElementById('question').open")  # warm-up
        for _ in range(RUNS):
            seconds = page.goto(base + "/index.html", "document.getElementById('question').open")
            figures["load_to_question_ms"].append(1000 * seconds)
            page.key("Escape")
            page.wait_for("vorbix.idle() && (await vorbix.dump()).timers[0].interval === 50", timeout=10)
            time.sleep(3)  # the curtain opens; then play only
            processes = chromium_processes(page.process.pid)
            cpu, clock = cpu_seconds(processes), time.monotonic()
            first_tick = page.eval("vorbix.gravity().then((times) => times.length)")
            main, worker = threads_percent(page)
            figures["main_thread_cpu_percent"].append(main)
            figures["worker_cpu_percent"].append(worker)
            figures["browser_cpu_percent"].append(100 * (cpu_seconds(processes) - cpu) / (time.monotonic() - clock))
            times = page.eval("vorbix.gravity()")[first_tick:]
            periods = sorted(b - a for a, b in zip(times, times[1:]))
            figures["gravity_median_ms"].append(statistics.median(periods))
            figures["gravity_worst_ms"].append(periods[-1])
            # Every 50 ms of the window has its tick: none is lost or comes late.
            figures["ticks_missing"].append(round((times[-1] - times[0]) / 50) + 1 - len(times))

            page.goto(base + "/baseline/index.html", "window.baseline && baseline.ticks.length > 10")
            time.sleep(1)
            figures["baseline_page_cpu_percent"].append(threads_percent(page)[0])
            if desktop:
                figures["desktop_game_cpu_percent"].append(desktop.cpu_in_play())
            phone_figures(base, figures)
    server.shutdown()
    if desktop:
        desktop.close()
    print("site: %d bytes" % site_bytes(SITE))
    print("%-26s %s" % ("figure", "min / median / max over %d runs" % RUNS))
    for name, values in figures.items():
        if values:
            print("%-26s %.2f / %.2f / %.2f" % (name, min(values), statistics.median(values), max(values)))
    page_cpu = statistics.median(figures["main_thread_cpu_percent"])
    print("page / baseline page: %.2f" % (page_cpu / statistics.median(figures["baseline_page_cpu_percent"])))
    if desktop:
        print("page / desktop game: %.2f" % (page_cpu / statistics.median(figures["desktop_game_cpu_percent"])))
    print("phone / desktop viewport: %.2f" % (statistics.median(figures["phone_main_thread_cpu_percent"]) / page_cpu))
    print("phone / desktop viewport, the game's worker: %.2f"
          % (statistics.median(figures["phone_worker_cpu_percent"]) / statistics.median(figures["worker_cpu_percent"])))


main()
