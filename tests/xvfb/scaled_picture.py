#!/usr/bin/env python3
"""Checks that a picture of the game's window drawn at a zoom is its picture at 1x scaled.

    scaled_picture.py ONE_X.png ZOOMED.png ZOOM

Two checks that do not trust the drawing code: every colour that covers at least one
hundredth of the 1x picture covers the same share of the zoomed one, within one point; and
the edges between the well's yellow and its walls, along a row through the middle of the
well and down a column by its left wall, are where the zoom puts the 1x edges, within half a
zoomed pixel and one more for rounding. Exits 1 and says what differs when a check fails.
"""
import re
import subprocess
import sys

# Edges are looked for across the well only: the texts to its right are antialiased.
WELL_RIGHT = 250
ROW = 300
COLUMN = 30


def colour_shares(path):
    histogram = subprocess.run(
        ["convert", path, "-format", "%c", "histogram:info:-"], capture_output=True, text=True, check=True
    ).stdout
    counts = {}
    for line in histogram.splitlines():
        found = re.match(r"\s*(\d+):.*(#[0-9A-F]{6})", line)
        if found:
            counts[found.group(2)] = counts.get(found.group(2), 0) + int(found.group(1))
    total = sum(counts.values())
    return {colour: count / total for colour, count in counts.items()}


class Picture:
    def __init__(self, path):
        size = subprocess.run(
            ["identify", "-format", "%w %h", path], capture_output=True, text=True, check=True
        ).stdout.split()
        self.width, self.height = int(size[0]), int(size[1])
        self.pixels = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], capture_output=True, check=True).stdout

    def yellow(self, x, y):
        at = 3 * (y * self.width + x)
        red, green, blue = self.pixels[at:at + 3]
        return red > 200 and green > 200 and blue < 60

    def edges(self, points):
        """Where along the points the picture turns from yellow to another colour or back."""
        found, before = [], None
        for step, (x, y) in enumerate(points):
            now = self.yellow(x, y)
            if before is not None and now != before:
                found.append(step)
            before = now
        return found


def main(one_path, zoomed_path, zoom):
    failures = []
    one, zoomed = colour_shares(one_path), colour_shares(zoomed_path)
    for colour, share in sorted(one.items(), key=lambda item: -item[1]):
        if share >= 0.01 and abs(zoomed.get(colour, 0) - share) > 0.01:
            failures.append(f"{colour} covers {100 * zoomed.get(colour, 0):.2f}% at the zoom, {100 * share:.2f}% at 1x")

    one, zoomed = Picture(one_path), Picture(zoomed_path)
    along = int((ROW + 0.5) * zoom), int((COLUMN + 0.5) * zoom)
    lines = [
        ("row", one.edges([(x, ROW) for x in range(WELL_RIGHT)]),
         zoomed.edges([(x, along[0]) for x in range(int(WELL_RIGHT * zoom))])),
        ("column", one.edges([(COLUMN, y) for y in range(one.height)]),
         zoomed.edges([(along[1], y) for y in range(zoomed.height)])),
    ]
    for name, at_one, at_zoom in lines:
        if len(at_one) < (4 if name == "row" else 2):
            failures.append(f"the 1x picture shows no wall along the {name}: edges {at_one}")
        expected = [edge * zoom for edge in at_one]
        if len(at_zoom) != len(expected) or any(abs(a - e) > zoom / 2 + 1 for a, e in zip(at_zoom, expected)):
            failures.append(f"the well's edges along the {name} are at {at_zoom}, the zoom puts them at "
                            f"{[round(edge) for edge in expected]}")
    print(f"edges at 1x: row {lines[0][1]}, column {lines[1][1]}")
    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2], float(sys.argv[3])))
