#pragma once
// Shared by the dialog tests: the application object, typing any text into a widget, and running a
// step from the event loop while a modal box is open.

#include <QApplication>
#include <QString>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace zolbin::test {

inline void dialogTestApp()
{
    if (QApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "zolbin-dialog-tests";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv); // lives for the whole test run
    }
}

// Types the text one character at a time (keyClicks cannot type Cyrillic).
inline void typeText(QWidget* widget, const QString& text)
{
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

// Runs the step every 10 ms from the event loop (also inside modal loops) until it returns true; gives
// up after the time limit.
class EventLoopStep
{
public:
    explicit EventLoopStep(std::function<bool()> step, int limitMs = 5000) : step_(std::move(step))
    {
        QObject::connect(&timer_, &QTimer::timeout, [this, limitMs] {
            if (step_() || ++ticks_ * 10 > limitMs)
                timer_.stop();
        });
        timer_.start(10);
    }

private:
    std::function<bool()> step_;
    QTimer timer_;
    int ticks_ = 0;
};

} // namespace zolbin::test
