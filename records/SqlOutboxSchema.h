// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The outbox's tables and their versions: the version is kept in the database itself (the table
// schema_version, one row), and each later version is reached by a numbered migration run in one
// transaction; the columns of its rows are found by their names. Only SqlOutbox uses this.

#include "records/Outbox.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <optional>
#include <string>
#include <vector>

namespace zolbin {

// Why a database could not be brought to this program's tables.
struct SchemaRefusal
{
    QSqlError error;      // the database's own error,
    int newerVersion = 0; // or, when not 0, the version it holds: newer than this program knows
};

// Brings the database on an open connection to the version this program writes. A version newer than it
// knows is refused before anything is written; a migration that fails is rolled back whole.
std::optional<SchemaRefusal> UpdateOutboxSchema(QSqlDatabase& db);

// The page table's columns, in the order Add binds its values.
enum class OutboxColumn
{
    Id,
    Batch,
    CreatedMs,
    State,
    Attempts,
    NextMs,
    DeadlineMs,
    FinishedMs,
    LastReply,
    Name,
    Number,
    Digital,
    MaxLen,
    Company,
    DeferDate,
    DeferTime,
    RepeatCount,
    RepeatInterval,
    SendDate,
    SendTime,
    Message,
    SignatureBlocked,
    WholeText,
    CompanyRecord,
    Gate,
    Desk,
    Worker,
    LeaseMs,
    IntakeKey,
};
inline constexpr int OutboxColumnCount = static_cast<int>(OutboxColumn::IntakeKey) + 1;

// "id, batch, ...": every column, in that order.
QString OutboxColumnList();

// A result's columns, found by their names once and then read row by row.
class OutboxRow
{
public:
    explicit OutboxRow(const QSqlQuery& query);
    QVariant operator[](OutboxColumn c) const { return query_.value(at_[static_cast<int>(c)]); }
    std::string text(OutboxColumn c) const; // cp1251

private:
    const QSqlQuery& query_;
    int at_[OutboxColumnCount] = {};
};

OutboxPage PageOfRow(const OutboxRow& row);
// The values of the page's row in the order of the columns (its desk, when it has none, `desk`).
QVariantList OutboxRowValues(const OutboxPage& page, const std::string& desk);
// A page's lines as the column message keeps them.
std::string JoinedLines(const std::vector<std::string>& lines);

} // namespace zolbin
