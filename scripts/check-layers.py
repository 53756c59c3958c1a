#!/usr/bin/env python3
"""The layer check: every folder of the program includes only the folders below
it (docs/architecture.md). Fails, naming each line, when a file includes a
folder above its own or beside it on the same layer, when a bytes/ file includes
anything but bytes/ code, when a folder has no place in the order, or when the
includes between folders make a circle.

    check-layers.py [SOURCE_ROOT]
"""
import os
import re
import sys

# From the bottom up. The bytes/ folders of every folder form one layer of
# their own, between foundation/ and globals/, in the order of their folders.
# Folders named on one line are one layer and do not include each other. Of
# resources/, the ids (resources/ids/) are the bottom; its scripts (.rc) are
# built into the program whole and may name any of its constants.
LAYERS = [
    ["resources"],
    ["foundation"],
    ["globals"],
    ["store"],
    ["xmlfiles"],
    ["noteprops"],
    ["note"],
    ["net"],
    ["notemanager", "calendar"],
    ["shell"],
]

# Includes allowed against the order: (including file, included path, reason).
# At most five; each needs a reason that says why the include cannot go.
EXCEPTIONS = []

# Top-level folders that are not part of the program.
NOT_PROGRAM = {"tests", "tools", "fuzz", "bench", "build", "cmake", "docs", "scripts"}
SOURCE_SUFFIXES = (".h", ".cpp", ".c", ".rc")
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')
MAX_EXCEPTIONS = 5

LAYER_OF = {folder: index for index, layer in enumerate(LAYERS) for folder in layer}


def unit(path):
    """The part of the program a path belongs to: (folder, "bytes", "main" or "scripts")."""
    parts = path.split("/")
    if len(parts) > 2 and parts[1] == "bytes":
        return parts[0], "bytes"
    if parts[0] == "resources" and not (len(parts) > 2 and parts[1] == "ids"):
        return parts[0], "scripts"
    return parts[0], "main"


def is_bytes(path):
    return unit(path)[1] == "bytes"


def rank(path):
    folder, part = unit(path)
    layer = LAYER_OF[folder]
    if part == "scripts":
        return (4, 0)
    if folder == "resources":
        return (0, 0)
    if folder == "foundation":
        return (1, 0 if part == "bytes" else 1)
    return (2, layer) if part == "bytes" else (3, layer)


def program_files(root):
    for folder in sorted(os.listdir(root)):
        if folder.startswith(".") or not os.path.isdir(os.path.join(root, folder)):
            continue
        for base, _, names in os.walk(os.path.join(root, folder)):
            for name in sorted(names):
                if name.endswith(SOURCE_SUFFIXES):
                    yield folder, os.path.relpath(os.path.join(base, name), root).replace(os.sep, "/")


def included_path(including, text):
    """The included file as a path from the root; None for what is not the program's."""
    if text.split("/")[0] in LAYER_OF:
        return os.path.normpath(text).replace(os.sep, "/")
    beside = os.path.normpath(os.path.join(os.path.dirname(including), text)).replace(os.sep, "/")
    return beside if beside.split("/")[0] in LAYER_OF else None


def find_circle(edges):
    """A circle among the folders (bytes/ folders apart) as a list, or None."""
    state = {}

    def visit(folder, trail):
        state[folder] = "open"
        for target in sorted(edges.get(folder, ())):
            if state.get(target) == "open":
                return trail[trail.index(target):] + [target]
            if target not in state:
                found = visit(target, trail + [target])
                if found:
                    return found
        state[folder] = "done"
        return None

    for folder in sorted(edges):
        if folder not in state:
            found = visit(folder, [folder])
            if found:
                return found
    return None


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), ".."))
    faults = []
    if len(EXCEPTIONS) > MAX_EXCEPTIONS:
        faults.append("%d exceptions are listed; at most %d may be" % (len(EXCEPTIONS), MAX_EXCEPTIONS))
    allowed = {(source, target) for source, target, _ in EXCEPTIONS}
    used = set()
    folder_edges = {}
    for folder, path in program_files(root):
        if folder in NOT_PROGRAM:
            continue
        if folder not in LAYER_OF:
            faults.append("%s: the folder %s/ has no place in the layer order" % (path, folder))
            continue
        with open(os.path.join(root, path), encoding="utf-8", errors="replace") as source:
            for number, line in enumerate(source, 1):
                match = INCLUDE.match(line)
                target = match and included_path(path, match.group(1))
                if not target:
                    continue
                if unit(target) != unit(path):
                    folder_edges.setdefault(layer_name(path), set()).add(layer_name(target))
                if is_bytes(path) and not is_bytes(target):
                    why = "bytes/ code includes only bytes/ code"
                elif unit(target) != unit(path) and rank(target) >= rank(path):
                    why = "%s is not below %s" % (layer_name(target), layer_name(path))
                else:
                    continue
                if (path, target) in allowed:
                    used.add((path, target))
                    continue
                faults.append("%s:%d: includes %s: %s" % (path, number, target, why))
    for source, target, _ in EXCEPTIONS:
        if (source, target) not in used:
            faults.append("exception %s -> %s is listed but not needed" % (source, target))
    circle = find_circle(folder_edges)
    if circle:
        faults.append("the folders include each other in a circle: " + " -> ".join(circle))
    if faults:
        print("Layer check failed (order, from the bottom: %s):" % order_text())
        for fault in faults:
            print("  " + fault)
        return 1
    print("Layer check passed: %s" % order_text())
    return 0


def layer_name(path):
    folder, part = unit(path)
    return folder + {"bytes": "/bytes/", "scripts": "/ (scripts)", "main": "/"}[part]


def order_text():
    return " < ".join(["resources/ids/", "foundation/", "the bytes/ folders"] +
                      [", ".join(f + "/" for f in layer) for layer in LAYERS[2:]])


if __name__ == "__main__":
    sys.exit(main())
