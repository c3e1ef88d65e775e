#!/usr/bin/env python3
"""Checks that the source folders include one another one way only.

Each folder may include its own headers and those of the folders below it, and a core folder
only those of the core libraries it links (LINKS below):

    app, cli      the application; the command-line modes (beside each other, never each other)
    cli_options   the command line read into options, and the checks of the output paths
    editor        documents, text views, find, the reading pane, print jobs
    preferences   the settings as Qt types, read at the start and written at the end
    dictionary_manager  the dictionary manager and word registration
    speaking      the run's context, the speech controller, highlight, audio export, speech
                  settings
    speech_session  one reading in the editor, behind one interface for both engines
    voices, printing  voice dialogs and library; page layout and printing
    platform, sound, commands  Qt adapters; sound and timer; the command table
    export          rendered sound files, cues, writers, the unit interface of both engines (core)
    playback        passes, schedule, mixers, the speech state (core)
    natural         the natural voice: the engine as a process, chunks, trace, alignment (core)
    voice           unit table, samples, voice folders, recording (core)
    wave            WAVE reading and writing, PCM conversion and resampling (core)
    reading         folding, conversion, automatic reading (core)
    aozora          Aozora notation (core)
    analysis        the morphological analyzer, the source text (core)
    dictionary_edit the dictionary manager's document (core)
    dictionary      the user's dictionary (core)
    settings        the settings file (core)
    io              atomic files, the INI reader, messages (core)
    text            code pages and encodings (core)

The core folders (those marked core), cli_options/ and cli/ outside cli/qt/ include no Qt
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
    "io": 1,
    "settings": 2,
    "dictionary": 3,
    "dictionary_edit": 4,
    "analysis": 5,
    "aozora": 6,
    "reading": 7,
    "wave": 1,
    "voice": 8,
    "playback": 9,
    "export": 10,
    "natural": 9,
    "platform": 11,
    "sound": 11,
    "commands": 11,
    "voices": 12,
    "printing": 12,
    "speech_session": 13,
    "speaking": 14,
    "dictionary_manager": 15,
    "preferences": 16,
    "editor": 17,
    "app": 18,
    "cli": 18,
    "cli_options": 17,
}
# The core libraries and the core libraries each links (src/CMakeLists.txt states the same
# arrows, so the compiler refuses any other): a core folder may include its own headers and those
# of what it links, directly or through a library it links.
LINKS = {
    "text": [],
    "io": ["text"],
    "settings": ["io", "text"],
    "dictionary": ["io", "text"],
    "dictionary_edit": ["dictionary", "io", "text"],
    "analysis": ["text"],
    "aozora": ["analysis", "text"],
    "reading": ["aozora", "analysis", "dictionary", "io", "settings", "text"],
    "wave": [],
    "voice": ["wave", "io", "text"],
    "playback": ["voice", "wave", "reading", "aozora", "analysis", "dictionary", "io", "settings",
                 "text"],
    "export": ["playback", "natural", "voice", "wave", "reading", "aozora", "analysis",
               "dictionary", "io", "settings", "text"],
    "natural": ["voice", "wave", "reading", "aozora", "analysis", "dictionary", "io", "settings",
                "text"],
}
CORE = set(LINKS)
QT_FREE = ("cli", "cli_options")
QT_FREE_EXCEPTIONS = ("cli/qt/",)



def reachable(folder):
    """The core folders that folder links, directly or through another."""
    seen = set()
    todo = list(LINKS.get(folder, []))
    while todo:
        dest = todo.pop()
        if dest not in seen:
            seen.add(dest)
            todo.extend(LINKS[dest])
    return seen


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
            qt_free = (folder in CORE or folder in QT_FREE) and not rel.startswith(QT_FREE_EXCEPTIONS)
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
                    elif folder in CORE and dest not in reachable(folder):
                        found.append(f"{where}: {folder}/ does not link {dest}/")
    return found


def self_test():
    cases = {
        "editor/a.cpp": ('#include "app/main_window.h"\n', True),
        "playback/b.cpp": ('#include "platform/sound.h"\n', True),
        "settings/c.cpp": ('#include "playback/speech_state.h"\n', True),
        "cli/d.cpp": ('#include "app/editor_main.h"\n', True),
        "cli_options/p.cpp": ("#include <QString>\n", True),
        "cli_options/q.cpp": ('#include "cli/cli_main.h"\n', True),
        "cli/r.cpp": ('#include "cli_options/cli_options.h"\n', False),
        "app/e.cpp": ('#include "cli/cli_main.h"\n', True),
        "dictionary/f.cpp": ("#include <QString>\n", True),
        "reading/g.cpp": ('#include "dictionary/dic_file.h"\n#include "text/cp932.h"\n', False),
        "cli/qt/h.cpp": ('#include <QTimer>\n#include "printing/page_printer.h"\n', False),
        "app/i.cpp": ('#include "editor/text_view.h"\n#include <QAction>\n', False),
        "main.cpp": ('#include "app/editor_main.h"\n', False),
        "voice/j.cpp": ('#include "playback/playback.h"\n', True),
        "analysis/k.cpp": ('#include "io/atomic_file.h"\n', True),
        "wave/n.cpp": ('#include "text/cp932.h"\n', True),
        "voice/o.cpp": ('#include "wave/wave_decoder.h"\n', False),
        "playback/l.cpp": ('#include "reading/text_reader.h"\n#include "io/atomic_file.h"\n', False),
        "export/m.cpp": ('#include "dictionary/dic_tables.h"\n', False),
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
