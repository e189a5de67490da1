// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared by the dialog tests: the application object, finding a window's control by its design name,
// typing any text into a widget, and running a step from the event loop while a modal box is open.

#include <QApplication>
#include <QMenu>
#include <QString>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <stdexcept>
#include <string>

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

// The window that a control belongs to: the nearest window among its parents (a dialog is a window of
// its own, also where it is the main window's child; so is a menu, whose items belong to the window).
inline const QWidget* owningWindow(const QObject* control)
{
    for (const QObject* p = control->parent(); p != nullptr; p = p->parent())
        if (const auto* w = qobject_cast<const QWidget*>(p); w != nullptr && w->isWindow())
            return qobject_cast<const QMenu*>(w) != nullptr ? owningWindow(w) : w;
    return nullptr;
}

// The window's own control of that type with that object name (its design name); throws when it has none.
template <typename T> T* control(const QWidget* window, const char* name)
{
    for (T* found : window->findChildren<T*>(QString::fromLatin1(name)))
        if (owningWindow(found) == window)
            return found;
    throw std::runtime_error(std::string("no control ") + name);
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
