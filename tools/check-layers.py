#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks the layer map of ARCHITECTURE.md against the sources: no #include climbs a layer, the logic
libraries and zolbin-send include neither a widget or display header nor the message-box header, Qt SQL is
included only in records/ and Qt's network classes only in platform/, and no logic waits by running the
event loop (processEvents or a nested QEventLoop): a send waits on its own thread. Tests and bench/ may
include anything they measure or check.

Usage: check-layers.py [SOURCE_ROOT]   (default: the folder above this script)
Prints one line per broken rule and exits 1 when there is any, 0 otherwise.
"""
import os
import re
import sys

LOGIC = ["platform", "directory", "records", "dispatch", "intake"]
UI = ["platform/ui", "directory/ui", "records/ui", "dialogs"]

# The folders each library's sources may include from (besides its own).
MAY_INCLUDE = {
    "platform": [],
    "directory": ["platform"],
    "records": ["platform", "directory"],
    "dispatch": ["platform", "directory", "records"],
    "intake": ["platform", "directory", "records", "dispatch"],
    "platform/ui": ["platform"],
    "directory/ui": ["platform", "platform/ui", "directory", "records"],
    "records/ui": ["platform", "platform/ui", "directory", "records"],
    "dialogs": ["platform", "platform/ui", "directory", "records", "dispatch"],
    "app": LOGIC + UI,
    "cli": LOGIC,
    "bench": LOGIC + UI + ["app"],
}

# Headers that need a display: every QtWidgets class, and the QtGui ones a window uses. They belong to the
# ui folders and the hosts above them, never to the logic or to zolbin-send.
WIDGET_HEADER = re.compile(
    r"^<(Qt(Widgets|Gui)\b|Q(\w*(Box|Button|Edit|Bar|Dialog|Layout|Delegate|Gesture|Style|Widget|Window|Item|"
    r"ScrollArea|Slider)|(AbstractItem|Column|Graphics|Header|List|Table|Tree|Undo)View|Widget\w*|Style\w*|"
    r"Graphics\w*|Mdi\w*|Wizard\w*|Menu\w*|Splitter\w*|Scroller\w*|ItemEditor\w*|Tree\w*|Table\w*|Gesture\w*|"
    r"ButtonGroup|FocusFrame|Application|Label|"
    r"Frame|Completer|ToolTip|SystemTrayIcon|SizePolicy|SplashScreen|WhatsThis|Dial|LCDNumber|RubberBand|"
    r"SizeGrip|DataWidgetMapper|FileIconProvider|Colormap|ErrorMessage|TileRules|StandardItemEditorCreator|"
    r"TextBrowser|Action|Painter|Pixmap|Icon|Image|Font|Palette|Clipboard|GuiApplication|KeyEvent|Screen)\b)")
# Qt SQL is the outbox's, in records/.
SQL_HEADER = re.compile(r"^<(QtSql\b|QSql)")
# Qt's network classes (requests, TLS, sockets) are the operating-system services of platform/. A local
# socket (QLocalServer, QLocalSocket) joins two processes of one machine: the hosts may use one.
NETWORK_HEADER = re.compile(r"^<(QtNetwork>|(QtNetwork/)?Q(Network|Ssl|Tcp|Udp|Sctp|Dns|Host|AbstractSocket|"
                            r"AbstractNetworkCache|Http|Dtls|Ocsp|Authenticator|Hsts|IPv6|PasswordDigestor))")
# Each rule: the headers, the libraries that may not include them, and what the finding says. Tests are not
# checked, and bench/ may include what it measures.
SYSTEM_RULES = [
    (WIDGET_HEADER, [*LOGIC, "cli"], "a widget or display header outside the ui folders and the windows"),
    (SQL_HEADER, [name for name in MAY_INCLUDE if name not in ("records", "bench")], "Qt SQL outside records/"),
    (NETWORK_HEADER, [name for name in MAY_INCLUDE if name not in ("platform", "bench")],
     "Qt Network outside platform/"),
]
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
                        for header, barred, what in SYSTEM_RULES:
                            if owner in barred and header.match(target):
                                problems.append(f"{where}: {what}")
                        if owner in LOGIC and target == PROMPTS_HEADER and relative != "platform/Prompts.cpp":
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
