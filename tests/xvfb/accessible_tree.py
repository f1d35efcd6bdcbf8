"""Prints the accessible tree of one application on the AT-SPI bus, one object a line:
depth, role, name and whether it is showing, tab-separated. Waits up to ten seconds for the
application to appear.
    accessible_tree.py APPLICATION-NAME"""
import sys
import time

import pyatspi


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


walk(application(sys.argv[1]), 0)
