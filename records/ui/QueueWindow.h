// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The queue window "Очередь сообщений": the pages of the outbox not finished and those finished in the
// last day, with the time each was queued, its recipient and text, state, attempts, next attempt and last
// reply; all of them, those waiting or those not sent ("Все", "Ожидают", "Не отправлены"), in the order
// of the column the operator clicks. The operator sends a queued or waiting page at once, withdraws it,
// sends again a page whose outcome is unknown, or sends a failed or withdrawn one again as a new page.
// The window is not modal: it follows the outbox while it is shown (the main window calls refresh() when
// its sending changes a page; a timer reads the outbox every two seconds, since another process may
// change it too). Its controls carry their design names as object names.

#include "platform/ui/Dialog.h"
#include "records/Outbox.h"

#include <functional>
#include <set>
#include <string>
#include <vector>

class QComboBox;
class QPushButton;
class QTableView;
class QTimer;

namespace zolbin {

class QueueModel;

class TfmQueue final : public TDialog
{
    Q_OBJECT
public:
    static constexpr int RefreshMs = 2000;

    explicit TfmQueue(QWidget* parent = nullptr);

    // The outbox to show; nullptr while there is none (no rows, no commands). The outbox belongs to the
    // caller and to the main thread; it is taken back (nullptr) before it goes.
    void setOutbox(Outbox* outbox);

    // Shows the window on the pages that did not go: those that failed for good or whose outcome is
    // unknown are selected, the newest of them in view.
    void showNotSent();

    void btnSendNowClick();    // Queued or Waiting: due at once
    void btnCancelPageClick(); // Queued or Waiting: withdrawn
    // After the operator says so: Unknown queued again; Failed or Cancelled sent as a new page.
    void btnResendClick();
    void cmbFilterChange();

    // The pages not sent (failed, or their outcome unknown), the window shown and brought forward.
public slots:
    // Reads the outbox again while the window is shown.
    void refresh();

signals:
    // A command changed pages: the sending should look at the outbox again.
    void pagesChanged();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    using Change = std::function<Result<bool>(int row, std::int64_t nowMs)>;

    // The selected rows, those whose page is in one of the states, in the table's order.
    std::vector<int> chosenRows(std::initializer_list<PageState> states) const;
    // Runs the change on each row's page, then reads the outbox again.
    void change(const std::vector<int>& rows, const Change& operation);
    void change(const std::vector<int>& rows,
                Result<bool> (Outbox::*operation)(const std::string&, std::int64_t));
    QString resendQuestion(const std::vector<int>& rows) const;
    void sortBy(int column, Qt::SortOrder order);
    // Each column as wide as its title and the rows read, within bounds; kept once the operator sized one.
    void fitColumns();
    // Reads the outbox again, keeping the selection and the top row by their pages.
    void reloadRows();
    void select(const std::set<std::string>& ids, const std::string& current, const std::string& top);
    void updateCommands();
    // A failure of the outbox is told once, until a reading succeeds again.
    void tell(const Failure& failure);
    void sizeToColumns();

    QComboBox* cmbFilter = nullptr; // "Все", "Ожидают", "Не отправлены"
    QTableView* gridQueue = nullptr;
    QPushButton* btnSendNow = nullptr;    // "Отправить &сейчас"
    QPushButton* btnCancelPage = nullptr; // "&Отменить"
    QPushButton* btnResend = nullptr;     // "Отправить &повторно"
    QPushButton* btnClose = nullptr;      // "&Закрыть"
    QueueModel* model_ = nullptr;
    QTimer* timer_ = nullptr;
    Outbox* outbox_ = nullptr;
    bool busy_ = false;        // a command runs (a question may be open): the timer waits
    bool told_ = false;        // the last failure was shown and no reading has succeeded since
    bool wasReset_ = false;    // the last reload reset the model
    bool fitting_ = false;     // the window sizes the columns itself
    bool sizedByHand_ = false; // the operator sized a column since the window was shown
};

} // namespace zolbin
