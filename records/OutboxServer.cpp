// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/OutboxServer.h"

#include "platform/Codepage.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QVariant>
#include <libpq-fe.h>
#include <memory>

namespace zolbin {

namespace {

Failure refused(const std::string& why)
{
    return Failure{FailureCode::Outbox, tx("OutboxServer", "Адрес общей очереди не принят: %1").arg(why)};
}

// A value as libpq's key=value form quotes it.
std::string quoted(const char* value)
{
    std::string out = "'";
    for (const char* c = value; *c != '\0'; ++c) {
        if (*c == '\'' || *c == '\\')
            out += '\\';
        out += *c;
    }
    return out + "'";
}

} // namespace

Result<std::string> ServerConnectOptions(const std::string& database, int connectSeconds)
{
    char* error = nullptr;
    const std::unique_ptr<PQconninfoOption, decltype(&PQconninfoFree)> options(
        PQconninfoParse(database.c_str(), &error), &PQconninfoFree);
    if (!options) {
        std::string why = error != nullptr ? error : "out of memory";
        PQfreemem(error);
        while (!why.empty() && (why.back() == '\n' || why.back() == ' '))
            why.pop_back();
        return refused(why);
    }
    std::string connect;
    bool timeout = false;
    for (const PQconninfoOption* o = options.get(); o->keyword != nullptr; ++o) {
        if (o->val == nullptr)
            continue;
        const std::string key = o->keyword;
        if (key == "password")
            return refused(cp("пароль в адресе не указывается; libpq берёт его из ~/.pgpass, PGPASSFILE "
                              "или файла служб (service=ИМЯ)"));
        // The driver reads ';' as a separator of its options.
        if (std::string(o->val).find(';') != std::string::npos)
            return refused(key + cp(": знак «;» в значении не поддерживается"));
        timeout = timeout || key == "connect_timeout";
        connect += (connect.empty() ? "" : " ") + key + "=" + quoted(o->val);
    }
    // A server that does not answer is told within moments rather than after the system's own wait.
    // libpq takes the last of a key given twice.
    if (connectSeconds > 0)
        connect +=
            (connect.empty() ? "" : " ") + std::string("connect_timeout=") + std::to_string(connectSeconds);
    else if (!timeout)
        connect += (connect.empty() ? "" : " ") + std::string("connect_timeout=10");
    return connect;
}

bool ServerConnectionLost(const QSqlDatabase& db)
{
    if (!db.isOpen())
        return true;
    const QVariant handle = db.driver()->handle();
    if (qstrcmp(handle.typeName(), "PGconn*") != 0)
        return false;
    const PGconn* connection = *static_cast<PGconn* const*>(handle.constData());
    return connection == nullptr || PQstatus(connection) == CONNECTION_BAD;
}

} // namespace zolbin
