// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The throwaway PostgreSQL server the room's tests run in (pg_virtualenv sets PGHOST, PGPORT, PGUSER and
// the password): statements run as its administrator, and fresh databases for the desks.
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <gtest/gtest.h>
#include <string>

namespace zolbin::test {

inline void onPostgresIn(const std::string& db, const std::string& sql)
{
    {
        QSqlDatabase conn = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("room-admin"));
        conn.setConnectOptions(QStringLiteral("dbname=") + QString::fromStdString(db));
        ASSERT_TRUE(conn.open()) << conn.lastError().text().toStdString();
        QSqlQuery query(conn);
        ASSERT_TRUE(query.exec(QString::fromStdString(sql))) << sql;
    }
    QSqlDatabase::removeDatabase(QStringLiteral("room-admin"));
}

inline void onPostgres(const std::string& sql)
{
    onPostgresIn("postgres", sql);
}

// The first value of the first row of a query.
inline std::string scalarIn(const std::string& db, const std::string& sql)
{
    std::string value;
    {
        QSqlDatabase conn = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("room-admin"));
        conn.setConnectOptions(QStringLiteral("dbname=") + QString::fromStdString(db));
        EXPECT_TRUE(conn.open()) << conn.lastError().text().toStdString();
        QSqlQuery query(conn);
        EXPECT_TRUE(query.exec(QString::fromStdString(sql)) && query.next()) << sql;
        value = query.value(0).toString().toStdString();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("room-admin"));
    return value;
}

inline std::string freshDatabase()
{
    static int made = 0;
    const std::string db = "directory" + std::to_string(++made);
    onPostgres("CREATE DATABASE " + db);
    return db;
}

// The database's libpq URI; `extra` adds parameters ("&application_name=desk2").
inline std::string addressOf(const std::string& db, const std::string& extra = {})
{
    return "postgresql://" + qEnvironmentVariable("PGUSER").toStdString() + "@" +
           qEnvironmentVariable("PGHOST").toStdString() + ":" + qEnvironmentVariable("PGPORT").toStdString() +
           "/" + db + "?sslmode=disable" + extra;
}

} // namespace zolbin::test
