#!/usr/bin/env python3
"""Checks that the source folders include one another one way only.

Each folder of src/ (on its floor: core/, engines/, cli/, gui/) is a library, and
src/CMakeLists.txt states where it lies and which libraries it links (yomi6_folder_library for
the folders without Qt, yomi6_gui_library for the Qt side); includes name the folder alone. A folder
may include its own headers and those of the libraries it links, directly or through a library
it links: the compiler refuses any other include too, but only in a file that is compiled, and
only once it is; this check reads every file, and reads the arrows from the one place they are
written. The folders made by yomi6_folder_library (the core, the engines and cli) include no Qt
header. The programs' entry points and cli/qt/, which are built into the programs themselves,
sit above every folder. Prints every include against these rules and exits 1 when there is one.

    check_layers.py SRC_DIR        check a source tree against its CMakeLists.txt
    check_layers.py --self-test    check that the checker finds what it must
"""

import os
import re
import sys
import tempfile

LIBRARY = re.compile(r"\byomi6_(folder|gui)_library\(([^)]*)\)")
TOP_LEVEL = ("cli/qt/",)


def libraries_in(cmake_text):
    """The libraries the CMake text makes: {folder: (path, links, qt_free)}, where path is the
    folder's place under src/ (its floor and its name) and folder its name, as includes say it."""
    text = "\n".join(line.split("#", 1)[0] for line in cmake_text.splitlines())
    found = {}
    for kind, arguments in LIBRARY.findall(text):
        words = arguments.split()
        if not words or words[0].startswith("$"):
            continue  # a function passing its own arguments on
        found[words[0].rsplit("/", 1)[-1]] = (words[0], words[1:], kind == "folder")
    return found


def arrows_in(cmake_text):
    """The libraries the CMake text makes: {folder: (links, qt_free)}."""
    return {k: (links, qt_free) for k, (_, links, qt_free) in libraries_in(cmake_text).items()}


def folder_of(rel, paths):
    """The library whose folder holds the file at rel (relative to src/), or None."""
    for folder, path in paths.items():
        if rel.startswith(path + "/") and "/" not in rel[len(path) + 1:]:
            return folder
    return None


def reachable(arrows, folder):
    """The folders that folder links, directly or through another."""
    seen = set()
    todo = list(arrows[folder][0])
    while todo:
        dest = todo.pop()
        if dest not in seen:
            seen.add(dest)
            todo.extend(arrows.get(dest, ([], True))[0])
    return seen


INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
QT_HEADER = re.compile(r"^Q[A-Za-z0-9]+$|^Qt[A-Za-z]+/")


def problems_in(src_dir, arrows, paths=None):
    """paths: {folder: its path under src_dir}; by default each folder lies at the top."""
    paths = paths if paths is not None else {folder: folder for folder in arrows}
    found = []
    for folder in sorted(arrows):
        for dest in arrows[folder][0]:
            if dest not in arrows:
                found.append(f"CMakeLists.txt: {folder}/ links {dest}/, which is no library")
    for root, _, files in os.walk(src_dir):
        for name in sorted(files):
            if not name.endswith((".h", ".cpp")):
                continue
            path = os.path.join(root, name)
            rel = os.path.relpath(path, src_dir).replace(os.sep, "/")
            folder = folder_of(rel, paths)
            if folder is None or rel.startswith(TOP_LEVEL):
                continue
            qt_free = arrows[folder][1]
            allowed = reachable(arrows, folder)
            with open(path, encoding="utf-8", errors="replace") as f:
                for number, line in enumerate(f, 1):
                    m = INCLUDE.match(line)
                    if not m:
                        continue
                    bracket, target = m.groups()
                    where = f"{rel}:{number}: {line.strip()}"
                    if bracket == "<":
                        if qt_free and QT_HEADER.match(target):
                            found.append(f"{where}: Qt in a folder that must not use it")
                        continue
                    dest = target.split("/")[0]
                    if dest in arrows and dest != folder and dest not in allowed:
                        found.append(f"{where}: {folder}/ does not link {dest}/")
    return found


def repository_libraries():
    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, "..", "src", "CMakeLists.txt"), encoding="utf-8") as f:
        return libraries_in(f.read())


def self_test():
    cases = {
        "editor/a.cpp": ('#include "app/main_window.h"\n', True),
        "playback/b.cpp": ('#include "platform/sound.h"\n', True),
        "settings/c.cpp": ('#include "playback/speech_state.h"\n', True),
        "cli/d.cpp": ('#include "app/editor_main.h"\n', True),
        "cli/p.cpp": ("#include <QString>\n", True),
        "cli/r.cpp": ('#include "cli/cli_options.h"\n', False),
        "app/e.cpp": ('#include "cli/cli_main.h"\n', True),
        "dictionary/f.cpp": ("#include <QString>\n", True),
        "reading/g.cpp": ('#include "dictionary/dic_file.h"\n#include "text/cp932.h"\n', False),
        "cli/qt/h.cpp": ('#include <QTimer>\n#include "printing/page_printer.h"\n', False),
        "app/i.cpp": ('#include "editor/text_view.h"\n#include <QAction>\n', False),
        "main.cpp": ('#include "app/editor_main.h"\n', False),
        "voice/j.cpp": ('#include "playback/playback.h"\n', True),
        "analysis/k.cpp": ('#include "settings/settings_keys.h"\n', True),
        "wave/n.cpp": ('#include "text/cp932.h"\n', True),
        "voice/o.cpp": ('#include "wave/wave_decoder.h"\n', False),
        "playback/l.cpp": ('#include "reading/text_reader.h"\n#include "io/atomic_file.h"\n', False),
        "export/m.cpp": ('#include "dictionary/dic_tables.h"\n', False),
        "sound/s.cpp": ('#include "editor/text_view.h"\n', True),
        "platform/t.cpp": ('#include <QWidget>\n#include "settings/font_description.h"\n', False),
        "editor/u.cpp": ('#include "sound/speech_player.h"\n', False),
        "commands/v.cpp": ('#include "text/cp932.h"\n', True),
    }
    libraries = repository_libraries()
    arrows = {k: (v[1], v[2]) for k, v in libraries.items()}
    paths = {k: v[0] for k, v in libraries.items()}
    failures = 0
    # The arrows as the CMake text states them: a call across lines, a comment, a function body.
    parsed = arrows_in("function(f)\n  yomi6_gui_library(${folder} ${ARGN})\nendfunction()\n"
                       "yomi6_folder_library(a) # yomi6_folder_library(z)\n"
                       "yomi6_gui_library(b a\n  c) # the Qt side\n")
    if parsed != {"a": ([], True), "b": (["a", "c"], False)}:
        print(f"self-test: the arrows read from CMake text: {parsed}")
        failures += 1
    # A folder on a floor is named by its own name; a file in a folder below it is not its.
    floored = libraries_in("yomi6_folder_library(core/a)\nyomi6_gui_library(gui/b a)\n")
    if floored != {"a": ("core/a", [], True), "b": ("gui/b", ["a"], False)}:
        print(f"self-test: the folders read from CMake text: {floored}")
        failures += 1
    if folder_of("core/a/x.h", {"a": "core/a"}) != "a" or folder_of("core/a/y/x.h", {"a": "core/a"}):
        print("self-test: a file's folder is not found by the folder's path")
        failures += 1
    with tempfile.TemporaryDirectory() as tree:
        if not any("which is no library" in p for p in problems_in(tree, parsed)):
            print("self-test: a link to a folder that is no library was not found")
            failures += 1
    for rel, (text, bad) in cases.items():
        with tempfile.TemporaryDirectory() as tree:
            # Each file where its folder lies in the repository (editor/a.cpp in gui/editor/).
            first, rest = rel.split("/", 1) if "/" in rel else ("", rel)
            path = os.path.join(tree, paths.get(first, first), rest)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "w", encoding="utf-8") as f:
                f.write(text)
            got = bool(problems_in(tree, arrows, paths))
            if got != bad:
                print(f"self-test: {rel} {text.strip()!r}: expected "
                      f"{'a problem' if bad else 'none'}, got {'a problem' if got else 'none'}")
                failures += 1
    print("self-test:", "failed" if failures else "passed")
    return 1 if failures else 0


def main(argv):
    if len(argv) == 2 and argv[1] == "--self-test":
        return self_test()
    if len(argv) != 2 or not os.path.isdir(argv[1]):
        print("usage: check_layers.py SRC_DIR | --self-test", file=sys.stderr)
        return 2
    cmake = os.path.join(argv[1], "CMakeLists.txt")
    libraries = {}
    if os.path.isfile(cmake):  # a tree without one has no libraries to hold apart
        with open(cmake, encoding="utf-8") as f:
            libraries = libraries_in(f.read())
    for folder, (path, _, _) in sorted(libraries.items()):
        if not os.path.isdir(os.path.join(argv[1], path)):
            print(f"CMakeLists.txt: the library {folder} has no folder {path}/")
            return 1
    found = problems_in(argv[1], {k: (v[1], v[2]) for k, v in libraries.items()},
                        {k: v[0] for k, v in libraries.items()})
    for line in found:
        print(line)
    print(f"{len(found)} include(s) against the layering")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
