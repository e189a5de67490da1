#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The layer check on a tree of one-line sources, and its header patterns against the Qt headers installed.
Usage: check-layers-test.py CHECK_LAYERS_PY QT_HEADERS_FOLDER"""
import os
import re
import runpy
import sys
import tempfile
import types

# The check's functions and patterns, read from its file (its name is no module name).
layers = types.SimpleNamespace(**runpy.run_path(sys.argv[1], run_name="check_layers"))

# The source, its include, and the finding expected (None: kept).
CASES = [
    ("records/Outbox.cpp", "<QSqlQuery>", None),
    ("records/ui/Queue.cpp", "<QSqlQuery>", "Qt SQL outside records/"),
    ("bench/Queue.cpp", "<QtSql/QSqlDatabase>", None),
    ("platform/Http.cpp", "<QNetworkReply>", None),
    ("platform/ui/Tray.cpp", "<QSslSocket>", "Qt Network outside platform/"),
    ("app/Running.cpp", "<QLocalSocket>", None),
    ("cli/Host.cpp", "<QApplication>", "a widget or display header"),
    ("dispatch/Job.cpp", "<QStringView>", None),
    ("intake/Snpp.cpp", '"dispatch/Recipient.h"', None),
    ("intake/Snpp.cpp", "<QTcpServer>", "Qt Network outside platform/"),
    ("dispatch/Job.cpp", '"intake/SnppSession.h"', "dispatch may not include from intake"),
]
failures = []
with tempfile.TemporaryDirectory() as root:
    for number, (path, target, _) in enumerate(CASES):  # the line number tells the case
        os.makedirs(os.path.join(root, os.path.dirname(path)), exist_ok=True)
        with open(os.path.join(root, f"{path[:-4]}{number}.cpp"), "w", encoding="utf-8") as source:
            source.write("\n" * number + f"#include {target}\n")
    found = layers.check(root)
    for number, (path, target, expected) in enumerate(CASES):
        mine = [line for line in found if f":{number + 1}: {target}" in line]
        if (expected is None) != (not mine) or (expected and expected not in mine[0]):
            failures.append(f"{path} {target}: {mine or 'kept'}, expected {expected or 'kept'}")


def classes(module):
    return [f"<{n}>" for n in os.listdir(os.path.join(sys.argv[2], module)) if re.fullmatch(r"Q[A-Z]\w*", n)]


# Every class of QtWidgets and QtSql is caught, every network class but a local socket, nothing of QtCore.
for module, pattern in [("QtWidgets", layers.WIDGET_HEADER), ("QtSql", layers.SQL_HEADER),
                        ("QtNetwork", layers.NETWORK_HEADER)]:
    failures += [f"not caught: {h}" for h in classes(module) if not pattern.match(h) and "QLocal" not in h]
failures += [f"caught: {h}" for h in classes("QtCore") if any(r.match(h) for r, _, _ in layers.SYSTEM_RULES)]

print("\n".join(failures + [f"{len(CASES)} cases, {len(failures)} failure(s)"]))
sys.exit(1 if failures else 0)
