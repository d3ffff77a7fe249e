#!/usr/bin/env python3
"""Fails when a state field of the actors' records is compared with, assigned
or switched over a bare number anywhere in the game's sources: every state
value has a name in game/records.h, and the code says which one it means.

Usage: bare_state_numbers.py GAME_DIR
"""
import pathlib
import re
import sys

FIELDS = r"(?:attackState|guardState|airborne|facing|state|attack|kind|type)"
NUMBER = r"-?\d+\b(?![.\w])"  # an integer literal, not a float like 0.0f
OPERATOR = r"(?:==|!=|<=|>=|<|>)"

COMPARED = re.compile(rf"\b{FIELDS}\s*{OPERATOR}\s*{NUMBER}")
COMPARED_REVERSED = re.compile(rf"(?<![\w.]){NUMBER}\s*{OPERATOR}\s*[\w.>*-]*\b{FIELDS}\b")
ASSIGNED = re.compile(rf"\b{FIELDS}\s*(?:[-+]?=)(?!=)\s*([^;]*);")
BARE_RESULT = re.compile(rf"(?:^|[?:])\s*\(?\s*{NUMBER}")
SWITCH = re.compile(rf"\bswitch\s*\([^)]*\b{FIELDS}\s*\)\s*\{{")
CASE = re.compile(rf"\bcase\s+{NUMBER}\s*:")


def strip_comments_and_strings(text):
    text = re.sub(r"//[^\n]*", "", text)
    text = re.sub(r"/\*.*?\*/", lambda m: "\n" * m.group().count("\n"), text, flags=re.S)
    return re.sub(r'"(?:\\.|[^"\\\n])*"|\'(?:\\.|[^\'\\\n])\'', '""', text)


def findings(text):
    """(line number, reason) for every bare state number in one source text."""
    text = strip_comments_and_strings(text)
    found = []
    for number, line in enumerate(text.split("\n"), 1):
        if COMPARED.search(line) or COMPARED_REVERSED.search(line):
            found.append((number, "compared with a bare number"))
        for assigned in ASSIGNED.finditer(line):
            if BARE_RESULT.search(assigned.group(1)):
                found.append((number, "assigned a bare number"))
    for switch in SWITCH.finditer(text):
        depth, end = 1, switch.end()
        while depth and end < len(text):
            depth += {"{": 1, "}": -1}.get(text[end], 0)
            end += 1
        for case in CASE.finditer(text, switch.end(), end):
            found.append((text.count("\n", 0, case.start()) + 1, "a bare case of a state switch"))
    return found


# The check must catch these and pass these, or it proves nothing.
MUST_CATCH = [
    "if (p.attackState == 3) {}", "p.guardState >= 2;", "e->facing = 1;", "if (0 != Boss.state) {}",
    "p.guardState = up ? 2 : 1;", "s->type = 2;", "switch (e->kind) {\ncase 0: break;\n}",
]
MUST_PASS = [
    "if (p.attackState == AttackFinisher) {}", "e->facing = dx < 0.0f ? FacingLeft : FacingRight;",
    "p.attackCount = 0;", "s.active = 0;", "// state 0 is asleep", "x = 2 * (b.attack - BossSwing);",
    "switch (Boss.state) {\ncase BossFighting: break;\n}",
]


def main():
    for sample in MUST_CATCH:
        if not findings(sample):
            sys.exit(f"the check misses: {sample!r}")
    for sample in MUST_PASS:
        if findings(sample):
            sys.exit(f"the check wrongly flags: {sample!r}")
    root = pathlib.Path(sys.argv[1])
    bad = 0
    for path in sorted(root.rglob("*")):
        if path.suffix not in (".cpp", ".h"):
            continue
        for line, reason in findings(path.read_text(encoding="utf-8")):
            print(f"{path}:{line}: state field {reason}")
            bad += 1
    sys.exit(1 if bad else 0)


if __name__ == "__main__":
    main()
