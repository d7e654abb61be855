#!/usr/bin/env python3
"""Checks that no source file includes a file of a folder on a floor above its own.

The floors, top to bottom:
  app > console, dialogs, displays, scoring, scoring/web > screen > styledtext, sheets
      > draw, platform, scoring/core > base
A file may include files of its own folder (and of its folder's subfolders on the
same or a lower floor, such as screen/state from screen) and of lower floors;
never of a folder on its own floor or above. Prints each offending include and
exits 1 when there is one.
"""
import os
import re
import sys

FLOORS = {
    "base": 0,
    "draw": 1, "platform": 1, "scoring/core": 1,
    "styledtext": 2, "styledtext/core": 2, "sheets": 2,
    "screen": 3, "screen/state": 3,
    "console": 4, "dialogs": 4, "displays": 4, "scoring": 4, "scoring/web": 4,
    "app": 5,
}
INCLUDE = re.compile(r'\s*#\s*include\s+"([^"]+)"')


def room_of(path):
    """The most specific folder of FLOORS that holds `path` (relative to src/)."""
    parts = path.split("/")
    for depth in (2, 1):
        room = "/".join(parts[:depth])
        if room in FLOORS and len(parts) > depth:
            return room
    return None


def allowed(me, other):
    if other == me or FLOORS[other] < FLOORS[me]:
        return True
    # A subfolder on the same floor belongs to its folder (screen/state under screen).
    return other.split("/")[0] == me.split("/")[0] and FLOORS[other] <= FLOORS[me] and other.startswith(me + "/")


def main():
    src = os.path.join(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", ".."), "src")
    faults = []
    for folder, _, files in os.walk(src):
        for name in sorted(files):
            if not name.endswith((".h", ".cpp")):
                continue
            path = os.path.join(folder, name)
            rel = os.path.relpath(path, src)
            me = room_of(rel)
            if me is None:
                continue
            with open(path, encoding="utf-8", errors="replace") as text:
                for number, line in enumerate(text, 1):
                    match = INCLUDE.match(line)
                    other = room_of(match.group(1)) if match else None
                    if other is not None and not allowed(me, other):
                        faults.append(f"src/{rel}:{number}: {me} includes {match.group(1)} ({other} is not below it)")
    for fault in faults:
        print(fault)
    if faults:
        print(f"check_layers: {len(faults)} include(s) run against the floors")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
