// SPDX-License-Identifier: GPL-3.0-or-later
// Ordering the recipient lists and searching them. The order on screen is the order of the records in
// memory and in the list files: every change of it rewrites the file at once and rebuilds the list.

#include "app/MainWindow.h"
#include "app/SearchKeys.h"
#include "platform/Codepage.h"
#include "platform/Prompts.h"
#include "platform/ui/CommandGuard.h"
#include "platform/ui/KeyboardLayout.h"
#include "platform/ui/UiText.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QToolButton>

namespace zolbin {

namespace {

constexpr int SearchLength = 25;
constexpr int SubscribersPage = 0;

} // namespace

bool TfmSend::onSubscribersPage() const
{
    return TabbedNotebook1->currentIndex() == SubscribersPage;
}

TickList* TfmSend::shownList() const
{
    return onSubscribersPage() ? lbAbonent : lbGroup;
}

// Rewrites the file of the list shown and rebuilds the tick lists from memory, then highlights the
// line. The lists are rebuilt also when the rewrite fails, so the window shows the order memory holds;
// the file error is shown after that, and the previous file stays as it was. A file changed behind the
// program's back is not rewritten: the directory is reloaded before the error is shown.
void TfmSend::rewriteAndRefill(bool subscribers, int highlight)
{
    const Status saved = subscribers ? abonents_.Save(folder_) : groups_.Save(folder_);
    if (!saved && IsListFileChanged(saved.failure())) {
        ReloadDirectory(); // refills the lists from what the files hold
        highlight = -1;
    } else {
        RefillRecipientLists();
    }
    TickList* list = subscribers ? lbAbonent : lbGroup;
    if (highlight >= 0 && highlight < list->count())
        list->setCurrentRow(highlight);
    (void)succeeded(saved);
}

// Moves the highlighted entry of the page shown one place (-1 up, +1 down); it stays highlighted.
void TfmSend::moveHighlighted(int step)
{
    DropRecipient();
    const bool subscribers = onSubscribersPage();
    const int count = subscribers ? abonents_.Count() : groups_.Count();
    // A list that merely got the focus has a current line but nothing highlighted.
    const int row = shownList()->highlightedRow();
    if (row < 0 || row >= count) {
        Prompts::message(cp("Элемент списка не выбран"));
        return;
    }
    if (step < 0 && row == 0) {
        Prompts::message(cp("Начало списка уже достигнуто"));
        return;
    }
    if (step > 0 && row == count - 1) {
        Prompts::message(cp("Конец списка уже достигнут"));
        return;
    }
    if (subscribers)
        abonents_.Move(row, row + step);
    else
        groups_.Move(row, row + step);
    rewriteAndRefill(subscribers, row + step);
}

// The search panel lies over the description pane. Its field takes no typed character of its own
// (EditFindKeyPress discards them all): read-only, it is filled by the search alone.
void TfmSend::buildSearchPanel()
{
    auto* panel = new QFrame(RichEditDesc->parentWidget());
    panel->setObjectName(QStringLiteral("Panel5"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setAutoFillBackground(true);
    auto* caption = new QLabel(uiText("  Поиск:"), panel);
    auto* edit = new QLineEdit(panel);
    edit->setObjectName(QStringLiteral("EditFind"));
    edit->setAccessibleName(uiText("Поиск"));
    edit->setMaxLength(SearchLength);
    edit->setReadOnly(true);
    edit->setContextMenuPolicy(Qt::NoContextMenu);
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(4, 2, 4, 2);
    row->addWidget(caption);
    row->addWidget(edit, 1);
    panel->hide();
    Panel5 = panel;
    EditFind = edit;
}

void TfmSend::openSearch()
{
    if (Panel5->isHidden()) {
        Panel5->setGeometry(RichEditDesc->geometry());
        Panel5->raise();
        Panel5->show();
    }
    EditFind->setFocus();
}

// Hides and empties the panel; when the focus was in its field, the subscriber list gets it (a control
// the operator clicked into meanwhile, the editor say, keeps it). True when the key was on its way to the
// search field, which takes no keys: it ends there.
bool TfmSend::closeSearch()
{
    if (Panel5->isHidden())
        return false;
    const bool toSearchField = QApplication::focusWidget() == EditFind;
    Panel5->hide();
    EditFind->clear();
    if (toSearchField || QApplication::focusWidget() == nullptr)
        lbAbonent->setFocus();
    return toSearchField;
}

void TfmSend::connectOrderingCommands()
{
    buildSearchPanel();
    onCommand(Command::SortByName, [this] { sortByName(); });
    onCommand(Command::MoveUp, [this] { moveUp(); });
    onCommand(Command::MoveDown, [this] { moveDown(); });
    onCommand(Command::SortByNumber, [this] { sortByNumber(); });
}

void TfmSend::sortByName()
{
    DropRecipient();
    if (onSubscribersPage()) {
        abonents_.SortByName();
        rewriteAndRefill(true, -1);
    } else {
        groups_.SortByName();
        rewriteAndRefill(false, -1);
    }
}

// Groups have no number: on the groups page only the recipient is dropped.
void TfmSend::sortByNumber()
{
    DropRecipient();
    if (!onSubscribersPage())
        return;
    abonents_.SortByNumber();
    rewriteAndRefill(true, -1);
}

void TfmSend::moveUp()
{
    moveHighlighted(-1);
}

void TfmSend::moveDown()
{
    moveHighlighted(+1);
}

bool TfmSend::SearchKeyDown(QKeyEvent* key)
{
    const char position = SearchKeyOf(*key);
    if (position == 0) {
        // Ctrl held down repeats on some systems; only a new press of it ends the search.
        if (key->key() == Qt::Key_Control && key->isAutoRepeat())
            return false;
        return closeSearch();
    }
    openSearch();
    std::string text = toCp1251(EditFind->text());
    if (text.size() < SearchLength)
        text += SearchCharacter(position, KeyboardLayout::activeName());
    EditFind->setText(toQString(text));
    EditFind->setCursorPosition(static_cast<int>(EditFind->text().size()));
    // Highlighting is no tick: the recipient stays as it is.
    const int row = abonents_.FindByPrefix(text);
    if (row >= 0 && row < lbAbonent->count()) {
        lbAbonent->setCurrentRow(row); // and scrolled into sight
    }
    return true;
}

} // namespace zolbin
