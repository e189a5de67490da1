// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rows of the queue window: every page of the outbox not finished, and those finished in the last
// day, newest first, or those of one filter in the order of one column (the outbox sorts them). The rows
// are read from the outbox a batch at a time as the view scrolls to them (fetchMore), so that an outbox of
// a hundred thousand pages opens as fast as one of ten. Each row keeps only what the table shows.

#include "platform/Result.h"
#include "records/Outbox.h"

#include <QAbstractTableModel>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

namespace zolbin {

class QueueModel final : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column
    {
        Created,
        Recipient,
        Text,
        Company,
        State,
        Attempts,
        NextAttempt,
        Desk,   // the desk that queued the page (a shared outbox's)
        Worker, // the worker that took it last
        LastReply,
        ColumnCount
    };
    static constexpr int Batch = 200; // rows read at a time

    explicit QueueModel(QObject* parent = nullptr);

    // The outbox to show (nullptr: none, no rows). Nothing is read until the next reload.
    void setOutbox(Outbox* outbox);
    // Reads the rows again: as many as were read before, at least one batch. Rows that are the same pages
    // in the same order are updated in place (the view keeps its selection); otherwise the model resets.
    Status reload();
    // Drops the rows; the next reload starts with one batch.
    void clear();
    // Which pages the rows show and in which order, from the next reload on.
    void setView(const RecentView& view) { view_ = view; }
    const RecentView& view() const { return view_; }
    // The outbox's order of a column.
    static RecentOrder orderOf(int column);
    // How the State column names a page's state.
    static QString stateText(PageState state);

    const std::string& pageId(int row) const { return rows_[static_cast<std::size_t>(row)].id; }
    PageState state(int row) const { return rows_[static_cast<std::size_t>(row)].state; }
    const QString& recipient(int row) const { return rows_[static_cast<std::size_t>(row)].recipient; }
    const QString& text(int row) const { return rows_[static_cast<std::size_t>(row)].text; }
    // How many rows the outbox had at the last reading (rowCount() of them are read).
    int total() const { return total_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

signals:
    // A batch the view asked for could not be read.
    void fetchFailed(const Failure& failure);

private:
    struct Row
    {
        std::string id;
        std::int64_t createdMs = 0;
        QString recipient;
        QString text;      // the whole message
        QString firstLine; // what the table shows of it
        QString company;
        PageState state = PageState::Queued;
        int attempts = 0;
        std::int64_t nextAttemptMs = 0;
        QString lastReply;
        QString desk;
        QString worker;

        bool operator==(const Row&) const = default;
    };
    static Row rowOf(const OutboxPage& page);
    Result<std::vector<Row>> read(int offset, int limit) const;

    Outbox* outbox_ = nullptr;
    std::vector<Row> rows_;
    int total_ = 0;
    RecentView view_;
    std::int64_t sinceMs_ = 0; // the moment the rows were counted from at the last reload
};

} // namespace zolbin
