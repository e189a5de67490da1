#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The layer check itself: a tree of one-line sources, each kept or refused as the map says, and the header
patterns against the Qt headers installed (QT_HEADERS: the folder holding QtCore, QtWidgets, ...).

Usage: check-layers-test.py CHECK_LAYERS_PY QT_HEADERS
"""
import importlib.util
import os
import re
import sys
import tempfile

spec = importlib.util.spec_from_file_location("check_layers", sys.argv[1])
layers = importlib.util.module_from_spec(spec)
spec.loader.exec_module(layers)
failures = []

# The source, its include, and the finding expected (None: kept).
CASES = [
    ("records/Outbox.cpp", "<QSqlQuery>", None),
    ("records/ui/Queue.cpp", "<QSqlQuery>", "Qt SQL outside records/"),
    ("app/Main.cpp", "<QtSql/QSqlDatabase>", "Qt SQL outside records/"),
    ("bench/Queue.cpp", "<QSqlDatabase>", None),
    ("platform/Http.cpp", "<QNetworkReply>", None),
    ("dispatch/Wctp.cpp", "<QSslSocket>", "Qt Network outside platform/"),
    ("platform/ui/Tray.cpp", "<QTcpSocket>", "Qt Network outside platform/"),
    ("app/Running.cpp", "<QLocalSocket>", None),
    ("records/ui/View.cpp", "<QDialog>", None),
    ("cli/Host.cpp", "<QApplication>", "a widget or display header"),
    ("directory/Lists.cpp", "<QtWidgets/QLabel>", "a widget or display header"),
    ("dispatch/Job.cpp", "<QStringView>", None),
    ("cli/Host.cpp", '"dialogs/About.h"', "cli may not include from dialogs"),
]

with tempfile.TemporaryDirectory() as root:
    for number, (path, target, _) in enumerate(CASES):
        os.makedirs(os.path.join(root, os.path.dirname(path)), exist_ok=True)
        # One file a case: the line number tells which case a finding belongs to.
        with open(os.path.join(root, f"{path[:-4]}{number}.cpp"), "w", encoding="utf-8") as source:
            source.write("\n" * number + f"#include {target}\n")
    found = layers.check(root)
    for number, (path, target, expected) in enumerate(CASES):
        mine = [line for line in found if f":{number + 1}: {target}" in line]
        if expected is None and mine:
            failures.append(f"{path} {target}: refused: {mine}")
        if expected is not None and not any(expected in line for line in mine):
            failures.append(f"{path} {target}: not refused as '{expected}': {mine}")


def classes(module):
    folder = os.path.join(sys.argv[2], module)
    return [f"<{name}>" for name in os.listdir(folder) if re.fullmatch(r"Q[A-Z]\w*", name)]


# Every class of QtWidgets and QtSql is caught, every network class but a local socket, nothing of QtCore.
for module, pattern, exempt in [("QtWidgets", layers.WIDGET_HEADER, ()), ("QtSql", layers.SQL_HEADER, ()),
                                ("QtNetwork", layers.NETWORK_HEADER, ("<QLocalServer>", "<QLocalSocket>"))]:
    missed = [header for header in classes(module) if not pattern.match(header) and header not in exempt]
    if missed:
        failures.append(f"{module} headers not caught: {missed}")
caught = [header for header in classes("QtCore") if any(rule.match(header) for rule, _, _ in layers.SYSTEM_RULES)]
if caught:
    failures.append(f"QtCore headers caught: {caught}")

for failure in failures:
    print(failure)
print(f"{len(CASES)} cases, {len(failures)} failure(s)")
sys.exit(1 if failures else 0)
