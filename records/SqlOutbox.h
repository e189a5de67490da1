// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The outbox kept in a database through Qt SQL: "Outbox.db" (SQLite) in the data folder. Its SQL is
// portable (no SQLite-only syntax where a portable form exists), so that a database server can hold the
// same table for several desks; only the connection's set-up knows which driver it talks to. The tables
// carry their version and are brought to this program's by numbered migrations (SqlOutboxSchema.cpp).
// Every value is bound, the states too, and every column is read by its name.
//
// A connection belongs to the thread that opened it: each thread that works the outbox opens its own.

#include "records/Outbox.h"

#include <QObject>
#include <QPointer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <span>

namespace zolbin {

inline constexpr const char* OutboxFileName = "Outbox.db";

struct SchemaRefusal;

class SqlOutbox final : public Outbox
{
public:
    // The version of the tables this program reads and writes: the number of its migrations.
    static constexpr int SchemaVersion = 3;

    // Opens the outbox file, creating it and its tables when missing and migrating an older one. A file
    // that is no database, or a damaged one, is moved aside (path + ".bad") and reported: the next opening
    // starts a new outbox. A file of a newer version, one that cannot be opened or written, or one whose
    // migration failed (rolled back whole) fails with the reason (FailureCode::Outbox) and is left as it was.
    // The messages name the file as shown (the path itself when none is given).
    static Result<std::unique_ptr<SqlOutbox>> Open(const std::string& path, const std::string& shown = {},
                                                   OutboxIdentity who = {});
    // Opens the outbox a room shares on a PostgreSQL server (SqlOutboxRoom.cpp): `database` is a libpq
    // connection URI or key=value string without a password (libpq finds it in ~/.pgpass, PGPASSFILE or a
    // service file). Creates or migrates its tables as Open does; a newer version is refused untouched.
    static Result<std::unique_ptr<SqlOutbox>> OpenShared(const std::string& database, OutboxIdentity who);
    ~SqlOutbox() override;
    SqlOutbox(const SqlOutbox&) = delete;
    SqlOutbox& operator=(const SqlOutbox&) = delete;

    Status Add(std::vector<OutboxPage>& pages) override;
    Result<bool> Claim(const std::string& id) override;
    Status Finish(const std::string& id, PageState state, const std::string& reply,
                  std::int64_t nowMs) override;
    Status Reschedule(const std::string& id, std::int64_t nextAttemptMs, const std::string& reply) override;
    Result<bool> Retry(const std::string& id, std::int64_t nowMs) override;
    Result<bool> Cancel(const std::string& id, std::int64_t nowMs) override;
    Result<std::vector<OutboxPage>> Due(std::int64_t nowMs) override;
    Status LimitWaits(std::int64_t nowMs, const std::vector<std::int64_t>& waitsMs) override;
    Result<std::optional<std::int64_t>> NextDue() override;
    Result<std::vector<OutboxPage>> Recent(std::int64_t sinceMs) override;
    Result<std::optional<OutboxPage>> Page(const std::string& id) override;
    Result<int> Unfinished() override;
    Result<int> Waiting() override;
    Result<int> NotSent(std::int64_t sinceMs) override;
    Result<std::map<PageState, int>> CountBatch(const std::string& batch) override;
    Result<int> MarkInterrupted(std::int64_t nowMs) override;
    Status Prune(std::int64_t beforeMs) override;
    Result<int> CountRecent(std::int64_t sinceMs, RecentFilter filter) override; // SqlOutboxRecent.cpp
    Result<std::vector<OutboxPage>> RecentSlice(std::int64_t sinceMs, const RecentView& view, int offset,
                                                int limit) override;
    // The shared outbox's own (SqlOutboxRoom.cpp).
    bool Shared() const override { return server_; }
    std::int64_t LeaseMs() const override { return server_ ? who_.leaseMs : 0; }
    Result<int> WaitingIn(std::uint32_t gates) override;
    Result<std::optional<std::int64_t>> ServerClockMs() override;
    Result<std::vector<OutboxPage>> ClaimDue(const ClaimRequest& request) override;
    Result<bool> Renew(const std::string& id) override;
    Result<bool> Release(const std::string& id) override;
    Result<int> ExpireLeases() override;
    bool Away() const override;
    Result<std::vector<OutboxPage>> EndedFor(const std::string& desk, std::int64_t sinceMs) override;
    // A page's move from a desk's own outbox into the shared one (SqlOutboxMove.cpp).
    Result<int> MarkMoving() override;
    Result<std::vector<OutboxPage>> MovingPages() override;
    Status AddMoved(const OutboxPage& page) override;
    Result<bool> RemoveMoved(const std::string& id) override;
    Result<std::vector<std::string>> PagesOfKey(const std::string& key, std::int64_t sinceMs) override;
    // A shared outbox: `changed` is called on the context's thread (the connection's own) each time a
    // transaction of any desk or worker changed its pages, within moments. False for the embedded outbox
    // or when the server refuses to listen. A connection lost and made again listens again, and tells
    // `changed` once, for what it may have missed meanwhile.
    bool WatchChanges(QObject* context, std::function<void()> changed);

private:
    class Statement;

    SqlOutbox(QString connection, std::string path, std::string shown, OutboxIdentity who)
        : connection_(std::move(connection)), path_(std::move(path)), shown_(std::move(shown)),
          who_(std::move(who))
    {
    }

    std::optional<SchemaRefusal> prepare();
    std::optional<SchemaRefusal> prepareShared(const QString& connectOptions);
    // The connection, made again first when a shared outbox's was lost (Qt's driver never does it by
    // itself): listening again when it listened.
    QSqlDatabase database() const;
    // Whether a shared outbox's connection is lost (libpq's own state; no round trip).
    static bool lost(const QSqlDatabase& db);
    // Prepares, binds and runs the statement. On a shared outbox a statement that failed because its
    // connection was lost runs once more on a new one (never inside a transaction): a server restarted
    // between two statements costs nothing.
    Status exec(QSqlQuery& query, const QString& sql, const QVariantList& values) const;
    // The failure of a statement: FailureCode::OutboxAway when the server was lost.
    Failure failureOf(const QSqlError& error) const;
    Failure serverFailureOf(const QSqlError& error) const; // SqlOutboxRoom.cpp
    // The refusal told as the outbox's failure.
    static Failure refusal(const SchemaRefusal& refused, const std::string& shown);
    // The server's clock in ms, as an SQL expression.
    static QString serverNow();
    // "(gate IN (0, 3) OR gate < 0)": the gates as numbers of our own; nothing for no gate.
    static QString gateCondition(std::uint32_t gates);
    // Whether the next commits reach the disk before they return (a page added, claimed or withdrawn)
    // or may wait for a later one (an outcome: lost to a power cut, the page shows "unknown").
    Status durable(bool onDisk);
    // The states of a page that has not reached its end, and of one that ended without going out.
    static constexpr PageState Unended[] = {PageState::Queued, PageState::Sending, PageState::Waiting};
    static constexpr PageState NotGone[] = {PageState::Failed, PageState::Unknown};
    // A condition that the page is in one of the states, their values appended to `values` in order.
    static QString stateIn(std::span<const PageState> states, QVariantList& values);
    static QString recentCondition(RecentFilter filter, std::int64_t sinceMs, QVariantList& values);
    // Runs an UPDATE or DELETE; true when it changed a row.
    Result<bool> changed(const QString& sql, const QVariantList& values);
    Result<std::vector<OutboxPage>> pages(const QString& where, const QVariantList& values);
    // How many pages match the condition.
    Result<int> count(const QString& where, const QVariantList& values);

    QString connection_;
    std::string path_;
    std::string shown_;
    OutboxIdentity who_;
    bool server_ = false;        // a shared database on a server
    std::optional<bool> onDisk_; // what the connection was last told
    bool inTransaction_ = false; // a statement that fails now is not run again
    // What listens to the shared outbox's changes, told again after a new connection.
    struct Watch
    {
        QPointer<QObject> context;
        std::function<void()> changed;
    };
    std::optional<Watch> watch_;
};

} // namespace zolbin
