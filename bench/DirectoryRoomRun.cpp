// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/DirectoryRoomRun.h"

#include "app/MainWindow.h"
#include "app/RoomDirectoryLink.h"
#include "bench/StartupParts.h"
#include "platform/ui/WidgetPrompts.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <vector>

namespace zolbin::bench {

namespace {

double percentile(std::vector<double> values, double share)
{
    std::sort(values.begin(), values.end());
    const auto at = static_cast<std::size_t>(share * static_cast<double>(values.size() - 1) + 0.5);
    return values[at];
}

} // namespace

int MeasureDirectoryEdit(const char* folder1, const char* folder2, int changes, int argc, char** argv)
{
    QApplication app(argc, argv);
    installWidgetPrompts();
    StartedProgram one{DataFolder(folder1)};
    StartedProgram two{DataFolder(folder2)};
    // Both desks join the room behind their windows first.
    for (StartedProgram* desk : {&one, &two}) {
        const RoomDirectoryLink* room = desk->parts().windows->fmSend->roomDirectory();
        const auto start = std::chrono::steady_clock::now();
        while (room == nullptr || !room->joined()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
            if (room == nullptr || std::chrono::steady_clock::now() - start > std::chrono::seconds(20))
                throw std::runtime_error("a desk did not join the room within 20 s");
        }
    }
    TAbonentList& mine = one.parts().session->abonents;
    const TAbonentList& theirs = two.parts().session->abonents;
    if (mine.Count() == 0 || theirs.Count() != mine.Count())
        throw std::runtime_error("the two desks do not start with the same directory");
    // Keeps the loop turning while it waits for the other desk.
    QTimer tick;
    tick.start(5);
    using Clock = std::chrono::steady_clock;
    std::vector<double> delays;
    for (int i = 0; i < changes; ++i) {
        const int row = (i * 7919) % mine.Count();
        const std::int32_t number = mine.Items(row)->Number + 1; // a change whatever an earlier run left
        const Clock::time_point start = Clock::now();
        mine.Items(row)->Number = number;
        // What the subscriber dialog's OK does: the list saved, its groups' members tied to it again.
        if (!mine.Save(one.parts().session->folder) ||
            !one.parts().session->groups.LinkMembers(mine, one.parts().session->folder))
            throw std::runtime_error("the first desk cannot save its lists");
        while (theirs.Count() <= row || theirs.Items(row)->Number != number) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            if (Clock::now() - start > std::chrono::seconds(20))
                throw std::runtime_error("the second desk did not see the change within 20 s");
        }
        delays.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        RunUntilIdle();
    }
    std::printf("%.3f %.3f\n", percentile(delays, 0.5), percentile(delays, 0.95));
    return 0;
}

} // namespace zolbin::bench
