#!/usr/bin/env python3
"""Fails when an include of the program's code breaks its levels.

A file includes only files of its own level or below, no headers include each other in a loop, and
only the user interface and the entries include Qt. A file belongs to the library whose CMake source
list names it (X.cpp, and X.h beside it), else to its folder's library; the files of the root's
executables are the entries, those of a folder's executables belong to the folder's library. Tests,
benchmarks and fuzz targets are not checked.
"""

import pathlib
import re
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent

# Bottom to top.
LEVELS = {
    "tp_runtime": 0,
    "tp_mail": 1,
    "tp_addressbook": 1,
    "tp_core": 1,
    "tp_contacts": 2,
    "tp_send": 2,
    "tp_ui": 3,
    "tp_cli": 3,
    "entry": 4,
}
QT_ALLOWED = {"tp_ui", "entry"}
FOLDER_LIBRARIES = {
    "runtime": "tp_runtime",
    "mail": "tp_mail",
    "core": "tp_core",
    "addressbook": "tp_addressbook",
    "ui": "tp_ui",
    "cli": "tp_cli",
}
# Headers without a source file that serve a library other than their folder's.
HEADER_LIBRARIES = {
    "core/SendWindow.h": "tp_send",
    "addressbook/ContactWindow.h": "tp_contacts",
}

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.MULTILINE)
QT_HEADER = re.compile(r"^(Q|q\w*\.h$)")
CMAKE_TARGET = re.compile(r"add_(library|executable)\s*\(\s*([\w-]+)([^)]*)\)", re.DOTALL)


def tracked_files():
    listed = subprocess.run(["git", "ls-files", "*.cpp", "*.h"], cwd=ROOT, check=True,
                            capture_output=True, text=True).stdout.split()
    return [name for name in listed if name.split("/")[0] in FOLDER_LIBRARIES or "/" not in name]


def cmake_sources(folder):
    """The library or executable of each source named in `folder`'s CMakeLists.txt."""
    lists = ROOT / folder / "CMakeLists.txt"
    owners = {}
    if not lists.exists():
        return owners
    text = re.sub(r"#.*", "", lists.read_text())
    for kind, target, body in CMAKE_TARGET.findall(text):
        for source in body.split():
            if source.endswith(".cpp"):
                path = str(pathlib.PurePosixPath(folder, source))
                if folder == ".":
                    owners[path] = "entry"
                else:  # an executable of a folder (cli/'s tickerpost-send) keeps to its folder's level
                    owners[path] = FOLDER_LIBRARIES[folder] if kind == "executable" else target
    return owners


def library_of(path, owners):
    if path in HEADER_LIBRARIES:
        return HEADER_LIBRARIES[path]
    source = re.sub(r"\.h$", ".cpp", path)
    if source in owners:
        return owners[source]
    return FOLDER_LIBRARIES.get(path.split("/")[0])


def main():
    owners = {}
    for folder in [".", *FOLDER_LIBRARIES]:
        owners.update(cmake_sources(folder))
    files = tracked_files()
    libraries = {path: library_of(path, owners) for path in files}
    failures = []
    includes = {}
    for path in files:
        library = libraries[path]
        if library not in LEVELS:
            failures.append(f"{path}: belongs to no library with a level ({library})")
            continue
        text = (ROOT / path).read_text(encoding="utf-8")
        includes[path] = []
        for match in INCLUDE.finditer(text):
            line = text.count("\n", 0, match.start()) + 1
            quote, name = match.groups()
            where = f"{path}:{line}: "
            if quote == "<":
                if QT_HEADER.match(name) and library not in QT_ALLOWED:
                    failures.append(f"{where}Qt header <{name}> in {library}, below the user interface")
                continue
            if name.endswith(".moc"):
                continue
            if name not in libraries:
                failures.append(f'{where}"{name}" is no file of the program (include by path from the root)')
                continue
            includes[path].append(name)
            target = libraries[name]
            if LEVELS.get(target, -1) > LEVELS[library]:
                failures.append(f'{where}"{name}" ({target}, level {LEVELS[target]}) is above '
                                f"{library} (level {LEVELS[library]})")
    failures += include_loops(includes)
    for failure in failures:
        print(failure, file=sys.stderr)
    if failures:
        print("The levels, bottom to top: " + "; ".join(
            ", ".join(lib for lib, level in LEVELS.items() if level == rank)
            for rank in sorted(set(LEVELS.values()))), file=sys.stderr)
    return 1 if failures else 0


def include_loops(includes):
    """One message per loop of headers that include each other."""
    loops = []
    state = {}  # path: "open" while on the current chain, "done" after

    def visit(path, chain):
        state[path] = "open"
        chain.append(path)
        for name in includes.get(path, []):
            if state.get(name) == "open":
                loop = chain[chain.index(name):] + [name]
                loops.append("include loop: " + " -> ".join(loop))
            elif name not in state:
                visit(name, chain)
        chain.pop()
        state[path] = "done"

    for path in includes:
        if path not in state:
            visit(path, [])
    return loops


if __name__ == "__main__":
    sys.exit(main())
