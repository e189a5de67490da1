// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Ordering the main window's recipient lists and searching them. The order on screen is the order of the
// records in memory and in the list files: every change of it rewrites the file at once and rebuilds the
// list. The search panel "  Поиск:" lies over the description pane, hidden until the first search key;
// its field is filled by the search alone.

#include "app/CommandAvailability.h"
#include "records/Session.h"

#include <QObject>
#include <functional>

class QKeyEvent;
class QLineEdit;
class QPlainTextEdit;
class QTabWidget;
class QWidget;

namespace zolbin {

class RecipientChoice;
class TickList;

class ListOrdering final : public QObject
{
    Q_OBJECT
public:
    // reloadDirectory: the whole directory read again from its files (after a file changed behind the
    // program's back).
    ListOrdering(Session& session, QTabWidget* TabbedNotebook1, QPlainTextEdit* RichEditDesc,
                 RecipientChoice& recipients, WindowState& state, std::function<void()> stateChanged,
                 std::function<void()> reloadDirectory, QObject* parent);

    // Sort by name (either page), move the highlighted entry up or down, sort subscribers by number.
    // Each drops the recipient first and rewrites the list's file at once.
    void sortByName();
    void moveUp();
    void moveDown();
    void sortByNumber();

    // The incremental search, seeing every key the window sees: Ctrl with a letter, digit or one of
    // ; , . [ ] ' extends the text and highlights the first subscriber it begins; any other key closes
    // the panel. True when the key was taken.
    bool SearchKeyDown(QKeyEvent* key);
    // Hides and empties the panel (an editing key of the editor).
    void hideSearch();

private:
    void TabbedNotebook1Change(int index);
    bool onSubscribersPage() const;
    TickList* shownList() const;
    void moveHighlighted(int step);
    void rewriteAndRefill(bool subscribers, int highlight);
    void buildSearchPanel();
    void openSearch();
    bool closeSearch();

    Session& session_;
    QTabWidget* TabbedNotebook1;
    QPlainTextEdit* RichEditDesc;
    TickList* lbAbonent;
    TickList* lbGroup;
    RecipientChoice& recipients_;
    WindowState& state_;
    std::function<void()> stateChanged_;
    std::function<void()> reloadDirectory_;
    QWidget* Panel5 = nullptr;
    QLineEdit* EditFind = nullptr;
};

} // namespace zolbin
