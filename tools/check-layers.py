#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks the layer map of ARCHITECTURE.md against the sources: no #include climbs a layer, the logic
libraries include neither a widget header nor the message-box header, and no logic waits by running the
event loop (processEvents or a nested QEventLoop): a send waits on its own thread.

Usage: check-layers.py [SOURCE_ROOT]   (default: the folder above this script)
Prints one line per broken rule and exits 1 when there is any, 0 otherwise.
"""
import os
import re
import sys

LOGIC = ["platform", "directory", "records", "dispatch"]
UI = ["platform/ui", "directory/ui", "records/ui", "dialogs"]

# The folders each library's sources may include from (besides its own).
MAY_INCLUDE = {
    "platform": [],
    "directory": ["platform"],
    "records": ["platform", "directory"],
    "dispatch": ["platform", "directory", "records"],
    "platform/ui": ["platform"],
    "directory/ui": ["platform", "platform/ui", "directory", "records"],
    "records/ui": ["platform", "platform/ui", "directory", "records"],
    "dialogs": ["platform", "platform/ui", "directory", "records", "dispatch"],
    "app": LOGIC + UI,
    "cli": LOGIC,
    "bench": LOGIC + UI + ["app"],
}

# Headers that would make a logic library talk to the operator or need a display.
WIDGET_HEADER = re.compile(r"^<(Qt(Widgets|Gui)/|Q(Widget|Application|MessageBox|Dialog|Action|Menu|Label|"
                           r"PushButton|ToolButton|ListWidget|LineEdit|PlainTextEdit|TextEdit|Window|"
                           r"MainWindow|Painter|Pixmap|Icon|Image|Font|Palette|Clipboard|GuiApplication|"
                           r"KeyEvent|Screen)\b)")
PROMPTS_HEADER = '"platform/Prompts.h"'

INCLUDE = re.compile(r'^\s*#\s*include\s+([<"][^>"]+[>"])')

# Code that waits by running the event loop where it stands.
EVENT_LOOP_WAIT = re.compile(r"\b(processEvents|QEventLoop)\b")


def library_of(relative):
    """The library a source file belongs to: the longest folder of MAY_INCLUDE that holds it."""
    folder = os.path.dirname(relative)
    best = None
    for library in MAY_INCLUDE:
        if folder == library or folder.startswith(library + "/"):
            if best is None or len(library) > len(best):
                best = library
    return best


def folder_of_include(target):
    """The project folder an include names ("directory/ui/AbReg.h" -> "directory/ui"), or None."""
    if not target.startswith('"'):
        return None
    path = target.strip('"')
    folder = os.path.dirname(path)
    return library_of(path) if folder else None


def check(root):
    problems = []
    for library in MAY_INCLUDE:
        base = os.path.join(root, library)
        if not os.path.isdir(base):
            continue
        for dirpath, _, files in os.walk(base):
            for name in sorted(files):
                if not name.endswith((".cpp", ".h")):
                    continue
                path = os.path.join(dirpath, name)
                relative = os.path.relpath(path, root)
                owner = library_of(relative)
                if owner != library:
                    continue  # a sub-library's file, checked under its own name
                with open(path, encoding="utf-8") as source:
                    for number, line in enumerate(source, 1):
                        code = line.split("//", 1)[0]
                        if owner in LOGIC and EVENT_LOOP_WAIT.search(code):
                            problems.append(f"{relative}:{number}: logic waits by running the event loop")
                        match = INCLUDE.match(line)
                        if not match:
                            continue
                        target = match.group(1)
                        where = f"{relative}:{number}: {target}"
                        used = folder_of_include(target)
                        if used is not None and used != owner and used not in MAY_INCLUDE[owner]:
                            problems.append(f"{where}: {owner} may not include from {used}")
                        if owner in LOGIC:
                            if WIDGET_HEADER.match(target):
                                problems.append(f"{where}: a logic library includes a widget header")
                            if target == PROMPTS_HEADER and relative != "platform/Prompts.cpp":
                                problems.append(f"{where}: a logic library includes the message-box header")
    return problems


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    problems = check(root)
    for problem in problems:
        print(problem)
    print(f"{'layers broken' if problems else 'layers kept'}: {len(problems)} problem(s)")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
