// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The interface in English: installs the English catalogues for one test and lists every text of a window
// (captions, labels, buttons, tool tips, menus and their actions, tab titles, group boxes, place-holders)
// that still holds a Cyrillic letter. Lists and tables are left out: they show the directory's data.

#include "platform/Translations.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QObject>
#include <QStringList>
#include <QTabWidget>
#include <QWidget>
#include <memory>

namespace zolbin::test {

class EnglishInterface
{
public:
    EnglishInterface() : owner_(std::make_unique<QObject>())
    {
        catalogues_ = installTranslations(InterfaceLanguage::English, owner_.get());
    }
    int catalogues() const { return catalogues_; }

private:
    std::unique_ptr<QObject> owner_; // its translators leave the application with it
    int catalogues_ = 0;
};

inline bool hasCyrillic(const QString& text)
{
    for (QChar c : text)
        if (c.unicode() >= 0x400 && c.unicode() < 0x500)
            return true;
    return false;
}

// "objectName: text" for every Russian text left on the window and its children.
inline QStringList russianTexts(const QWidget* window)
{
    QStringList found;
    auto note = [&found](const QObject* o, const QString& text) {
        if (hasCyrillic(text))
            found << o->objectName() + QStringLiteral(": ") + text;
    };
    QList<const QWidget*> widgets{window};
    for (const QWidget* w : window->findChildren<QWidget*>())
        widgets << w;
    for (const QWidget* w : widgets) {
        note(w, w->windowTitle());
        note(w, w->toolTip());
        note(w, w->statusTip());
        note(w, w->whatsThis());
        if (const auto* button = qobject_cast<const QAbstractButton*>(w))
            note(w, button->text());
        if (const auto* label = qobject_cast<const QLabel*>(w))
            note(w, label->text());
        if (const auto* box = qobject_cast<const QGroupBox*>(w))
            note(w, box->title());
        if (const auto* edit = qobject_cast<const QLineEdit*>(w))
            note(w, edit->placeholderText());
        if (const auto* menu = qobject_cast<const QMenu*>(w))
            note(w, menu->title());
        if (const auto* tabs = qobject_cast<const QTabWidget*>(w))
            for (int i = 0; i < tabs->count(); ++i)
                note(w, tabs->tabText(i));
        for (const QAction* action : w->actions()) {
            note(action, action->text());
            note(action, action->toolTip());
            note(action, action->statusTip());
        }
    }
    return found;
}

} // namespace zolbin::test
