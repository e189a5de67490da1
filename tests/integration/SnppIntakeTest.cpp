// SPDX-License-Identifier: GPL-3.0-or-later
// Perl's Net::SNPP client pages through the real SNPP listener on 127.0.0.1; the sink gets exactly that page.
#include "intake/SnppListener.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QTcpSocket>
#include <QTimer>
#include <gtest/gtest.h>

using namespace zolbin;

namespace {

struct RecordingSink : PageSink
{
    std::vector<IncomingPage> pages;
    SinkAnswer store(const IncomingPage& page) override
    {
        pages.push_back(page);
        return {};
    }
};

// Runs perl with the script until it ends, the event loop serving the listener meanwhile (20 s at most).
QProcess::ExitStatus runPerl(QProcess& perl, const char* script, std::uint16_t port)
{
    QEventLoop loop;
    QObject::connect(&perl, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);
    perl.start(QStringLiteral("perl"), {QStringLiteral("-MNet::SNPP"), QStringLiteral("-e"),
                                        QString::fromLatin1(script), QString::number(port)});
    loop.exec();
    if (perl.state() != QProcess::NotRunning) {
        perl.kill();
        perl.waitForFinished(5000);
        return QProcess::CrashExit;
    }
    return perl.exitStatus();
}

std::unique_ptr<QCoreApplication> application()
{
    static int argc = 1;
    static char name[] = "snpp_intake_tests";
    static char* argv[] = {name, nullptr};
    return QCoreApplication::instance() == nullptr ? std::make_unique<QCoreApplication>(argc, argv) : nullptr;
}

// Serves the event loop until the socket has a whole line or the time is up (5 s); the line, or "".
std::string lineFrom(QTcpSocket& socket)
{
    QEventLoop loop;
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    QObject::connect(&socket, &QTcpSocket::readyRead, &loop, [&] {
        if (socket.canReadLine())
            loop.quit();
    });
    if (!socket.canReadLine())
        loop.exec();
    return socket.canReadLine() ? socket.readLine().trimmed().toStdString() : std::string();
}

TEST(SnppIntake, NetSnppPagesThroughTheListener)
{
    const std::unique_ptr<QCoreApplication> app = application();

    TAbonentList subscribers;
    auto ivanov = std::make_shared<TAbonent>();
    ivanov->Name = "Ivanov";
    ivanov->Number = 1001;
    ivanov->MsgLen = 240;
    subscribers.Add(ivanov);
    const TGroupList groups;
    const ListPagerDirectory directory(subscribers, groups);
    RecordingSink sink;
    const std::unique_ptr<LineServer> listener = MakeSnppListener(directory, sink, nullptr);
    ASSERT_TRUE(listener->listen({}, 0).ok());

    // An unknown pager first (refused, nothing queued), then the page; the script fails on any refusal but
    // the expected one.
    const char* script =
        "my $s = Net::SNPP->new('127.0.0.1', Port => $ARGV[0], Timeout => 10) or die 'connect';"
        "$s->send(Pager => '4242', Message => 'x') and die 'unknown pager accepted';"
        "$s->reset or die 'reset';"
        "$s->send(Pager => 'ivanov', Message => 'Pump 3 stopped') or die 'send: ' . $s->message;"
        "$s->quit; exit 0;";
    QProcess perl;
    ASSERT_EQ(runPerl(perl, script, listener->port()), QProcess::NormalExit);
    EXPECT_EQ(perl.exitCode(), 0) << perl.readAllStandardError().toStdString();

    ASSERT_EQ(sink.pages.size(), 1u);
    ASSERT_EQ(sink.pages[0].recipients.size(), 1u);
    EXPECT_EQ(sink.pages[0].recipients[0].name, "Ivanov");
    EXPECT_EQ(sink.pages[0].text, "Pump 3 stopped");
    EXPECT_EQ(sink.pages[0].from, "127.0.0.1");

    // The connection is gone once the client quit.
    QEventLoop settle;
    QTimer::singleShot(200, &settle, &QEventLoop::quit);
    settle.exec();
    EXPECT_EQ(listener->connectionCount(), 0);
}

// A connection beyond the limit, a line too long and a silent client each get their line and lose their
// connection; the listener goes on serving.
TEST(SnppIntake, ListenerKeepsItsLimits)
{
    const std::unique_ptr<QCoreApplication> app = application();
    const TAbonentList subscribers;
    const TGroupList groups;
    const ListPagerDirectory directory(subscribers, groups);
    RecordingSink sink;
    LineServerLimits limits = SnppLimits();
    limits.maxConnections = 1;
    limits.maxLineLength = 16;
    limits.idleMs = 300;
    const std::unique_ptr<LineServer> listener = MakeSnppListener(directory, sink, nullptr, limits);
    ASSERT_TRUE(listener->listen("127.0.0.1", 0).ok());

    QTcpSocket first;
    first.connectToHost(QStringLiteral("127.0.0.1"), listener->port());
    EXPECT_EQ(lineFrom(first), "220 SNPP Gateway Ready");
    QTcpSocket second;
    second.connectToHost(QStringLiteral("127.0.0.1"), listener->port());
    EXPECT_EQ(lineFrom(second), limits.busyLine);
    first.write("MESS 12345678901234567890\r\n");
    EXPECT_EQ(lineFrom(first), limits.tooLongLine);
    QEventLoop closed;
    QTimer::singleShot(5000, &closed, &QEventLoop::quit);
    QObject::connect(&first, &QTcpSocket::disconnected, &closed, &QEventLoop::quit);
    if (first.state() != QAbstractSocket::UnconnectedState)
        closed.exec();
    EXPECT_EQ(listener->connectionCount(), 0);

    QTcpSocket third;
    third.connectToHost(QStringLiteral("127.0.0.1"), listener->port());
    EXPECT_EQ(lineFrom(third), "220 SNPP Gateway Ready");
    EXPECT_EQ(lineFrom(third), limits.idleLine);
    EXPECT_TRUE(sink.pages.empty());
}

} // namespace
