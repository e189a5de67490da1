// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The queue window "Очередь сообщений": the pages of the outbox not finished and those finished in the
// last day, with their state, attempts, next attempt and last reply. The operator sends a queued or
// waiting page at once, withdraws it, or sends again a page whose outcome is unknown. The window is not
// modal: it follows the outbox while it is shown (the main window calls refresh() when its sending changes
// a page; a timer reads the outbox every two seconds, since another process may change it too). Its
// controls carry their design names as object names.

#include "platform/ui/Dialog.h"
#include "records/Outbox.h"

#include <set>
#include <string>
#include <vector>

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
    void btnResendClick();     // Unknown: queued again, after the operator says so
    void btnCloseClick();

public slots:
    // Reads the outbox again while the window is shown.
    void refresh();

signals:
    // A command changed pages: the sending should look at the outbox again.
    void pagesChanged();

protected:
    bool escapePressed() override; // Close
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // The selected rows' page ids, those in one of the states.
    std::vector<std::string> chosenPages(std::initializer_list<PageState> states) const;
    // Runs the change on each page, then reads the outbox again.
    void change(const std::vector<std::string>& ids,
                Result<bool> (Outbox::*operation)(const std::string&, std::int64_t));
    // Reads the outbox again, keeping the selection and the top row by their pages.
    void reloadRows();
    void select(const std::set<std::string>& ids, const std::string& current, const std::string& top);
    void updateCommands();
    // A failure of the outbox is told once, until a reading succeeds again.
    void tell(const Failure& failure);
    void sizeToColumns();

    QTableView* gridQueue = nullptr;
    QPushButton* btnSendNow = nullptr;    // "Отправить &сейчас"
    QPushButton* btnCancelPage = nullptr; // "&Отменить"
    QPushButton* btnResend = nullptr;     // "Отправить &повторно"
    QPushButton* btnClose = nullptr;      // "&Закрыть"
    QueueModel* model_ = nullptr;
    QTimer* timer_ = nullptr;
    Outbox* outbox_ = nullptr;
    bool busy_ = false;     // a command runs (a question may be open): the timer waits
    bool told_ = false;     // the last failure was shown and no reading has succeeded since
    bool wasReset_ = false; // the last reload reset the model
};

} // namespace zolbin
