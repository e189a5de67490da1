#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the release preset with the benchmarks and prints one table: each figure beside its baseline
# (a plain read or write of the same bytes for the list files, the start with empty list files for the
# window program, a send without the outbox for the outbox's rows) and their ratio. CPU time (user +
# system), best of several runs, so that other work on the machine disturbs the figures as little as it
# can; the outbox's rows are real time, since the waits for the network and the disk are their cost.
# Timings are no tests: nothing here fails on a slow figure.
#   scripts/bench.sh [RUNS]      RUNS: repetitions of each figure, 5 unless given
set -euo pipefail

cd "$(dirname "$0")/.."
runs="${1:-5}"
scripts/setup.sh

export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
# A build folder of its own, so that the release build of the test command stays without the benchmarks.
cmake --preset release -B build/bench -DZOLBIN_BENCH=ON >/dev/null
cmake --build build/bench -j2 --target zolbin-bench zolbin-send >/dev/null

bench="$PWD/build/bench/zolbin-bench"
send="$PWD/build/bench/zolbin-send"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The directories of the process figures.
for n in 0 10000 100000; do
  "$bench" --make-dir "$work/d$n" "$n"
done
"$bench" --make-group-dir "$work/g10000" 10000

# Best of the runs of one start-up: "<cpu seconds> <peak RSS KiB>" with the lowest CPU time, and the
# lowest peak seen.
startup() {
  for _ in $(seq "$runs"); do "$bench" --startup "$1"; done |
    sort -n | awk 'NR == 1 { cpu = $1 } { if (rss == "" || $2 < rss) rss = $2 } END { print cpu, rss }'
}
# Best of the runs of zolbin-send listing the groups: CPU seconds of the child, to the microsecond.
listing() {
  python3 - "$send" "$1" "$runs" <<'PY'
import os, subprocess, sys
send, folder, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])
best = None
for _ in range(runs):
    child = subprocess.Popen([send, "--data-dir", folder, "--list", "groups"], stdout=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    if status != 0:
        sys.exit(f"zolbin-send failed in {folder}")
    cpu = usage.ru_utime + usage.ru_stime
    best = cpu if best is None else min(best, cpu)
print(f"{best:.4f}")
PY
}

# Best of the runs of zolbin-send queueing a page to every member of the group, each into a fresh
# outbox: "<wall seconds> <cpu seconds>", each the lowest seen. The text is digits: some members carry
# numeric pagers.
queueing() {
  python3 - "$send" "$1" "$runs" <<'PY'
import os, subprocess, sys, time
send, folder, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])
wall = cpu = None
for _ in range(runs):
    for name in ("Outbox.db", "Outbox.db-journal", "Outbox.db-wal", "Outbox.db-shm"):
        try:
            os.remove(os.path.join(folder, name))
        except FileNotFoundError:
            pass
    start = time.perf_counter()
    child = subprocess.Popen([send, "--data-dir", folder, "--queue", "--quiet", "--group", "Группа 0",
                              "0123", "4567"])
    _, status, usage = os.wait4(child.pid, 0)
    took = time.perf_counter() - start
    if status != 0:
        sys.exit(f"zolbin-send --queue failed in {folder}")
    used = usage.ru_utime + usage.ru_stime
    wall = took if wall is None else min(wall, took)
    cpu = used if cpu is None else min(cpu, used)
print(f"{wall:.4f} {cpu:.4f}")
PY
}

read -r s0 r0 < <(startup "$work/d0")
read -r s10k _ < <(startup "$work/d10000")
read -r s100k r100k < <(startup "$work/d100000")
l0="$(listing "$work/d0")"
l100k="$(listing "$work/d100000")"
read -r qwall qcpu < <(queueing "$work/g10000")
files="$(stat -c %s "$work/d100000/Abonent.lst" "$work/d100000/Group.lst" "$work/d100000/Company.lst" |
  awk '{ s += $1 } END { print s }')"

"$bench" --benchmark_format=json --benchmark_repetitions="$runs" \
  --benchmark_report_aggregates_only=false >"$work/bench.json" 2>"$work/bench.log" ||
  { cat "$work/bench.log" >&2; exit 1; }

python3 - "$work/bench.json" "$s0" "$s10k" "$s100k" "$r0" "$r100k" "$l0" "$l100k" "$files" "$qwall" "$qcpu" <<'PY'
import json, sys
data, s0, s10k, s100k, r0, r100k, l0, l100k, files, qwall, qcpu = sys.argv[1:]
# Best CPU time and best real time of each benchmark, in ms; a name without its "/real_time".
best, real = {}, {}
for b in json.load(open(data))["benchmarks"]:
    if b.get("run_type") != "iteration":
        continue
    name = b["run_name"].removesuffix("/real_time")
    factor = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b["time_unit"]]
    best[name] = min(best.get(name, float("inf")), b["cpu_time"] * factor)
    real[name] = min(real.get(name, float("inf")), b["real_time"] * factor)

rows = []
def row(what, value, unit, base=None, target="", digits=1):
    ratio = f"{value / base:.{digits}f}" if base else "—"
    shown = f"{base:.4g} {unit}" if base else "—"
    rows.append((what, f"{value:.4g} {unit}", shown, ratio, target))

files_name = {0: "Abonent.lst", 1: "Group.lst", 2: "Company.lst"}
for which in (0, 1, 2):
    for n in (100, 10000, 100000):
        key = f"file:{which}/subscribers:{n}"
        if f"BM_Load/{key}" not in best:
            continue
        label = f"{files_name[which]}, {n} subscribers"
        row(f"load {label} (vs read)", best[f"BM_Load/{key}"], "ms", best[f"BM_ReadBytes/{key}"])
        row(f"save {label} (vs write+fsync)", best[f"BM_Save/{key}"], "ms", best[f"BM_WriteBytes/{key}"])
for n in (10000, 100000):
    row(f"link group members, {n} subscribers (vs write Group.lst)", best[f"BM_LinkMembers/subscribers:{n}"],
        "ms", best.get("BM_WriteBytes/file:1/subscribers:100000"))
for by, label in ((0, "name"), (1, "number")):
    row(f"sort by {label} + rewrite, 100000 (vs write Abonent.lst)", best[f"BM_SortAndSave/byNumber:{by}/subscribers:100000"],
        "ms", best["BM_WriteBytes/file:0/subscribers:100000"])
for n in (10000, 100000):
    row(f"FindByPrefix per keystroke, {n}", best[f"BM_FindByPrefix/subscribers:{n}"], "ms")
    row(f"Ctrl search key in the window, {n}", best[f"BM_SearchKey/subscribers:{n}"], "ms")
    row(f"fill the tick lists, {n}", best[f"BM_FillRecipientLists/subscribers:{n}"], "ms")
    row(f"directory window opened on the subscribers, {n}", best[f"BM_DirectoryWindow/subscribers:{n}"], "ms")
row("queue window opened, 100000 finished + 10000 waiting pages", best["BM_QueueWindowOpen"], "ms")
row("queue window's first 200 rows of 110000", best["BM_QueueFirstBatch"], "ms")
for n in (200, 10000):
    row(f"queue window's refresh with {n} rows read", best[f"BM_QueueRefresh/rows:{n}"], "ms")
for n in (100, 10000, 100000):
    row(f"start-up in process until idle, {n} (vs empty)", best[f"BM_Startup/subscribers:{n}"], "ms",
        best["BM_Startup/subscribers:0"])
row("start-up CPU until idle, 100000 (vs empty)", float(s100k), "s", float(s0), "≤ 5")
row("start-up CPU until idle, 10000 (vs empty)", float(s10k), "s", float(s0), "≤ 1.3")
row("extra peak memory, 100000 (vs list files)", (int(r100k) - int(r0)) / 1024, "MiB", int(files) / 1048576, "≤ 1.2")
row("zolbin-send --list groups, 100000 (vs empty)", float(l100k), "s", float(l0), "≤ 4")
page = "BM_LoopbackSend/outbox:{}/members:{}"
row("one SNPP page to loopback, through the outbox (vs direct)", real[page.format(1, 0)], "ms", real[page.format(0, 0)],
    "≤ 1.05", 2)
per_out, per_direct = real[page.format(1, 1000)] / 1000, real[page.format(0, 1000)] / 1000
row("group of 1000 to loopback, per page, through the outbox (vs direct)", per_out, "ms", per_direct, "", 2)
row("the outbox's cost per page, group of 1000 (outbox − direct)", per_out - per_direct, "ms", None, "≤ 2 ms")
row("EnqueueOrder of a group of 10000", real["BM_EnqueueGroup/members:10000"], "ms")
journal = "BM_JournalOfSentPages/pages:10000"
row("zolbin-send --queue, 10000 pages, wall (vs journal lines alone)", float(qwall), "s", real[journal] / 1000,
    "< 2 s", 2)
row("zolbin-send --queue, 10000 pages, CPU (vs journal lines alone)", float(qcpu), "s", best[journal] / 1000, "",
    2)
row("1000 POST /v1/pages from 20 clients, all 202, into the outbox", real["BM_HttpPagesFrom20Clients/iterations:3"] / 1000,
    "s", None, "< 3 s", 2)
row("one POST /v1/pages answered (vs one page's add to the outbox)", real["BM_HttpOnePage"], "ms",
    real["BM_OutboxAddOnePage"], "≤ 3", 2)

head = ("What", "Now", "Baseline", "Ratio", "Target")
widths = [max(len(r[i]) for r in rows + [head]) for i in range(5)]
line = lambda r: "| " + " | ".join(c.ljust(w) for c, w in zip(r, widths)) + " |"
print(line(head))
print("|" + "|".join("-" * (w + 2) for w in widths) + "|")
for r in rows:
    print(line(r))
PY
