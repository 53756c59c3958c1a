#!/usr/bin/env python3
"""The private names check: no function, variable or type private to a source
(in its unnamed namespace, or static at namespace scope) is defined by two
Windows sources of one program (docs/architecture.md, "Names private to a
source"). Fails, naming each name with every file and line that defines it.

    check-private-names.py [SOURCE_ROOT]

The Windows sources of a program are compiled sixteen to a unit, and the
batches shift whenever a source is added or removed; so the rule holds for the
whole program, whatever the batches are today. The programs are those of
cmake/SourceGroups.cmake and cmake/WindowsTests.cmake: the program itself (every
source of its folders outside bytes/), and each test program (the sources below
tests/<folder>/ outside bytes/) with the test support it links.

The sources are read by Universal Ctags (scripts/setup.sh installs it), which
parses each file as written, without the compiler's headers or settings.
"""
import json
import os
import subprocess
import sys

# The program's folders, as CMakeLists.txt names them; each has a test program.
PROGRAM_FOLDERS = ["foundation", "globals", "store", "xmlfiles", "noteprops", "note", "net",
                   "notemanager", "calendar", "shell"]
SUPPORT_FOLDER = "tests/support"
SOURCE_SUFFIXES = (".cpp", ".c")
# What ctags reports: classes, enums and their values, functions, structs,
# typedefs and aliases, unions and variables; never declarations without a body.
KINDS = "cefgstuv"
TYPE_KINDS = {"class", "enum", "struct", "typedef", "union"}
NAMED_KINDS = TYPE_KINDS | {"function", "variable", "enumerator"}


def windows_sources(root, folder, recursive=True):
    """The sources below a folder, outside bytes/, as paths from the root."""
    top = os.path.join(root, folder)
    if not os.path.isdir(top):
        return []
    found = []
    for base, folders, names in os.walk(top):
        folders[:] = [] if not recursive else sorted(f for f in folders if f != "bytes")
        found += [os.path.relpath(os.path.join(base, name), root).replace(os.sep, "/")
                  for name in sorted(names) if name.endswith(SOURCE_SUFFIXES)]
    return found


def programs(root):
    """Each Windows program as (name, its sources)."""
    program = [path for folder in PROGRAM_FOLDERS for path in windows_sources(root, folder)]
    found = [("qnpost", program)]
    support = windows_sources(root, SUPPORT_FOLDER, recursive=False)
    for folder in PROGRAM_FOLDERS:
        tests = windows_sources(root, "tests/" + folder)
        if tests:
            found.append(("%s_tests" % folder, tests + support))
    return found


def read_tags(root, paths):
    """Every tag of the files, as ctags gives them."""
    command = ["ctags", "--output-format=json", "--language-force=C++", "--kinds-C++=" + KINDS,
               "--fields=+nKZ", "--fields-C++=+{properties}", "-L", "-", "-o", "-"]
    try:
        result = subprocess.run(command, cwd=root, input="\n".join(paths), capture_output=True,
                                text=True, check=True)
    except FileNotFoundError:
        sys.exit("check-private-names.py: ctags is missing (scripts/setup.sh installs universal-ctags)")
    except subprocess.CalledProcessError as failure:
        sys.exit("check-private-names.py: ctags failed: " + failure.stderr.strip())
    return [json.loads(line) for line in result.stdout.splitlines() if line.startswith("{")]


def is_unnamed(scope_part):
    return scope_part.startswith("__anon")


def private_names(tags):
    """(name, path, line) of each name private to its source."""
    scoped_enums = {(tag["path"], tag.get("scope"), tag["name"]) for tag in tags
                    if tag["kind"] == "enum" and "scopedenum" in tag.get("properties", "")}
    found = []
    for tag in tags:
        name, kind = tag["name"], tag["kind"]
        scope, scope_kind = tag.get("scope"), tag.get("scopeKind")
        if kind not in NAMED_KINDS or is_unnamed(name) or name.startswith("operator"):
            continue
        if kind == "enumerator":
            # The values of an enum without "class" are names of the enum's own scope.
            enum_scope, _, enum_name = scope.rpartition("::")
            if not enum_scope or (tag["path"], enum_scope, enum_name) in scoped_enums:
                continue
            scope, scope_kind = enum_scope, "namespace"
        in_unnamed = scope_kind == "namespace" and is_unnamed(scope.split("::")[-1])
        static_at_namespace = (scope_kind in (None, "namespace") and kind in ("function", "variable")
                               and "static" in tag.get("properties", "").split(","))
        if in_unnamed or static_at_namespace:
            found.append((name, tag["path"], tag["line"]))
    return found


def shared_names(program_sources, names_of):
    """Each name defined by two sources or more of one program: name -> [(path, line)]."""
    where = {}
    for path in program_sources:
        for name, line in names_of.get(path, ()):
            where.setdefault(name, []).append((path, line))
    return {name: places for name, places in where.items() if len({path for path, _ in places}) > 1}


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), ".."))
    found = programs(root)
    every_path = sorted({path for _, paths in found for path in paths})
    names_of = {}
    for name, path, line in private_names(read_tags(root, every_path)):
        names_of.setdefault(path, []).append((name, line))
    faults = []
    for program, paths in found:
        for name, places in sorted(shared_names(paths, names_of).items()):
            faults.append("%s: %s is private to more than one source: %s" % (
                program, name, ", ".join("%s:%d" % place for place in sorted(places))))
    if faults:
        print("Private names check failed: a name private to a source is its own in its program")
        for fault in faults:
            print("  " + fault)
        return 1
    print("Private names check passed: %d sources in %d programs" % (len(every_path), len(found)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
