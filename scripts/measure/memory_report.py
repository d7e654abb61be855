#!/usr/bin/env python3
"""Memory of a running process from /proc/PID/smaps, in MB: the proportional set
size (PSS), the private part (USS, which other processes mapping the same
libraries cannot shift) and the resident set (RSS), and the PSS by kind of
mapping. Used by measure_draw_screen.sh.

Usage: memory_report.py PID WHEN
"""
import os
import re
import sys

KINDS = (
    "own data (heap, anonymous)",
    "window image shared with the X server",
    "font files",
    "the executable",
    "libraries and the rest",
)


def kind_of(name, executable):
    if name in ("", "[heap]") or name.startswith("[anon") or name == "[stack]":
        return KINDS[0]
    if "memfd:" in name or "SYSV" in name:
        return KINDS[1]
    if re.search(r"\.(ttf|ttc|otf|pcf|pfb)\b", name, re.IGNORECASE):
        return KINDS[2]
    if name == executable:
        return KINDS[3]
    return KINDS[4]


def main():
    pid, when = sys.argv[1], sys.argv[2]
    executable = os.path.realpath("/proc/%s/exe" % pid)
    by_kind = dict.fromkeys(KINDS, 0)
    totals = {"Pss": 0, "Rss": 0, "Private_Clean": 0, "Private_Dirty": 0}
    name = ""
    with open("/proc/%s/smaps" % pid, encoding="utf-8", errors="replace") as smaps:
        for line in smaps:
            if re.match(r"^[0-9a-f]+-[0-9a-f]+ ", line):
                fields = line.split(None, 5)
                name = fields[5].strip() if len(fields) > 5 else ""
                continue
            key, _, rest = line.partition(":")
            if key not in totals:
                continue
            kb = int(rest.split()[0])
            totals[key] += kb
            if key == "Pss":
                by_kind[kind_of(name, executable)] += kb
    mb = lambda kb: kb / 1024
    print("memory %s: PSS %.1f MB (target 50 MB); private (USS) %.1f MB; resident (RSS) %.1f MB"
          % (when, mb(totals["Pss"]), mb(totals["Private_Clean"] + totals["Private_Dirty"]), mb(totals["Rss"])))
    print("  PSS by kind: " + "; ".join("%s %.1f MB" % (k, mb(v)) for k, v in by_kind.items()))


if __name__ == "__main__":
    main()
