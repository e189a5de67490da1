#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The room's figures on a shared outbox, on a throwaway PostgreSQL 15 that pg_virtualenv makes for the run
# (a fresh database for each figure), printed as rows of the README's table:
#   - two workers against one: 10,000 queued pages sent to a loopback SNPP responder, each page exactly
#     once (every page "sent" after one attempt, as many sessions at the responder as pages);
#   - four desks queueing 2,500 pages each at once, and one desk's queueing per page against the same into
#     the embedded outbox (the best of three runs; as a whole run, and beyond what a run of one page costs);
#   - from a page queued at one desk to another desk's queue window having read it: median and 95th
#     percentile;
#   - the room's directory of 100,000 subscribers (scripts/bench-directory-room.sh, run last).
# Wall time throughout: the waits for the server, the network and the disk are the cost.
#   scripts/bench-room.sh [PAGES]    PAGES: the pages of the scaling figure, 10000 unless given
# Run by scripts/bench.sh after its own figures, or alone (it builds what it needs).
set -euo pipefail

cd "$(dirname "$0")/.."
pages="${1:-10000}"

export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
cmake --preset release -B build/bench -DZOLBIN_BENCH=ON >/dev/null
cmake --build build/bench -j2 --target zolbin-bench zolbin-send >/dev/null

pg_virtualenv -v 15 python3 - "$PWD/build/bench/zolbin-bench" "$PWD/build/bench/zolbin-send" "$pages" <<'PY'
import os, shutil, subprocess, sys, tempfile, time

bench, send, pages = sys.argv[1], sys.argv[2], int(sys.argv[3])
work = tempfile.mkdtemp(prefix="zolbin-room-")
group = "Группа 0"
serial = 0


def database():
    """A fresh database of the throwaway server, as a libpq URI (the password stays in PGPASSWORD)."""
    global serial
    serial += 1
    name = f"room{serial}"
    subprocess.run(["createdb", name], check=True)
    return f"postgresql://{os.environ['PGUSER']}@{os.environ['PGHOST']}:{os.environ['PGPORT']}/{name}"


def folder(name, members, port=1):
    path = os.path.join(work, name)
    subprocess.run([bench, "--make-room-dir", path, str(members), str(port)], check=True)
    return path


def queue(data, outbox=None):
    # Digits: some members carry numeric pagers.
    args = [send, "--data-dir", data, "--queue", "--quiet", "--group", group, "0123", "4567"]
    if outbox:
        args[1:1] = ["--outbox", outbox]
    return subprocess.Popen(args)


def wait_all(children, what):
    for child in children:
        if child.wait(timeout=600) != 0:
            sys.exit(f"{what} failed")


def timed(start_all, what):
    start = time.perf_counter()
    wait_all(start_all(), what)
    return time.perf_counter() - start


def best(start_all, what, runs=3):
    """The shortest of a few runs: other work on the machine disturbs it least."""
    return min(timed(start_all, what) for _ in range(runs))


def fresh(data):
    """The folder without its own outbox, so that each run starts from the same empty one."""
    for name in ("Outbox.db", "Outbox.db-wal", "Outbox.db-shm"):
        try:
            os.remove(os.path.join(data, name))
        except FileNotFoundError:
            pass
    return data


def sent_once(outbox, data):
    listing = subprocess.run([send, "--data-dir", data, "--outbox", outbox, "--list", "outbox", "--all"],
                             check=True, capture_output=True, text=True).stdout.splitlines()
    fields = [line.split("\t") for line in listing]
    return len(fields) == pages and all(f[1] == "sent" and f[4] == "1" for f in fields)


responder = subprocess.Popen([bench, "--snpp-responder"], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                             text=True)
port = int(responder.stdout.readline())
try:
    # Scaling: the same queued pages sent by one worker, then by two, each on a database of its own.
    seconds = {}
    for workers in (1, 2):
        outbox = database()
        desk = folder(f"desk{workers}", pages, port)
        wait_all([queue(desk, outbox)], "queueing the pages")
        folders = [folder(f"worker{workers}-{w}", 1, port) for w in range(workers)]
        seconds[workers] = timed(lambda: [subprocess.Popen(
            [send, "--data-dir", f, "--outbox", outbox, "--work-outbox", "--quiet"]) for f in folders],
            f"{workers} worker(s)")
        if not sent_once(outbox, desk):
            sys.exit(f"{workers} worker(s): not every page was sent exactly once")

    # Four desks queueing at once; one desk alone, shared and embedded.
    quarter = 2500
    desks = [folder(f"queue{d}", quarter) for d in range(4)]
    outbox = database()
    four = timed(lambda: [queue(d, outbox) for d in desks], "four desks queueing")
    shared_one = best(lambda: [queue(desks[0], database())], "one desk queueing into the shared outbox")
    embedded_one = best(lambda: [queue(fresh(desks[1]))], "one desk queueing into its own outbox")
    # The same run with one page: what a run costs whatever it queues (the program's start, the
    # connection, the schema's and the directory's check), taken off to leave the pages' own cost.
    single = [folder(f"single{d}", 1) for d in range(2)]
    shared_start = best(lambda: [queue(single[0], database())], "one page into the shared outbox")
    embedded_start = best(lambda: [queue(fresh(single[1]))], "one page into the desk's own outbox")

    notice = subprocess.run([bench, "--room-notice", database(), "200"], check=True, capture_output=True,
                            text=True, env=dict(os.environ, QT_QPA_PLATFORM="offscreen")).stdout.split()
finally:
    responder.stdin.close()
    responder.wait(timeout=30)
    shutil.rmtree(work, ignore_errors=True)


def row(what, now, base="—", ratio="—", target=""):
    print(f"| {what} | {now} | {base} | {ratio} | {target} |")


row(f"{pages} pages to loopback SNPP, two workers (vs one), each once", f"{seconds[2]:.2f} s",
    f"{seconds[1]:.2f} s", f"{seconds[1] / seconds[2]:.2f}×", "≥ 1.6× faster")
row("four desks queueing 2,500 pages each at once, PostgreSQL", f"{four:.2f} s", "—", "—", "< 5 s")
row("queueing per page, one desk of 2,500, PostgreSQL (vs embedded), whole run", f"{shared_one / quarter * 1000:.3f} ms",
    f"{embedded_one / quarter * 1000:.3f} ms", f"{shared_one / embedded_one:.2f}", "")
shared_page = (shared_one - shared_start) / (quarter - 1)
embedded_page = (embedded_one - embedded_start) / (quarter - 1)
row("queueing per page, one desk of 2,500, PostgreSQL (vs embedded), beyond a run of one",
    f"{shared_page * 1000:.3f} ms", f"{embedded_page * 1000:.3f} ms", f"{shared_page / embedded_page:.2f}", "≤ 2")
row("a change at one desk to another desk's queue window, median", f"{float(notice[0]):.1f} ms", "—", "—",
    "< 100 ms")
row("a change at one desk to another desk's queue window, 95th percentile", f"{float(notice[1]):.1f} ms", "—",
    "—", "< 250 ms")
PY

scripts/bench-directory-room.sh
