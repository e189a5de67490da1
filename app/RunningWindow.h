// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A second start on the data folder of a running window brings that window to the front, restored (also
// from the notification area), as desktop programs do, and ends without a word. The running window
// listens on a local socket named after its data folder and the user; the second start asks it there.
// The refusal "Программа уже работает с папкой данных" stays for the case where nobody answers: another
// user's process holding the folder, or a window that cannot be reached.
//
// The socket lives in the user's runtime folder ($XDG_RUNTIME_DIR, private to the user), else in the
// temporary folder with access for the user only. Only the window holding the folder's lock listens, so
// a socket left by a process that was killed is simply replaced.

#include "platform/DataFolder.h"

#include <QObject>
#include <QString>
#include <functional>

class QLocalServer;

namespace zolbin {

// The socket's path for the data folder, one per folder and user.
QString RunningWindowSocket(const DataFolder& dataFolder);

class RunningWindow final : public QObject
{
    Q_OBJECT
public:
    // `bringForward` runs, from the event loop, for every second start that asks.
    explicit RunningWindow(std::function<void()> bringForward, QObject* parent = nullptr);
    ~RunningWindow() override;

    // Listens on the socket; false when it cannot (then a second start is refused with the message).
    bool listen(const QString& socket);

    // The second start's side: asks the window on the socket to come forward; true when it answered
    // within the time.
    static bool askToComeForward(const QString& socket, int timeoutMs = 3000);

private:
    std::function<void()> bringForward_;
    QLocalServer* server_ = nullptr;
};

} // namespace zolbin
