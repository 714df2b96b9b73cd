#!/usr/bin/env python3
"""Sums the instructions a callgrind profile spent in each object file
(its own instructions, not those of the functions it called).

    callgrind_objects.py callgrind.out  ->  "<instructions> <object>" lines
"""
import re
import sys


def self_cost_by_object(path):
    names = {}          # compressed "(id)" -> object name
    totals = {}
    current = None
    after_call = False  # the cost line after "calls=" belongs to the callee
    for line in open(path, errors="replace"):
        if line.startswith("ob="):
            current = resolve(line[3:].strip(), names)
        elif line.startswith(("cob=", "cfi=", "cfl=", "cfn=")):
            if line.startswith("cob="):
                resolve(line[4:].strip(), names)
        elif line.startswith("calls="):
            after_call = True
        elif line[:1].isdigit() or line[:1] in "+-*":
            if after_call:
                after_call = False
                continue
            fields = line.split()
            if len(fields) >= 2 and current is not None:
                totals[current] = totals.get(current, 0) + int(fields[1])
    return totals


def resolve(text, names):
    match = re.match(r"\((\d+)\)\s*(.*)", text)
    if not match:
        return text
    key, name = match.groups()
    if name:
        names[key] = name
    return names.get(key, key)


if __name__ == "__main__":
    for obj, cost in sorted(self_cost_by_object(sys.argv[1]).items(), key=lambda kv: -kv[1]):
        print(cost, obj)
