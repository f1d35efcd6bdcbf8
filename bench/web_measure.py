"""Measures the page in headless Chromium: page load to the question, the site's bytes, the
CPU of the page in play and the gravity period it keeps.
  /usr/bin/python3 bench/web_measure.py [SITE] [RUNS]   (build/web/site, 5 runs by default)
Run it on a quiet machine after ./scripts/web.sh build."""
import os
import statistics
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "web"))
import browser  # noqa: E402

SITE = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "build", "web", "site")
RUNS = int(sys.argv[2]) if len(sys.argv) > 2 else 5
SECONDS = 10


def cpu_seconds(pids):
    """User and system CPU of the processes, in seconds."""
    total = 0
    for pid in pids:
        try:
            fields = open("/proc/%d/stat" % pid).read().rsplit(")", 1)[1].split()
            total += int(fields[11]) + int(fields[12])
        except OSError:
            pass
    return total / os.sysconf("SC_CLK_TCK")


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


def main():
    base, server = browser.serve(SITE)
    figures = {"load_to_question_ms": [], "main_thread_cpu_percent": [], "browser_cpu_percent": [],
               "gravity_median_ms": [], "gravity_worst_ms": [], "ticks_missing": []}
    with browser.Browser(800, 600) as page:
        page.send("Performance.enable")
        page.goto(base + "/index.html", "document.getElementById('question').open")  # warm-up
        for _ in range(RUNS):
            seconds = page.goto(base + "/index.html?trace", "document.getElementById('question').open")
            figures["load_to_question_ms"].append(1000 * seconds)
            page.key("Escape")
            page.wait_for("vorbix.idle() && vorbix.dump().timers[0].interval === 50", timeout=10)
            time.sleep(3)  # the curtain opens; then play only
            processes = chromium_processes(page.process.pid)
            task, cpu, clock = metric(page, "TaskDuration"), cpu_seconds(processes), time.monotonic()
            first_tick = page.eval("vorbix.gravity.length")
            time.sleep(SECONDS)
            elapsed = time.monotonic() - clock
            figures["main_thread_cpu_percent"].append(100 * (metric(page, "TaskDuration") - task) / elapsed)
            figures["browser_cpu_percent"].append(100 * (cpu_seconds(processes) - cpu) / elapsed)
            times = page.eval("vorbix.gravity")[first_tick:]
            periods = sorted(b - a for a, b in zip(times, times[1:]))
            figures["gravity_median_ms"].append(statistics.median(periods))
            figures["gravity_worst_ms"].append(periods[-1])
            # Every 50 ms of the window has its tick: none is lost or comes late.
            figures["ticks_missing"].append(round((times[-1] - times[0]) / 50) + 1 - len(times))
    server.shutdown()
    print("site: %d bytes" % site_bytes(SITE))
    print("%-26s %s" % ("figure", "min / median / max over %d runs" % RUNS))
    for name, values in figures.items():
        print("%-26s %.2f / %.2f / %.2f" % (name, min(values), statistics.median(values), max(values)))


main()
