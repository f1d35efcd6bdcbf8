"""Writes COUNT random vorbix-replay scripts to FOLDER, the same ones for the same SEED:
whole games of keys, ticks, stretches of time, clicks and restarts with either answer.
  random_scripts.py FOLDER COUNT SEED"""
import os
import random
import sys


def script(dice):
    lines = ["clock %d" % dice.randrange(86400), "answer " + dice.choice(["yes", "no"])]
    lines += ["random %.3f" % dice.random() for _ in range(dice.randrange(4))]
    lines.append("start")
    for _ in range(dice.randrange(200, 2000)):
        roll = dice.randrange(100)
        if roll < 40:
            lines.append("key %d" % dice.choice([37, 39, 65, 83, 40, 80, 38, 0, 66, 65535]))
        elif roll < 70:
            lines.append("tick %d" % dice.choice([1, 1, 1, 2, 3]))
        elif roll < 88:
            lines.append("advance %d" % dice.choice([dice.randrange(100), dice.randrange(3000)]))
        elif roll < 93:
            lines += ["answer " + dice.choice(["yes", "no"]), "click Command1"]
        elif roll < 96:
            lines.append("click Pause")
        else:
            lines.append("dump")
    return "\n".join(lines + ["dump"]) + "\n"


folder, count, seed = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
os.makedirs(folder, exist_ok=True)
for n in range(count):
    with open(os.path.join(folder, "random-%03d.txt" % n), "w") as file:
        file.write(script(random.Random(seed * 100003 + n)))
