// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The TCP connection over which one page is handed over: up to three attempts, each step shown and
// journaled, and the server's greeting read.

#include "platform/Net.h"
#include "platform/Tls.h"

#include <cstdint>
#include <string>

namespace zolbin {

class SendHost;

// Connects to the host (a dotted IPv4 address or a name; only its first address is tried) on the port's
// low 16 bits, with a socket of `sockets` for each attempt (they stay open until the set closes them).
// Returns the connected socket with the greeting read, or -1. The attempts are for
// connections that fail; once connected, a greeting that does not come within the reply deadline (or a
// read that fails) and a greeting beginning with "4" or "5" end the call at once with the reason shown
// and journaled ("Ошибка: " + the error text or the greeting). Fills host.LocalAddr.
// With a TLS session given, the TLS handshake (server name `server`, CA file caFile) comes right after the
// connection, before the greeting, under the connect deadline; its failure ends the call like a silent
// greeting does.
int ConnectToServer(SendHost& host, net::Sockets& sockets, const std::string& server, std::int32_t port,
                    net::TlsSession* tls = nullptr, const std::string& caFile = {});

// A failed TLS handshake shown and journaled: "Ошибка: " + its text, or the socket error's text.
void ReportTlsFailure(SendHost& host, const Failure& failure, std::error_code socketError);

} // namespace zolbin
