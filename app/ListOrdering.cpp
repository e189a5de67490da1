// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ListOrdering.h"

#include "app/RecipientChoice.h"
#include "app/RecipientLists.h"
#include "app/SearchKeys.h"
#include "platform/Codepage.h"
#include "platform/Prompts.h"
#include "platform/ui/CommandGuard.h"
#include "platform/ui/KeyboardLayout.h"

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

ListOrdering::ListOrdering(Session& session, QTabWidget* tabs, QPlainTextEdit* description,
                           RecipientChoice& recipients, WindowState& state,
                           std::function<void()> stateChanged, std::function<void()> reloadDirectory,
                           QObject* parent)
    : QObject(parent), session_(session), TabbedNotebook1(tabs), RichEditDesc(description),
      lbAbonent(static_cast<TickList*>(tabs->widget(0))), lbGroup(static_cast<TickList*>(tabs->widget(1))),
      recipients_(recipients), state_(state), stateChanged_(std::move(stateChanged)),
      reloadDirectory_(std::move(reloadDirectory))
{
    buildSearchPanel();
    connect(TabbedNotebook1, &QTabWidget::currentChanged, this,
            [this](int index) { runCommand([this, index] { TabbedNotebook1Change(index); }); });
}

// Groups have no number, so sorting by number is off on the groups page.
void ListOrdering::TabbedNotebook1Change(int index)
{
    state_.subscribersPage = index == 0;
    stateChanged_();
}

bool ListOrdering::onSubscribersPage() const
{
    return TabbedNotebook1->currentIndex() == SubscribersPage;
}

TickList* ListOrdering::shownList() const
{
    return onSubscribersPage() ? lbAbonent : lbGroup;
}

// Rewrites the file of the list shown and rebuilds the tick lists from memory, then highlights the
// line. The lists are rebuilt also when the rewrite fails, so the window shows the order memory holds;
// the file error is shown after that, and the previous file stays as it was. A file changed behind the
// program's back is not rewritten: the directory is reloaded before the error is shown.
void ListOrdering::rewriteAndRefill(bool subscribers, int highlight)
{
    const Status saved =
        subscribers ? session_.abonents.Save(session_.folder) : session_.groups.Save(session_.folder);
    if (!saved && IsListFileChanged(saved.failure())) {
        reloadDirectory_(); // refills the lists from what the files hold
        highlight = -1;
    } else {
        recipients_.RefillRecipientLists();
    }
    TickList* list = subscribers ? lbAbonent : lbGroup;
    if (highlight >= 0 && highlight < list->count())
        list->setCurrentRow(highlight);
    (void)succeeded(saved);
}

// Moves the highlighted entry of the page shown one place (-1 up, +1 down); it stays highlighted.
void ListOrdering::moveHighlighted(int step)
{
    recipients_.DropRecipient();
    const bool subscribers = onSubscribersPage();
    const int count = subscribers ? session_.abonents.Count() : session_.groups.Count();
    // A list that merely got the focus has a current line but nothing highlighted.
    const int row = shownList()->highlightedRow();
    if (row < 0 || row >= count) {
        Prompts::message(tr("Элемент списка не выбран"));
        return;
    }
    if (step < 0 && row == 0) {
        Prompts::message(tr("Начало списка уже достигнуто"));
        return;
    }
    if (step > 0 && row == count - 1) {
        Prompts::message(tr("Конец списка уже достигнут"));
        return;
    }
    if (subscribers)
        session_.abonents.Move(row, row + step);
    else
        session_.groups.Move(row, row + step);
    rewriteAndRefill(subscribers, row + step);
}

// Its field takes no typed character of its own (EditFindKeyPress discards them all): read-only, it is
// filled by the search alone.
void ListOrdering::buildSearchPanel()
{
    auto* panel = new QFrame(RichEditDesc->parentWidget());
    panel->setObjectName(QStringLiteral("Panel5"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setAutoFillBackground(true);
    auto* caption = new QLabel(tr("  Поиск:"), panel);
    auto* edit = new QLineEdit(panel);
    edit->setObjectName(QStringLiteral("EditFind"));
    edit->setAccessibleName(tr("Поиск"));
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

void ListOrdering::openSearch()
{
    if (Panel5->isHidden()) {
        Panel5->setGeometry(RichEditDesc->geometry());
        Panel5->raise();
        Panel5->show();
    }
    EditFind->setFocus();
}

void ListOrdering::hideSearch()
{
    if (!Panel5->isHidden()) {
        Panel5->hide();
        EditFind->clear();
    }
}

// Hides and empties the panel; when the focus was in its field, the subscriber list gets it (a control
// the operator clicked into meanwhile, the editor say, keeps it). True when the key was on its way to the
// search field, which takes no keys: it ends there.
bool ListOrdering::closeSearch()
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

void ListOrdering::sortByName()
{
    recipients_.DropRecipient();
    if (onSubscribersPage()) {
        session_.abonents.SortByName();
        rewriteAndRefill(true, -1);
    } else {
        session_.groups.SortByName();
        rewriteAndRefill(false, -1);
    }
}

// Groups have no number: on the groups page only the recipient is dropped.
void ListOrdering::sortByNumber()
{
    recipients_.DropRecipient();
    if (!onSubscribersPage())
        return;
    session_.abonents.SortByNumber();
    rewriteAndRefill(true, -1);
}

void ListOrdering::moveUp()
{
    moveHighlighted(-1);
}

void ListOrdering::moveDown()
{
    moveHighlighted(+1);
}

bool ListOrdering::SearchKeyDown(QKeyEvent* key)
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
    const int row = session_.abonents.FindByPrefix(text);
    if (row >= 0 && row < lbAbonent->count()) {
        lbAbonent->setCurrentRow(row); // and scrolled into sight
    }
    return true;
}

} // namespace zolbin
