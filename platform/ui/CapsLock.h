// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Caps Lock state as the windows see it, and the hub that keeps the main window's "CAPS" indicator
// in step with it from any window. The state is toggled by every Caps Lock key press the program sees;
// on X11 it is read from the keyboard at start and whenever the main window is activated.

#include <QObject>

namespace zolbin {

class CapsLock final : public QObject
{
    Q_OBJECT
public:
    static CapsLock& instance();

    bool isOn() const { return on_; }
    // A Caps Lock key press was seen: flips the state and announces it.
    void keyPressed();
    // Sets the state (start-up and tests) and announces it.
    void set(bool on);
    // Reads the state from the keyboard where the desktop tells it (Caps Lock may have been toggled in
    // another program meanwhile) and announces a change.
    void refresh();

signals:
    void changed(bool on);

private:
    CapsLock();
    bool on_ = false;
};

} // namespace zolbin
