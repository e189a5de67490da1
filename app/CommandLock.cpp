#include "app/CommandLock.h"

#include <QAction>
#include <QWidget>

namespace zolbin {

namespace {

template <typename Held, typename T> Held* find(std::vector<Held>& held, const T* item)
{
    for (Held& h : held)
        if (h.item == item)
            return &h;
    return nullptr;
}

template <typename Held, typename T> const Held* find(const std::vector<Held>& held, const T* item)
{
    for (const Held& h : held)
        if (h.item == item)
            return &h;
    return nullptr;
}

} // namespace

void CommandLock::lock(const std::vector<QWidget*>& widgets, const std::vector<QAction*>& actions)
{
    if (locked_)
        return;
    locked_ = true;
    for (QWidget* w : widgets) {
        widgets_.push_back({w, w->isEnabled()});
        w->setEnabled(false);
    }
    for (QAction* a : actions) {
        actions_.push_back({a, a->isEnabled()});
        a->setEnabled(false);
    }
}

void CommandLock::unlock()
{
    if (!locked_)
        return;
    locked_ = false;
    for (const Held<QWidget>& h : widgets_)
        if (h.item)
            h.item->setEnabled(h.enabled);
    for (const Held<QAction>& h : actions_)
        if (h.item)
            h.item->setEnabled(h.enabled);
    widgets_.clear();
    actions_.clear();
}

void CommandLock::setEnabled(QWidget* widget, bool enabled)
{
    if (auto* h = locked_ ? find(widgets_, widget) : nullptr)
        h->enabled = enabled;
    else
        widget->setEnabled(enabled);
}

void CommandLock::setEnabled(QAction* action, bool enabled)
{
    if (auto* h = locked_ ? find(actions_, action) : nullptr)
        h->enabled = enabled;
    else
        action->setEnabled(enabled);
}

bool CommandLock::isEnabled(const QWidget* widget) const
{
    const auto* h = locked_ ? find(widgets_, widget) : nullptr;
    return h != nullptr ? h->enabled : widget->isEnabled();
}

bool CommandLock::isEnabled(const QAction* action) const
{
    const auto* h = locked_ ? find(actions_, action) : nullptr;
    return h != nullptr ? h->enabled : action->isEnabled();
}

} // namespace zolbin
