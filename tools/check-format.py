#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Fails when a C++ source of the tree is not as clang-format and the project's .clang-format write it.

Usage: check-format.py ROOT [CLANG_FORMAT]

The sources are those git tracks (the untracked ones it does not ignore too); outside a git checkout,
every .cpp and .h below ROOT except the build folders. Each file that clang-format would change is named
with the first line it would change, and the check ends with status 1.
"""
import os
import subprocess
import sys

SUFFIXES = (".cpp", ".h")


def sources(root):
    try:
        listed = subprocess.run(
            ["git", "-C", root, "ls-files", "--cached", "--others", "--exclude-standard"],
            check=True, capture_output=True, text=True).stdout.splitlines()
        return sorted(f for f in listed if f.endswith(SUFFIXES) and os.path.exists(os.path.join(root, f)))
    except (OSError, subprocess.CalledProcessError):
        found = []
        for folder, dirs, files in os.walk(root):
            dirs[:] = [d for d in dirs if d not in ("build", ".git")]
            found += [os.path.relpath(os.path.join(folder, f), root) for f in files if f.endswith(SUFFIXES)]
        return sorted(found)


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else "."
    tool = sys.argv[2] if len(sys.argv) > 2 else "clang-format"
    files = sources(root)
    if not files:
        print("check-format: no sources found below " + root)
        return 1
    unformatted = []
    for start in range(0, len(files), 100):
        batch = files[start:start + 100]
        run = subprocess.run([tool, "--dry-run", "--Werror", "--style=file"] + batch, cwd=root,
                             capture_output=True, text=True)
        if run.returncode == 0:
            continue
        seen = set()
        for line in run.stderr.splitlines():
            name = line.split(":", 1)[0]
            if name in batch and name not in seen and "error:" in line:
                seen.add(name)
                unformatted.append(line)
        if not seen:  # clang-format itself failed
            print(run.stderr.strip())
            return 1
    for line in unformatted:
        print(line)
    print("check-format: %d of %d sources not formatted" % (len(unformatted), len(files)))
    return 1 if unformatted else 0


if __name__ == "__main__":
    sys.exit(main())
