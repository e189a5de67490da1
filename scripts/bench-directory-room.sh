#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The room's directory on a throwaway PostgreSQL 15 that pg_virtualenv makes for the run, with 100,000
# subscribers, printed as rows of the README's table:
#   - a desk's start-up with the room's database against its start-up from its own files (the same
#     directory, the same run; wall time until the window's event loop is idle, the best of the runs),
#     and until the room was joined behind the window (a tenth of a second after the window is up);
#   - an edit at one desk (a subscriber's number changed and saved) until another desk's lists hold it:
#     median and 95th percentile.
#   scripts/bench-directory-room.sh [RUNS [EDITS]]   5 start-ups of each and 50 edits unless given
# Run by scripts/bench-room.sh, or alone (it builds what it needs).
set -euo pipefail

cd "$(dirname "$0")/.."
runs="${1:-5}"
edits="${2:-50}"

export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
cmake --preset release -B build/bench -DZOLBIN_BENCH=ON >/dev/null
cmake --build build/bench -j2 --target zolbin-bench zolbin-send >/dev/null

pg_virtualenv -t -v 15 python3 - "$PWD/build/bench/zolbin-bench" "$PWD/build/bench/zolbin-send" "$runs" "$edits" <<'PY'
import os, shutil, subprocess, sys, tempfile

bench, send, runs, edits = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
work = tempfile.mkdtemp(prefix="zolbin-directory-room-")
env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
try:
    subprocess.run(["createdb", "directory"], check=True)
    uri = f"postgresql://{os.environ['PGUSER']}@{os.environ['PGHOST']}:{os.environ['PGPORT']}/directory"
    own = os.path.join(work, "own")
    subprocess.run([bench, "--make-dir", own, "100000"], check=True)
    desks = []
    for n in (1, 2):
        desk = os.path.join(work, f"desk{n}")
        shutil.copytree(own, desk)
        with open(os.path.join(desk, "Zolbin.ini"), "ab") as ini:
            ini.write(f"[Outbox]\r\nDatabase={uri}\r\nDesk=desk-{n}\r\nGates=none\r\n".encode())
        desks.append(desk)
    subprocess.run([send, "--data-dir", own, "--outbox", uri, "--directory-import", own], check=True)

    def startup(folder):
        out = subprocess.run([bench, "--startup", folder], check=True, capture_output=True, text=True,
                             env=env).stdout.split()
        return float(out[0]), float(out[2]), float(out[3])

    for desk in desks:  # each desk joins the room once: its copy is the room's from then on
        startup(desk)
    alone, room = [], []
    for _ in range(runs):
        alone.append(startup(own))
        room.append(startup(desks[0]))
    edit = subprocess.run([bench, "--room-directory-edit", desks[0], desks[1], str(edits)], check=True,
                          capture_output=True, text=True, env=env).stdout.split()
finally:
    shutil.rmtree(work, ignore_errors=True)


def row(what, now, base="—", ratio="—", target=""):
    print(f"| {what} | {now} | {base} | {ratio} | {target} |")


wall_room, wall_alone = min(w for _, w, _ in room), min(w for _, w, _ in alone)
cpu_room, cpu_alone = min(c for c, _, _ in room), min(c for c, _, _ in alone)
joined = min(j for _, _, j in room)
row("start-up with the room's directory, 100000, wall (vs own files)", f"{wall_room:.1f} ms",
    f"{wall_alone:.1f} ms", f"{wall_room / wall_alone:.2f}", "≤ 1.5")
row("start-up with the room's directory, 100000, until the room is joined behind the window", f"{joined:.1f} ms")
row("start-up with the room's directory, 100000, CPU (vs own files)", f"{cpu_room:.4f} s", f"{cpu_alone:.4f} s",
    f"{cpu_room / cpu_alone:.2f}", "")
row(f"an edit at one desk to another desk's lists, 100000, median of {edits}", f"{float(edit[0]):.1f} ms", "—",
    "—", "< 200 ms")
row(f"an edit at one desk to another desk's lists, 100000, 95th percentile", f"{float(edit[1]):.1f} ms", "—",
    "—", "")
PY
