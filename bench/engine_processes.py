"""Where a browser engine runs a page, read from /proc: the processes below a driver, the one
that renders a page (found by keeping the page's main thread busy for half a second and
seeing which process's main thread took that time), and the CPU that a process, one of its threads
or its threads of one name have used. Every engine names its page's process differently
(Chromium's renderer, Firefox's content process, WebKit's web process), but in each the
page's main thread is its process's main thread."""
import os


def descendants(root):
    """The process and every process below it."""
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


def thread_seconds(pid, tid):
    """The CPU one thread has used, from the scheduler's nanoseconds (clock ticks of 10 ms are
    too coarse for a thread that takes a few percent); 0 once it has gone."""
    try:
        with open("/proc/%d/task/%d/schedstat" % (pid, tid)) as stat:
            return int(stat.read().split()[0]) / 1e9
    except OSError:
        return 0.0


def threads(pid, name=None):
    """The threads of a process, or those of one name."""
    try:
        tids = [int(tid) for tid in os.listdir("/proc/%d/task" % pid)]
    except OSError:
        return []
    if name is None:
        return tids
    named = []
    for tid in tids:
        try:
            with open("/proc/%d/task/%d/comm" % (pid, tid)) as comm:
                if comm.read().strip() == name:
                    named.append(tid)
        except OSError:
            pass
    return named


def cpu_seconds(pids, name=None):
    """The CPU the processes' threads (or their threads of one name) have used."""
    return sum(thread_seconds(pid, tid) for pid in pids for tid in threads(pid, name))


def seconds_by_thread_name(pid):
    """The CPU each name of a process's threads has used."""
    used = {}
    for tid in threads(pid):
        try:
            with open("/proc/%d/task/%d/comm" % (pid, tid)) as comm:
                name = comm.read().strip()
        except OSError:
            continue
        used[name] = used.get(name, 0) + thread_seconds(pid, tid)
    return used


def main_thread_seconds(pid):
    return thread_seconds(pid, pid)


def page_process(page, root, tries=3):
    """The process below the driver's process that renders the page open in the browser."""
    for _ in range(tries):
        pids = descendants(root)
        before = {pid: main_thread_seconds(pid) for pid in pids}
        page.eval("(() => { const end = performance.now() + 500; while (performance.now() < end); })()")
        # On a loaded machine the busy thread gets a share of a core only, at times a small
        # one; but no other process's main thread comes near it.
        gained = sorted(((main_thread_seconds(pid) - before[pid], pid) for pid in pids), reverse=True)
        if gained[0][0] >= 0.03 and (len(gained) == 1 or gained[0][0] >= 2 * gained[1][0]):
            return gained[0][1]
    raise RuntimeError("no process below %d took the page's busy 500 ms: %s" % (root, gained))
