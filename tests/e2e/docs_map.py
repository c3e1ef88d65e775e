#!/usr/bin/env python3
"""The front door and the map against the tree they describe.

README.md stays a front door: under 150 lines, with the two commands for a fresh machine (the
test command being the one CI runs), and every file it or docs/*.md links to exists (the
screenshot a PNG of reasonable size). docs/architecture.md stays true to the code: its diagram
draws exactly the arrows src/CMakeLists.txt states (up to what a longer path implies), its
tables name every library once, every source path and Class::Member it names exists, and its
list of what stays process-wide names exactly the files of src/ that keep a mutable variable at
namespace scope.

    docs_map.py SOURCE_DIR
"""

import os
import re
import struct
import sys

failures = 0


def check(name, ok, detail=""):
    global failures
    if not ok:
        failures += 1
        print(f"FAIL: {name}" + (f" ({detail})" if detail else ""))


def read(path):
    """The file's text; a missing file fails its check and reads as empty."""
    if not os.path.exists(path):
        check(f"{os.path.relpath(path)} exists", False)
        return ""
    with open(path, encoding="utf-8") as f:
        return f.read()


def closure(arrows):
    """{folder: every folder it reaches}."""
    out = {}
    for start in arrows:
        seen, todo = set(), list(arrows[start])
        while todo:
            dest = todo.pop()
            if dest not in seen:
                seen.add(dest)
                todo.extend(arrows.get(dest, ()))
        out[start] = seen
    return out


def section(text, heading):
    """The text under a '## heading' up to the next heading of that level."""
    match = re.search(r"^## " + re.escape(heading) + r"\n(.*?)(?=^## |\Z)", text, re.M | re.S)
    return match.group(1) if match else ""


def main(root):
    sys.path.insert(0, os.path.join(root, "tools"))
    import check_layers  # the one reader of the arrows

    readme = read(os.path.join(root, "README.md"))
    lines = readme.count("\n")
    check(f"README.md is under 150 lines ({lines})", lines < 150)
    for command in ("tools/run.sh", "tools/test.sh"):
        check(f"README.md shows the command {command}",
              re.search(r"^    " + re.escape(command) + r"$", readme, re.M) is not None)
    check("CI runs the README's test command", "tools/test.sh" in read(os.path.join(root, ".ci/run")))

    # Links and images of the front door and the pages beside it.
    docs = os.path.join(root, "docs")
    pages = ["README.md"] + ["docs/" + n for n in sorted(os.listdir(docs) if os.path.isdir(docs)
                                                         else []) if n.endswith(".md")]
    for page in pages:
        text = read(os.path.join(root, page))
        for target in re.findall(r"\]\(([^)#\s]+)\)", text):
            if re.match(r"[a-z]+:", target):
                continue
            path = os.path.normpath(os.path.join(root, os.path.dirname(page), target))
            check(f"{page} links to {target}, which exists", os.path.exists(path))
    shot = os.path.join(root, "docs", "screenshot.png")
    check("README.md shows docs/screenshot.png", "(docs/screenshot.png)" in readme)
    if os.path.exists(shot):
        with open(shot, "rb") as f:
            head = f.read(24)
        width, height = struct.unpack(">II", head[16:24]) if len(head) == 24 else (0, 0)
        size = os.path.getsize(shot)
        check(f"the screenshot is a PNG of reasonable size ({width}x{height}, {size} bytes)",
              head[:8] == b"\x89PNG\r\n\x1a\n" and 600 <= width <= 2000 and 400 <= height <= 2000
              and size <= 500_000)

    # The diagram against the arrows the build states.
    arch = read(os.path.join(root, "docs", "architecture.md"))
    stated = {k: v[0] for k, v in check_layers.arrows_in(
        read(os.path.join(root, "src", "CMakeLists.txt"))).items()}
    mermaid = re.search(r"```mermaid\n(.*?)```", arch, re.S)
    check("docs/architecture.md has a diagram", mermaid is not None)
    drawn = {k: [] for k in stated}
    for source, dest in re.findall(r"^\s*(\w+) --> (\w+)\s*$", mermaid.group(1) if mermaid else "",
                                   re.M):
        drawn.setdefault(source, []).append(dest)
        drawn.setdefault(dest, [])
    check("the diagram names every library and no other",
          set(drawn) == set(stated), f"{sorted(set(drawn) ^ set(stated))}")
    reach_stated, reach_drawn = closure(stated), closure(drawn)
    for folder in sorted(stated):
        extra = reach_drawn.get(folder, set()) - reach_stated[folder]
        missing = reach_stated[folder] - reach_drawn.get(folder, set())
        check(f"the diagram's arrows from {folder} are the build's",
              not extra and not missing, f"drawn, not in the build: {sorted(extra)}; "
                                         f"in the build, not drawn: {sorted(missing)}")
    tabled = re.findall(r"^\| `(\w+)/` \|", arch, re.M)
    check("the tables name each library once", sorted(tabled) == sorted(stated),
          f"{sorted(set(tabled) ^ set(stated))}, repeated: "
          f"{sorted({t for t in tabled if tabled.count(t) > 1})}")

    # Names of files and members that must exist; a folder is named without its floor
    # (natural/voice_setup.h for src/engines/natural/voice_setup.h).
    floors = tuple(sorted({os.path.join("src", path.rsplit("/", 1)[0]) for path, _, _ in
                           check_layers.libraries_in(
                               read(os.path.join(root, "src", "CMakeLists.txt"))).values()
                           if "/" in path}))
    sources = ""
    for base, _, files in [w for d in ("src", "tests/gui", "tests/support")
                           for w in os.walk(os.path.join(root, d))]:
        for name in files:
            if name.endswith((".h", ".cpp")):
                sources += read(os.path.join(base, name))
    for path in sorted(set(re.findall(r"`([\w./-]+\.(?:h|cpp|py|sh|md))`", arch))):
        found = any(os.path.exists(os.path.join(root, prefix, path))
                    for prefix in ("", "src", "tests/gui") + floors)
        check(f"docs/architecture.md names {path}, which exists", found)
    for qualified in sorted(set(re.findall(r"\b([A-Z]\w+)::(\w+)\b", arch))):
        cls, member = qualified
        check(f"docs/architecture.md names {cls}::{member}, which the code has",
              re.search(rf"\b{cls}::{member}\b", sources) is not None
              or (re.search(rf"\b(class|struct) {cls}\b", sources) is not None
                  and re.search(rf"\b{member}\b", sources) is not None))

    # What stays process-wide: exactly the files that keep a mutable namespace-scope variable.
    owned = section(arch, "Who owns what")
    tail = owned.split("What stays process-wide", 1)[-1]
    items = re.findall(r"^- (?:.*\n  )*.*$", tail, re.M)
    listed = {p for item in items for p in re.findall(r"`([\w/]+\.cpp)`", item)}
    # The code's own mark of such a variable: its name starts with g_, or clang-tidy's check
    # for it is silenced beside it.
    globals_in = set()
    for base, _, files in os.walk(os.path.join(root, "src")):
        for name in files:
            if name.endswith((".cpp", ".h")):
                path = os.path.join(base, name)
                text = read(path)
                if re.search(r"\bg_[a-zA-Z]\w*", text) or "avoid-non-const-global" in text:
                    rel = os.path.relpath(path, os.path.join(root, "src"))
                    floor = next((f for f in floors if path.startswith(os.path.join(root, f, ""))),
                                 None)
                    globals_in.add(os.path.relpath(path, os.path.join(root, floor)) if floor
                                   else rel)
    check("the process-wide list names exactly the files with a mutable global",
          listed == globals_in and globals_in,
          f"listed: {sorted(listed)}; in the code: {sorted(globals_in)}")

    print(f"docs_map: {'failed' if failures else 'passed'} ({failures} failures)")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__),
                                                                        "..", "..")))
