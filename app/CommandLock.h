#pragma once
// Takes a set of commands and controls out of the operator's reach for a while (a send in progress)
// and gives each back in the state it had. A change of availability asked for meanwhile is kept and
// applied when the lock is released, so nothing is lost and nothing comes back enabled by mistake.

#include <QPointer>
#include <vector>

class QAction;
class QWidget;

namespace zolbin {

class CommandLock
{
public:
    // Remembers each one's state and disables it. Locking twice keeps the first saved states.
    void lock(const std::vector<QWidget*>& widgets, const std::vector<QAction*>& actions);
    // Restores every remembered state.
    void unlock();
    bool locked() const { return locked_; }

    // Enables or disables now, or, while locked and the thing is held, at the release.
    void setEnabled(QWidget* widget, bool enabled);
    void setEnabled(QAction* action, bool enabled);
    // The state the thing has, or will have again at the release.
    bool isEnabled(const QWidget* widget) const;
    bool isEnabled(const QAction* action) const;

private:
    template <typename T> struct Held
    {
        QPointer<T> item;
        bool enabled;
    };
    std::vector<Held<QWidget>> widgets_;
    std::vector<Held<QAction>> actions_;
    bool locked_ = false;
};

} // namespace zolbin
