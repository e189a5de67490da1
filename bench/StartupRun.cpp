// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/StartupRun.h"

#include "app/DataFolderClaim.h"
#include "app/MainWindow.h"
#include "app/RoomDirectoryLink.h"
#include "app/Windows.h"
#include "bench/StartupParts.h"
#include "platform/FileLock.h"
#include "platform/ui/WidgetPrompts.h"
#include "records/Archive.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

namespace zolbin::bench {

StartedProgram::StartedProgram(const DataFolder& folder) : parts_(std::make_unique<Parts>())
{
    (void)claimDataFolder(folder, parts_->lock);
    (void)MigrateArchiveNames(folder);
    parts_->session = std::make_unique<Session>(folder);
    parts_->windows = std::make_unique<Windows>(*parts_->session);
    parts_->windows->fmSend->show();
    parts_->windows->fmSend->activateWindow();
    RunUntilIdle();
}

StartedProgram::~StartedProgram()
{
    parts_->windows.reset();
    parts_->session.reset();
}

void RunUntilIdle()
{
    QEventLoop loop;
    const QMetaObject::Connection idle =
        QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, &loop,
                         [&loop] { loop.quit(); });
    loop.exec();
    QObject::disconnect(idle);
}

int ProbeStartup(const char* folder, int argc, char** argv)
{
    if (::access(folder, X_OK) != 0) { // a folder the program could not work in
        std::perror(folder);
        return 1;
    }
    QApplication app(argc, argv);
    installWidgetPrompts();
    {
        const auto start = std::chrono::steady_clock::now();
        StartedProgram program{DataFolder(folder)};
        const double wallMs =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        const double cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
        // With a room, the window opened on the desk's copy: how long until the room was joined too.
        const RoomDirectoryLink* room = program.parts().windows->fmSend->roomDirectory();
        if (room != nullptr && !room->joined()) {
            QEventLoop wait;
            QObject::connect(room, &RoomDirectoryLink::joinEnded, &wait, &QEventLoop::quit);
            QTimer::singleShot(20000, &wait, &QEventLoop::quit);
            wait.exec();
        }
        const double joinedMs =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        std::printf("%.4f %ld %.3f %.3f\n", cpu, usage.ru_maxrss, wallMs, joinedMs);
    }
    return 0;
}

} // namespace zolbin::bench
