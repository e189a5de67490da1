// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Clock.h"
#include "platform/Codepage.h"
#include "platform/Pause.h"
#include "platform/Prompts.h"
#include "tests/support/FixedClock.h"
#include "tests/support/PromptRecorder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

namespace zolbin {
namespace {

TEST(Prompts, MessagesCarryTheProgramsCaptionAndQuestionsTheirAnswer)
{
    test::PromptRecorder recorder;
    Prompts::message(cp("Файл не найден"), PromptIcon::Stop);
    recorder.answer(true);
    EXPECT_TRUE(Prompts::ask(cp("Подтверждение"), cp("Удалить?")));
    EXPECT_FALSE(Prompts::ask(cp("Подтверждение"), cp("Удалить?"))); // queue empty: "&Нет"
    ASSERT_EQ(recorder.requests().size(), 3u);
    EXPECT_EQ(recorder.requests()[0].kind, PromptKind::Message);
    EXPECT_EQ(recorder.requests()[0].caption, QStringLiteral("Zolbin Sender"));
    EXPECT_EQ(recorder.requests()[0].icon, PromptIcon::Stop);
    EXPECT_EQ(recorder.requests()[1].kind, PromptKind::YesNo);
    EXPECT_EQ(recorder.requests()[1].caption.toStdString(), "Подтверждение");
    EXPECT_EQ(recorder.texts()[0], "Файл не найден");
}

TEST(Prompts, WithoutResponderQuestionsAreAnsweredNo)
{
    const Prompts::Responder previous = Prompts::setResponder(nullptr);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(Prompts::ask(cp("Предупреждение"), cp("Продолжить?")));
    Prompts::message(cp("Готово"));
    const std::string err = testing::internal::GetCapturedStderr();
    Prompts::setResponder(previous);
    EXPECT_NE(err.find("Продолжить?"), std::string::npos);
    EXPECT_NE(err.find("Готово"), std::string::npos);
}

struct App
{
    int argc = 1;
    char name[8] = "test";
    char* argv[2] = {name, nullptr};
    QCoreApplication app{argc, argv};
};

// A pause holds its thread (a send's worker) and dispatches nothing: the window's thread never pauses.
TEST(Pause, ZeroReturnsAtOnceAndDispatchesNothing)
{
    App app;
    int calls = 0;
    QTimer::singleShot(0, &app.app, [&] { ++calls; });
    Pause(0);
    EXPECT_EQ(calls, 0);
}

TEST(Pause, UnderAFixedClockEndsAtOnce)
{
    App app;
    test::FixedClock clock;
    const std::uint64_t before = clock.tickCount();
    int calls = 0;
    QTimer::singleShot(0, &app.app, [&] { ++calls; });
    QElapsedTimer wall;
    wall.start();
    Pause(2000);
    EXPECT_LT(wall.elapsed(), 1000);
    EXPECT_GE(clock.tickCount() - before, 2000u);
    EXPECT_EQ(calls, 0);
}

TEST(Pause, RealClockWaitsWithoutDispatching)
{
    App app;
    int fired = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++fired; });
    timer.start(10);
    const std::uint64_t start = Clock::current().tickCount();
    Pause(120);
    EXPECT_GE(Clock::current().tickCount() - start, 120u);
    EXPECT_EQ(fired, 0); // no timer fires inside the pause
}

TEST(Pause, WorksWithoutAnApplication)
{
    ASSERT_EQ(QCoreApplication::instance(), nullptr);
    const std::uint64_t start = Clock::current().tickCount();
    Pause(0);
    Pause(20);
    EXPECT_GE(Clock::current().tickCount() - start, 20u);
}

} // namespace
} // namespace zolbin
