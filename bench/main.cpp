// SPDX-License-Identifier: GPL-3.0-or-later
// zolbin-bench: the benchmarks (Google Benchmark options), or one of the helpers for scripts/bench.sh:
//   zolbin-bench --make-dir FOLDER SUBSCRIBERS   writes a standard directory into FOLDER
//   zolbin-bench --make-group-dir FOLDER MEMBERS writes a directory of one group, "Группа 0", of MEMBERS
//                                                subscribers into FOLDER
//   zolbin-bench --startup FOLDER                starts the window program there until idle and prints
//                                                "<cpu seconds> <peak RSS KiB> <wall ms of the start> <wall
//                                                ms until the room was joined (the start's, without one)>"
//   zolbin-bench --make-room-dir FOLDER MEMBERS PORT  one group of MEMBERS, every company the SNPP server
//                                                on 127.0.0.1:PORT
//   zolbin-bench --snpp-responder                serves SNPP (see bench/RoomRun.h)
//   zolbin-bench --room-notice DATABASE CHANGES  a change at one desk until another desk's queue window
//                                                has read it: "<median ms> <95th percentile ms>"
//   zolbin-bench --room-directory-edit FOLDER1 FOLDER2 CHANGES  an edit of the room's directory at one
//                                                desk until the other desk's lists hold it: the same
// The windows are offscreen unless QT_QPA_PLATFORM says otherwise.

#include "bench/BenchDirectory.h"
#include "bench/BenchFolders.h"
#include "bench/DirectoryRoomRun.h"
#include "bench/RoomRun.h"
#include "bench/StartupRun.h"
#include "platform/ui/WidgetPrompts.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

int main(int argc, char** argv)
{
    using namespace zolbin::bench;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    try {
        if (argc == 4 && std::strcmp(argv[1], "--make-dir") == 0) {
            WriteDirectory(argv[2], StandardSize(std::stoi(argv[3])));
            return 0;
        }
        if (argc == 4 && std::strcmp(argv[1], "--make-group-dir") == 0) {
            WriteDirectory(argv[2], OneGroupSize(std::stoi(argv[3])));
            return 0;
        }
        if (argc == 5 && std::strcmp(argv[1], "--make-room-dir") == 0) {
            DirectorySize size = OneGroupSize(std::stoi(argv[3]));
            size.snppPort = std::stoi(argv[4]);
            WriteDirectory(argv[2], size);
            return 0;
        }
        if (argc == 2 && std::strcmp(argv[1], "--snpp-responder") == 0)
            return ServeSnpp();
        if (argc == 4 && std::strcmp(argv[1], "--room-notice") == 0) {
            int qtArgc = 1;
            return MeasureRoomNotice(argv[2], std::stoi(argv[3]), qtArgc, argv);
        }
        if (argc == 5 && std::strcmp(argv[1], "--room-directory-edit") == 0) {
            int qtArgc = 1;
            return MeasureDirectoryEdit(argv[2], argv[3], std::stoi(argv[4]), qtArgc, argv);
        }
        if (argc == 3 && std::strcmp(argv[1], "--startup") == 0) {
            int qtArgc = 1;
            return ProbeStartup(argv[2], qtArgc, argv);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zolbin-bench: %s\n", e.what());
        return 1;
    }
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    zolbin::installWidgetPrompts();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    RemoveFolders();
    return 0;
}
