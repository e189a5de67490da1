// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/Splash.h"

#include "dialogs/NameLine.h"
#include "platform/Clock.h"
#include "platform/ui/Pictures.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QWindow>
#include <qdrawutil.h>

namespace zolbin {

namespace {

constexpr int PictureWidth = 208;
constexpr int PictureHeight = 299;

QPoint pictureOrigin()
{
    return {(TfmSplash::ClientWidth - PictureWidth) / 2, (TfmSplash::ClientHeight - PictureHeight) / 2};
}

void centreOnScreen(QWidget* window)
{
    if (QScreen* screen = QGuiApplication::primaryScreen())
        window->move(screen->availableGeometry().center() - window->rect().center());
}

// Lets the window system map the window and deliver its first expose, so that the picture is on the
// screen before the wait starts. No input is handled, and the look ends after half a second whatever
// the window system does.
void waitUntilExposed(QWidget* window)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 500) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        const QWindow* handle = window->windowHandle();
        if (handle != nullptr && handle->isExposed())
            return;
    }
}

} // namespace

TfmSplash::TfmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setFixedSize(ClientWidth, ClientHeight);
    setEnabled(false);

    QWidget* line = makeNameLine(QColor(192, 192, 192), QColor(192, 192, 192), this);
    line->adjustSize();
    const QPoint origin = pictureOrigin();
    line->move(origin.x() + (PictureWidth - line->width()) / 2,
               origin.y() + PictureHeight - line->height() - 24);
}

void TfmSplash::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    qDrawShadePanel(&painter, rect(), palette(), false, 1);
    painter.drawPixmap(pictureOrigin(), splashPicture());
}

void ShowSplash(const Clock& clock)
{
    TfmSplash splash;
    centreOnScreen(&splash);
    splash.show();
    waitUntilExposed(&splash);
    splash.repaint();

    // The wait dispatches nothing: nothing else may happen while the program starts.
    const std::uint64_t second = clock.tickCount() / 1000;
    while (clock.tickCount() / 1000 < second + 2)
        clock.sleepMs(1);
    splash.close();
}

void ShowSplash()
{
    ShowSplash(Clock::current());
}

} // namespace zolbin
