// SPDX-License-Identifier: GPL-3.0-or-later
// The window program offscreen: a whole start-up until idle, filling the tick lists, one keystroke of
// the Ctrl search through the main window's key handling.

#include "app/MainWindow.h"
#include "app/RecipientLists.h"
#include "bench/BenchFolders.h"
#include "bench/StartupParts.h"
#include "directory/ui/Registr.h"

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <benchmark/benchmark.h>
#include <filesystem>

namespace zolbin::bench {

namespace fs = std::filesystem;

namespace {

void BM_Startup(benchmark::State& state)
{
    const DataFolder folder = DataFolderOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto program = std::make_unique<StartedProgram>(folder);
        state.PauseTiming();
        program.reset();
        RunUntilIdle();
        state.ResumeTiming();
    }
}

void BM_FillRecipientLists(benchmark::State& state)
{
    Session session(DataFolderOf(static_cast<int>(state.range(0))));
    (void)session.abonents.LoadFromFile(session.folder.path(AbonentFileName));
    (void)session.groups.LoadFromFile(session.folder.path(GroupFileName));
    TickList abonents;
    TickList groups;
    for (auto _ : state) {
        FillAbonentLines(&abonents, session.abonents);
        FillGroupLines(&groups, session.groups);
    }
}

// Ctrl+letter keys to the focused control of the started main window: each press opens the search,
// appends a letter and highlights the first match.
void BM_SearchKey(benchmark::State& state)
{
    StartedProgram program(DataFolderOf(static_cast<int>(state.range(0))));
    TfmSend& main = *program.parts().windows->fmSend;
    const Qt::Key keys[] = {Qt::Key_S, Qt::Key_M, Qt::Key_I, Qt::Key_T, Qt::Key_H, Qt::Key_Control};
    std::size_t next = 0;
    for (auto _ : state) {
        QWidget* target = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : &main;
        const Qt::Key key = keys[next++ % std::size(keys)];
        QKeyEvent press(QEvent::KeyPress, key, key == Qt::Key_Control ? Qt::NoModifier : Qt::ControlModifier);
        QApplication::sendEvent(target, &press);
    }
}

// The directory window opened on the subscribers (it lists every name) until idle, then closed.
void BM_DirectoryWindow(benchmark::State& state)
{
    StartedProgram program(DataFolderOf(static_cast<int>(state.range(0))));
    TfmRegistr& registr = *program.parts().windows->fmRegistr;
    registr.SetKind(TfmRegistr::KindAbonent);
    for (auto _ : state) {
        registr.show();
        RunUntilIdle();
        state.PauseTiming();
        registr.hide();
        RunUntilIdle();
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_DirectoryWindow)->ArgName("subscribers")->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Startup)
    ->ArgName("subscribers")
    ->Arg(0)
    ->Arg(100)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillRecipientLists)
    ->ArgName("subscribers")
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchKey)->ArgName("subscribers")->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

} // namespace zolbin::bench
