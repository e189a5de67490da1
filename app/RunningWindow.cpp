// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RunningWindow.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <unistd.h>

namespace zolbin {

namespace {

const QByteArray Request = "come-forward\n";
const QByteArray Answer = "ok\n";

} // namespace

QString RunningWindowSocket(const DataFolder& dataFolder)
{
    const QString folder = QFileInfo(QString::fromStdString(dataFolder.root())).canonicalFilePath();
    const QString uid = QString::number(::getuid());
    const QByteArray key =
        QCryptographicHash::hash((uid + QLatin1Char('\n') + folder).toUtf8(), QCryptographicHash::Sha256)
            .toHex()
            .left(24);
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir() && QFileInfo(runtime).isWritable())
        return runtime + QStringLiteral("/zolbin-") + QString::fromLatin1(key);
    return QDir::tempPath() + QStringLiteral("/zolbin-") + uid + QLatin1Char('-') + QString::fromLatin1(key);
}

RunningWindow::RunningWindow(std::function<void()> bringForward, QObject* parent)
    : QObject(parent), bringForward_(std::move(bringForward)), server_(new QLocalServer(this))
{
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* caller = server_->nextPendingConnection()) {
            connect(caller, &QLocalSocket::disconnected, caller, &QObject::deleteLater);
            connect(caller, &QLocalSocket::readyRead, this, [this, caller] {
                if (!caller->canReadLine())
                    return;
                if (caller->readLine() == Request) {
                    caller->write(Answer);
                    caller->flush();
                    bringForward_();
                }
                caller->disconnectFromServer();
            });
        }
    });
}

RunningWindow::~RunningWindow()
{
    server_->close(); // removes the socket file
}

bool RunningWindow::listen(const QString& socket)
{
    // Only the holder of the folder's lock gets here: a socket file still there is a dead window's.
    QLocalServer::removeServer(socket);
    return server_->listen(socket);
}

bool RunningWindow::askToComeForward(const QString& socket, int timeoutMs)
{
    QLocalSocket call;
    call.connectToServer(socket);
    if (!call.waitForConnected(timeoutMs))
        return false;
    call.write(Request);
    if (!call.waitForBytesWritten(timeoutMs))
        return false;
    while (!call.canReadLine())
        if (!call.waitForReadyRead(timeoutMs))
            return false;
    return call.readLine() == Answer;
}

} // namespace zolbin
