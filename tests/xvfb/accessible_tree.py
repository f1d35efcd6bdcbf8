"""Reads one application on the AT-SPI bus, waiting up to ten seconds for it to appear.
    accessible_tree.py APPLICATION-NAME
prints its accessible tree, one object a line: depth, role, name and whether it is showing,
tab-separated.
    accessible_tree.py APPLICATION-NAME SECONDS
prints, for SECONDS, the new name of each of its objects that says its name changed."""
import sys
import time

import pyatspi
from gi.repository import GLib


def application(name):
    for _ in range(100):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == name:
                return app
        time.sleep(0.1)
    sys.exit(f"no application {name!r} on the accessibility bus")


def walk(node, depth):
    showing = node.getState().contains(pyatspi.STATE_SHOWING)
    print(f"{depth}\t{node.getRoleName()}\t{node.name}\t{'showing' if showing else 'hidden'}")
    for child in node:
        if child is not None:
            walk(child, depth + 1)


def listen(name, seconds):
    def changed(event):
        if event.host_application is not None and event.host_application.name == name:
            print(f"changed\t{event.source.name}", flush=True)

    pyatspi.Registry.registerEventListener(changed, "object:property-change:accessible-name")
    GLib.timeout_add(int(seconds * 1000), pyatspi.Registry.stop)
    print("listening", flush=True)
    pyatspi.Registry.start()


app = application(sys.argv[1])
if len(sys.argv) > 2:
    listen(sys.argv[1], float(sys.argv[2]))
else:
    walk(app, 0)
