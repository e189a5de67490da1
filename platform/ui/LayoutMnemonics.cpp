// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/LayoutMnemonics.h"

#include "platform/ui/KeyPositions.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <functional>
#include <vector>

namespace zolbin {

namespace {

struct Target
{
    QChar letter;
    std::function<void()> run;
};

bool reachable(const QWidget* control, const QWidget* window)
{
    return control->window() == window && control->isVisibleTo(window) && control->isEnabled();
}

// As Qt runs a button's mnemonic: a check box or radio button takes the focus, then the button is clicked.
void clickButton(QAbstractButton* button)
{
    if (button->isCheckable() && (button->focusPolicy() & Qt::ClickFocus) != 0)
        button->setFocus(Qt::ShortcutFocusReason);
    button->click();
}

// A group box's mnemonic: a checkable box is ticked or unticked, another gives the focus to its first
// control that takes it.
void runGroupBox(QGroupBox* box)
{
    if (box->isCheckable()) {
        box->setChecked(!box->isChecked());
        return;
    }
    for (QWidget* next = box->nextInFocusChain(); next != box; next = next->nextInFocusChain()) {
        if (box->isAncestorOf(next) && next->isEnabled() && next->isVisibleTo(box) &&
            (next->focusPolicy() & Qt::TabFocus) != 0) {
            next->setFocus(Qt::ShortcutFocusReason);
            return;
        }
    }
}

void runLabel(QLabel* label)
{
    QWidget* buddy = label->buddy();
    if (auto* button = qobject_cast<QAbstractButton*>(buddy))
        clickButton(button);
    else
        buddy->setFocus(Qt::ShortcutFocusReason);
}

void add(std::vector<Target>& targets, const QString& caption, std::function<void()> run)
{
    const QChar letter = MnemonicLetter(caption);
    if (!letter.isNull())
        targets.push_back({letter, std::move(run)});
}

std::vector<Target> targetsOf(QWidget* window)
{
    std::vector<Target> targets;
    QList<QWidget*> controls = window->findChildren<QWidget*>();
    for (QWidget* control : controls) {
        if (!reachable(control, window))
            continue;
        if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            add(targets, button->text(), [button] { clickButton(button); });
        } else if (auto* label = qobject_cast<QLabel*>(control)) {
            if (label->buddy() != nullptr && reachable(label->buddy(), window))
                add(targets, label->text(), [label] { runLabel(label); });
        } else if (auto* box = qobject_cast<QGroupBox*>(control)) {
            add(targets, box->title(), [box] { runGroupBox(box); });
        } else if (auto* tabs = qobject_cast<QTabBar*>(control)) {
            for (int i = 0; i < tabs->count(); ++i)
                if (tabs->isTabEnabled(i) && tabs->isTabVisible(i))
                    add(targets, tabs->tabText(i), [tabs, i] { tabs->setCurrentIndex(i); });
        } else if (auto* bar = qobject_cast<QMenuBar*>(control)) {
            for (QAction* menu : bar->actions())
                if (menu->isVisible() && menu->isEnabled())
                    add(targets, menu->text(), [bar, menu] { bar->setActiveAction(menu); });
        }
    }
    return targets;
}

// The window an action belongs to: that of the first widget above it that is not a menu (a menu is a
// window of its own).
const QWidget* windowOf(const QAction* action)
{
    for (const QObject* above = action->parent(); above != nullptr; above = above->parent()) {
        const auto* widget = qobject_cast<const QWidget*>(above);
        if (widget != nullptr && qobject_cast<const QMenu*>(widget) == nullptr)
            return widget->window();
    }
    return nullptr;
}

// The enabled action of the window whose shortcut is Alt with the key on the position.
QAction* altShortcutOn(QWidget* window, char position)
{
    QList<QAction*> actions = window->findChildren<QAction*>();
    actions += window->actions();
    for (QAction* action : actions) {
        const QKeySequence keys = action->shortcut();
        if (!action->isEnabled() || keys.count() != 1 || windowOf(action) != window)
            continue;
        const QKeyCombination combination = keys[0];
        if (combination.keyboardModifiers() == Qt::AltModifier &&
            KeyPosition(static_cast<int>(combination.key()), 0) == position)
            return action;
    }
    return nullptr;
}

} // namespace

QChar MnemonicLetter(const QString& caption)
{
    for (qsizetype at = caption.indexOf(QLatin1Char('&')); at >= 0 && at + 1 < caption.size();
         at = caption.indexOf(QLatin1Char('&'), at + 2)) {
        if (caption[at + 1] != QLatin1Char('&'))
            return caption[at + 1].toLower();
    }
    return {};
}

bool RunMnemonicByPosition(QWidget* window, const QKeyEvent& key)
{
    const Qt::KeyboardModifiers held =
        key.modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier | Qt::KeypadModifier);
    if (held != Qt::AltModifier || window == nullptr)
        return false;
    const char position = KeyPositionOf(key);
    if (position == 0)
        return false;
    for (const Target& target : targetsOf(window)) {
        if (LetterPosition(target.letter) == position) {
            target.run();
            return true;
        }
    }
    if (QAction* action = altShortcutOn(window, position)) {
        action->trigger();
        return true;
    }
    return false;
}

} // namespace zolbin
