// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pages taken in while the outbox's background worker follows: the listeners of section "Intake" (or
// this run's --listen-snpp and --listen-http) run on a thread of their own, with a session of their own on
// the same data folder, so that a client is answered while the worker's thread sends a page. Their session's
// settings and lists are read again when their files change.

#include "cli/WorkOutbox.h"
#include "intake/IntakeService.h"
#include "records/Session.h"

#include <QObject>
#include <QThread>
#include <memory>
#include <ostream>

namespace zolbin {

class IntakeThread final
{
public:
    explicit IntakeThread(const DataFolder& folder);
    ~IntakeThread();
    IntakeThread(const IntakeThread&) = delete;
    IntakeThread& operator=(const IntakeThread&) = delete;

    // Opens the listeners the settings (as this run changes them) name; none: nothing runs. Throws CliError
    // (usage) when one cannot be opened, (file error) when the data folder cannot be read.
    void start(const WorkOptions& options, std::ostream& err);

private:
    void stop();

    Session session_;
    QThread thread_;
    QObject anchor_; // lives on the thread: what runs there is queued to it
    std::unique_ptr<IntakeService> service_;
};

} // namespace zolbin
