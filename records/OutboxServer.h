// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The address of a shared outbox's PostgreSQL server as the settings give it (a libpq connection URI,
// "postgresql://pager@db.example.org:5432/paging?sslmode=verify-full", or libpq's key=value form,
// "service=paging") turned into the key=value options Qt's PostgreSQL driver hands to libpq. libpq
// itself reads the address, so that every form and key it knows is taken and one it refuses is told with
// its own reason. A password is refused: it belongs in libpq's own places (~/.pgpass, PGPASSFILE, a
// service file), never in Zolbin.ini nor on a command line.

#include "platform/Result.h"

#include <string>

class QSqlDatabase;

namespace zolbin {

// The driver's connect options (without a password), or why the address cannot be used (cp1251).
// `connectSeconds`, when not 0, is how long a connection attempt may wait for the server.
Result<std::string> ServerConnectOptions(const std::string& database, int connectSeconds = 0);

// Whether a connection to the server is lost: libpq's own state, known without a round trip once the
// driver has read from its socket (a notification's reading sees the server close it).
bool ServerConnectionLost(const QSqlDatabase& db);

} // namespace zolbin
