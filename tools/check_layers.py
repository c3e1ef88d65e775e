#!/usr/bin/env python3
"""Checks that the source folders include one another one way only.

Each folder may include its own headers and those of the folders below it:

    app, cli      the application; the command-line modes (beside each other, never each other)
    view          documents, views, dialogs, printing
    platform      Qt adapters: sound, timer, message boxes
    speech        the reading and the speech (core)
    dictionary    the user's dictionary (core)
    settings      the settings file (core)
    text          code page 932 (core)

The core folders (text, settings, dictionary, speech) and cli/ outside cli/qt/ include no Qt
header. Prints every include against these rules and exits 1 when there is one.

    check_layers.py SRC_DIR        check a source tree
    check_layers.py --self-test    check that the checker finds what it must
"""

import os
import re
import sys
import tempfile

# Lower rank: further down. A folder may include folders of a lower rank, and its own.
RANK = {
    "text": 0,
    "settings": 1,
    "dictionary": 2,
    "speech": 3,
    "natural": 3.5,  # the natural voice: above the speech it feeds units to the same way
    "platform": 4,
    "view": 5,
    "app": 6,
    "cli": 6,
}
CORE = {"text", "settings", "dictionary", "speech", "natural"}
QT_FREE_EXCEPTIONS = ("cli/qt/",)

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
QT_HEADER = re.compile(r"^Q[A-Za-z0-9]+$|^Qt[A-Za-z]+/")


def problems_in(src_dir):
    found = []
    for root, _, files in os.walk(src_dir):
        for name in sorted(files):
            if not name.endswith((".h", ".cpp")):
                continue
            path = os.path.join(root, name)
            rel = os.path.relpath(path, src_dir).replace(os.sep, "/")
            folder = rel.split("/")[0]
            if folder not in RANK:
                continue  # the program's entry point sits above every folder
            qt_free = (folder in CORE or folder == "cli") and not rel.startswith(QT_FREE_EXCEPTIONS)
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
                    if dest not in RANK or dest == folder:
                        continue
                    if RANK[dest] >= RANK[folder]:
                        found.append(f"{where}: {folder}/ may not include {dest}/")
    return found


def self_test():
    cases = {
        "view/a.cpp": ('#include "app/main_frame.h"\n', True),
        "speech/b.cpp": ('#include "platform/sound.h"\n', True),
        "settings/c.cpp": ('#include "speech/speech_state.h"\n', True),
        "cli/d.cpp": ('#include "app/editor_main.h"\n', True),
        "app/e.cpp": ('#include "cli/cli_main.h"\n', True),
        "dictionary/f.cpp": ("#include <QString>\n", True),
        "speech/g.cpp": ('#include "dictionary/dic_file.h"\n#include "text/cp932.h"\n', False),
        "cli/qt/h.cpp": ('#include <QTimer>\n#include "view/page_printer.h"\n', False),
        "app/i.cpp": ('#include "view/yomi6_view.h"\n#include <QAction>\n', False),
        "main.cpp": ('#include "app/editor_main.h"\n', False),
    }
    failures = 0
    for rel, (text, bad) in cases.items():
        with tempfile.TemporaryDirectory() as tree:
            path = os.path.join(tree, rel)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "w", encoding="utf-8") as f:
                f.write(text)
            got = bool(problems_in(tree))
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
    found = problems_in(argv[1])
    for line in found:
        print(line)
    print(f"{len(found)} include(s) against the layering")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
