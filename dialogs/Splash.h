// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The splash window shown while the program starts.

#include <QWidget>

namespace zolbin {

class Clock;

class TfmSplash final : public QWidget
{
    Q_OBJECT
public:
    explicit TfmSplash(QWidget* parent = nullptr);

    static constexpr int ClientWidth = 215;
    static constexpr int ClientHeight = 305;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// Creates the splash window, shows and paints it, then waits without dispatching any message until the
// whole-second count of the tick counter has advanced by 2 (one to two seconds), and closes it.
void ShowSplash();
// The same on the given clock (tests).
void ShowSplash(const Clock& clock);

} // namespace zolbin
