#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Fails while an interface text has no English translation.

Arguments: the lupdate program, the tree's root (where includes start), then one "catalogue.ts|folder"
pair per library. For each pair lupdate reads
the folder's sources (that folder only: every library is one folder) into a copy of the catalogue; the
check then asks of the copy that every text has a finished translation without Cyrillic letters, and of
the catalogue kept in the tree that it is what lupdate writes (no text missing, none left over).
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

CYRILLIC = re.compile('[\u0400-\u04ff]')
OPTIONS = ['-locations', 'none', '-tr-function-alias', 'QT_TRANSLATE_NOOP+=tx', '-no-obsolete', '-source-language', 'ru_RU', '-target-language', 'en_US']


def messages(ts_path):
    root = ET.parse(ts_path).getroot()
    for context in root.iter('context'):
        name = context.findtext('name', '')
        for message in context.iter('message'):
            yield name, message


def key(context, message):
    return (context, message.findtext('source', ''), message.findtext('comment', ''))


def translated(message):
    translation = message.find('translation')
    if translation is None or translation.get('type') in ('unfinished', 'vanished', 'obsolete'):
        return None
    forms = [f.text or '' for f in translation.iter('numerusform')] or [translation.text or '']
    if not all(f.strip() for f in forms):
        return None
    return ''.join(forms)


def check(lupdate, root, ts, folder):
    problems = []
    sources = sorted(os.path.join(folder, f) for f in os.listdir(folder) if f.endswith(('.cpp', '.h')))
    with tempfile.TemporaryDirectory() as tmp:
        copy = os.path.join(tmp, os.path.basename(ts))
        if os.path.exists(ts):
            shutil.copy(ts, copy)
        run = subprocess.run([lupdate, '-I', root, *OPTIONS, *sources, '-ts', copy], capture_output=True, text=True)
        if run.returncode != 0:
            return [f'{ts}: lupdate failed: {run.stderr.strip()}']
        fresh = {key(c, m): m for c, m in messages(copy)}
        kept = {key(c, m) for c, m in messages(ts)} if os.path.exists(ts) else set()
    for k, message in fresh.items():
        text = translated(message)
        where = f'{os.path.basename(ts)}: [{k[0]}] "{k[1]}"'
        if k not in kept:
            problems.append(f'{where}: not in the catalogue (run the update_translations target)')
        elif text is None:
            problems.append(f'{where}: no finished translation')
        elif CYRILLIC.search(text):
            problems.append(f'{where}: the translation is not English: "{text}"')
    for k in sorted(kept - fresh.keys()):
        problems.append(f'{os.path.basename(ts)}: [{k[0]}] "{k[1]}": no longer in the code')
    return problems


def main():
    lupdate, root, pairs = sys.argv[1], sys.argv[2], sys.argv[3:]
    problems = []
    for pair in pairs:
        ts, folder = pair.split('|', 1)
        problems += check(lupdate, root, ts, folder)
    for p in problems:
        print(p)
    print(f'{len(pairs)} catalogues, {len(problems)} problems')
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
