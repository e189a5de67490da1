// SPDX-License-Identifier: GPL-3.0-or-later
// The queue window over an outbox in the test's folder: what each row shows, which commands each page
// allows, the commands' changes, a failed page sent again, the order and the filters, a change made by
// another process, a failing outbox, and rows read a batch at a time.

#include "records/ui/QueueWindow.h"

#include "platform/Codepage.h"
#include "records/SqlOutbox.h"
#include "records/ui/QueueModel.h"
#include "tests/gui/DialogTestSupport.h"
#include "tests/support/FixedClock.h"
#include "tests/support/PromptRecorder.h"
#include "tests/support/TempDir.h"

#include <QBrush>
#include <QComboBox>
#include <QHeaderView>
#include <QIcon>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <gtest/gtest.h>
#include <set>
#include <tuple>

namespace zolbin {
namespace {

constexpr std::int64_t Minute = 60 * 1000;

class QueueWindow : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { test::dialogTestApp(); }
    void SetUp() override
    {
        box = SqlOutbox::Open(dir.path() + "/" + OutboxFileName).value();
        // Newest first: queued, waiting, unknown (an unregistered number), sent; and one sent two days ago.
        petrov = add("Петров", 1);
        sidorov = add("Сидоров", 2);
        const std::string unknown = add("", 3), sent = add("Иванов", 4), old = add("Старов", 3 * 24 * 60);
        ASSERT_TRUE(box->Claim(sidorov).value() &&
                    box->Reschedule(sidorov, now + 10 * Minute, cp("421 Занято")));
        ASSERT_TRUE(box->Claim(unknown).value() && box->MarkInterrupted(now).value() == 1);
        for (const auto& [id, finished] :
             {std::pair{sent, now - 60 * Minute}, {old, now - 2 * 24 * 60 * Minute}})
            ASSERT_TRUE(box->Claim(id).value() && box->Finish(id, PageState::Sent, "250 OK", finished));
        window.setOutbox(box.get());
        window.show();
    }

    // A queued page to the subscriber (the number 5550100 alone for an empty name), made minutesAgo.
    std::string add(const char* name, int minutesAgo)
    {
        std::vector<OutboxPage> pages(1);
        pages[0].createdMs = pages[0].nextAttemptMs = now - minutesAgo * Minute;
        pages[0].params.CurName = cp(name);
        pages[0].params.CurNumber = 5550100;
        pages[0].params.CurProvider = cp("Мобильная связь");
        pages[0].text = cp("Вызов ") + cp(name) + cp("\r\nКаб. 5");
        EXPECT_TRUE(box->Add(pages));
        return pages[0].id;
    }
    // A page to Кузнецов that failed for good, older than the others.
    std::string addFailed()
    {
        const std::string id = add("Кузнецов", 5);
        EXPECT_TRUE(box->Claim(id).value() &&
                    box->Finish(id, PageState::Failed, cp("550 Нет абонента"), now));
        window.refresh();
        return id;
    }
    // The column's cells, top to bottom, joined by "|".
    QString column(int column)
    {
        QStringList cells;
        for (int row = 0; row < model().rowCount(); ++row)
            cells << cell(row, column);
        return cells.join(QLatin1Char('|'));
    }
    void clickHeader(int column)
    {
        QHeaderView* header = grid()->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                                 header->height() / 2));
    }
    QueueModel& model() { return *qobject_cast<QueueModel*>(grid()->model()); }
    QTableView* grid() { return test::control<QTableView>(&window, "gridQueue"); }
    QPushButton* button(const char* name) { return test::control<QPushButton>(&window, name); }
    QString cell(int row, int column) { return model().index(row, column).data().toString(); }
    PageState stateOf(const std::string& id) { return box->Page(id).value()->state; }
    void choose(std::initializer_list<int> rows)
    {
        grid()->clearSelection();
        for (int row : rows)
            grid()->selectionModel()->select(model().index(row, 0),
                                             QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    test::TempDataDir dir;
    test::FixedClock clock; // 07.12.2026 09:30
    const std::int64_t now = clock.now().toMSecsSinceEpoch();
    test::PromptRecorder prompts;
    std::unique_ptr<SqlOutbox> box;
    std::string petrov, sidorov;
    TfmQueue window;
};

TEST_F(QueueWindow, RowsShowWhenQueuedTheRecipientTextCompanyStateAndWhenTheNextAttemptIsDue)
{
    const std::vector<std::vector<const char*>> rows = {
        {"07.12.2026 09:29:00", "Петров", "Вызов Петров", "Мобильная связь", "В очереди", "0",
         "07.12.2026 09:29", "", "", ""},
        {"07.12.2026 09:28:00", "Сидоров", "Вызов Сидоров", "Мобильная связь", "Ожидает повтора", "1",
         "07.12.2026 09:40", "", "", "421 Занято"},
        {"07.12.2026 09:27:00", "5550100", "Вызов", "Мобильная связь", "Исход неизвестен", "1", "", "", "",
         "Отправка прервана: доставлено ли сообщение, неизвестно"},
        {"07.12.2026 09:26:00", "Иванов", "Вызов Иванов", "Мобильная связь", "Отправлено", "1", "", "", "",
         "250 OK"},
    };
    ASSERT_EQ(model().rowCount(), 4); // the page finished two days ago is not shown
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < QueueModel::ColumnCount; ++column)
            EXPECT_EQ(cell(row, column), QString::fromUtf8(rows[row][column])) << row << ":" << column;
    EXPECT_EQ(model().index(0, QueueModel::Text).data(Qt::ToolTipRole).toString(),
              QString::fromUtf8("Вызов Петров\r\nКаб. 5"));
    // Each state in a colour and with a picture of its own; each column as wide as its widest cell.
    std::set<std::pair<QRgb, qint64>> looks;
    for (int row = 0; row < 4; ++row)
        looks.emplace(
            model().index(row, QueueModel::State).data(Qt::ForegroundRole).value<QBrush>().color().rgb(),
            model().index(row, QueueModel::State).data(Qt::DecorationRole).value<QIcon>().cacheKey());
    EXPECT_EQ(looks.size(), 4u);
    QHeaderView* header = grid()->horizontalHeader();
    // The desk and the worker are shown for a shared outbox only.
    EXPECT_TRUE(grid()->isColumnHidden(QueueModel::Desk));
    EXPECT_TRUE(grid()->isColumnHidden(QueueModel::Worker));
    for (int column = 0; column < QueueModel::Desk; ++column)
        EXPECT_EQ(grid()->columnWidth(column),
                  std::max(static_cast<QAbstractItemView*>(grid())->sizeHintForColumn(column),
                           header->sectionSizeHint(column)))
            << column;
}

TEST_F(QueueWindow, CommandsAreOnOnlyForThePagesTheyApplyTo)
{
    struct Case
    {
        std::initializer_list<int> rows;
        bool sendNow, cancel, resend;
    };
    const Case cases[] = {{{}, false, false, false}, {{0}, true, true, false},   {{1}, true, true, false},
                          {{2}, false, false, true}, {{3}, false, false, false}, {{2, 3}, false, false, true},
                          {{0, 2}, true, true, true}};
    for (const Case& c : cases) {
        choose(c.rows);
        EXPECT_EQ(button("btnSendNow")->isEnabled(), c.sendNow) << c.rows.size();
        EXPECT_EQ(button("btnCancelPage")->isEnabled(), c.cancel) << c.rows.size();
        EXPECT_EQ(button("btnResend")->isEnabled(), c.resend) << c.rows.size();
    }
}

TEST_F(QueueWindow, CommandsChangeTheChosenPagesAndTellTheSending)
{
    QSignalSpy changed(&window, &TfmQueue::pagesChanged);
    choose({1});
    button("btnSendNow")->click();
    EXPECT_EQ(box->Page(sidorov).value()->nextAttemptMs, now);
    EXPECT_EQ(box->Due(now).value().size(), 2u);
    EXPECT_EQ(changed.count(), 1);

    choose({0});
    button("btnCancelPage")->click();
    EXPECT_EQ(stateOf(petrov), PageState::Cancelled);
    EXPECT_EQ(cell(0, QueueModel::State), QString::fromUtf8("Отменено"));
    EXPECT_FALSE(button("btnCancelPage")->isEnabled()); // the same page, still chosen, no longer waits
    EXPECT_TRUE(button("btnResend")->isEnabled());      // withdrawn: it may go again

    const std::string unknown = model().pageId(2);
    for (const bool yes : {false, true}) {
        prompts.clear();
        prompts.answer(yes);
        choose({2});
        button("btnResend")->click();
        ASSERT_EQ(prompts.texts(), std::vector<std::string>{"Сообщение для абонента 5550100 могло быть "
                                                            "доставлено:\r\nВызов \r\nКаб. 5\r\nОтправить "
                                                            "его ещё раз?"});
        EXPECT_EQ(stateOf(unknown), yes ? PageState::Queued : PageState::Unknown);
    }
    EXPECT_EQ(changed.count(), 3);
}

// The main window opens the window on the pages not sent. A failed page goes again as a new page after the
// question; the old one stays as it ended. "Ожидают" lists the pages still to go.
TEST_F(QueueWindow, AFailedPageAmongThoseNotSentGoesAgainAsANewPage)
{
    const std::string failed = addFailed();
    QSignalSpy changed(&window, &TfmQueue::pagesChanged);
    window.hide();
    window.showNotSent();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(test::control<QComboBox>(&window, "cmbFilter")->currentText(),
              QString::fromUtf8("Не отправлены"));
    EXPECT_EQ(column(QueueModel::State), QString::fromUtf8("Исход неизвестен|Не отправлено"));
    for (const bool yes : {false, true}) {
        prompts.clear();
        prompts.answer(yes);
        choose({1});
        button("btnResend")->click();
        ASSERT_EQ(prompts.texts(), std::vector<std::string>{"Сообщение для абонента Кузнецов:\r\nВызов "
                                                            "Кузнецов\r\nКаб. 5\r\nОтправить его ещё раз?"});
        EXPECT_EQ(changed.count(), yes ? 1 : 0);
    }
    EXPECT_EQ(model().pageId(1), failed);
    EXPECT_EQ(model().total(), 2);
    test::control<QComboBox>(&window, "cmbFilter")->setCurrentIndex(1);
    EXPECT_EQ(column(QueueModel::Recipient), QString::fromUtf8("Кузнецов|Петров|Сидоров")); // queued now
    const OutboxPage made = box->Due(now).value().back(), old = *box->Page(failed).value();
    EXPECT_EQ(std::tie(made.params.CurName, made.params.CurNumber, made.text),
              std::tie(old.params.CurName, old.params.CurNumber, old.text));
}

// A click on a column's title orders the pages by it, the outbox's whole list and not only the rows
// read; a second click reverses it. The chosen page stays chosen.
TEST_F(QueueWindow, AClickOnATitleOrdersThePagesByItsColumn)
{
    std::vector<OutboxPage> many(QueueModel::Batch + 10);
    for (std::size_t i = 0; i < many.size(); ++i) {
        many[i].createdMs = now - 10 * Minute - static_cast<std::int64_t>(i);
        many[i].params.CurName = cp(i + 1 == many.size() ? "Яковлев" : "Юрьев");
    }
    ASSERT_TRUE(box->Add(many));
    window.refresh();
    choose({1});
    clickHeader(QueueModel::Recipient);
    EXPECT_EQ(column(QueueModel::Recipient).left(36),
              QString::fromUtf8("5550100|Иванов|Петров|Сидоров|Юрьев|"));
    ASSERT_EQ(grid()->selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(model().pageId(grid()->selectionModel()->selectedRows()[0].row()), sidorov);
    clickHeader(QueueModel::Recipient);
    EXPECT_EQ(cell(0, QueueModel::Recipient), QString::fromUtf8("Яковлев")); // the last page read at first
    clickHeader(QueueModel::Created);                                        // the newest first again
    EXPECT_EQ(model().pageId(0), petrov);
}

TEST_F(QueueWindow, ChangesByAnotherProcessAppearWhileShownAndFailuresAreToldOnce)
{
    auto other = SqlOutbox::Open(dir.path() + "/" + OutboxFileName).value();
    ASSERT_TRUE(other->Cancel(sidorov, now).value());
    EXPECT_TRUE(QTest::qWaitFor([&] { return cell(1, QueueModel::State) == QString::fromUtf8("Отменено"); },
                                3 * TfmQueue::RefreshMs));

    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("spoiler"));
        db.setDatabaseName(QString::fromStdString(dir.path() + "/" + OutboxFileName));
        ASSERT_TRUE(db.open() && QSqlQuery(db).exec(QStringLiteral("DROP TABLE outbox_pages")));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("spoiler"));
    model().fetchMore(QModelIndex()); // as the view asks when scrolled down
    EXPECT_TRUE(QTest::qWaitFor([&] { return !prompts.requests().empty(); }, 1000));
    window.refresh();
    window.refresh();
    ASSERT_EQ(prompts.requests().size(), 1u);
    EXPECT_EQ(prompts.requests()[0].icon, PromptIcon::Stop);
    EXPECT_NE(prompts.texts()[0].find("Очередь сообщений недоступна"), std::string::npos);
}

TEST_F(QueueWindow, RowsAreReadABatchAtATimeAsTheViewReachesThem)
{
    std::vector<OutboxPage> many(2 * QueueModel::Batch + 50);
    for (std::size_t i = 0; i < many.size(); ++i)
        many[i].createdMs = now - 10 * Minute - static_cast<std::int64_t>(i);
    ASSERT_TRUE(box->Add(many));
    window.refresh();
    EXPECT_EQ(model().rowCount(), QueueModel::Batch);
    EXPECT_EQ(model().total(), 2 * QueueModel::Batch + 54);

    grid()->scrollToBottom();
    EXPECT_TRUE(QTest::qWaitFor([&] { return model().rowCount() == 2 * QueueModel::Batch; }, 2000));
    add("Новиков", 0); // comes in above and pushes the others down: none is shown twice
    model().fetchMore(QModelIndex());
    std::set<std::string> ids;
    for (int row = 0; row < model().rowCount(); ++row)
        ids.insert(model().pageId(row));
    EXPECT_EQ(model().rowCount(), 2 * QueueModel::Batch + 54);
    EXPECT_EQ(ids.size(), 2 * QueueModel::Batch + 54u);

    window.refresh(); // as many rows as were read, the new page among them
    EXPECT_EQ(model().pageId(0), box->Recent(0).value().front().id);
    EXPECT_EQ(model().rowCount(), 2 * QueueModel::Batch + 54);
    model().fetchMore(QModelIndex());
    EXPECT_EQ(model().rowCount(), 2 * QueueModel::Batch + 55);
    EXPECT_FALSE(model().canFetchMore(QModelIndex()));
}

} // namespace
} // namespace zolbin
