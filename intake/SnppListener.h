// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The SNPP listener: a line server of platform/ whose every connection is an SnppSession over the
// caller's directory, sink and users file (all three outlive the listener).

#include "intake/SnppSession.h"
#include "platform/LineServer.h"

#include <memory>

namespace zolbin {

// The line server's limits with SNPP's words for them: 64 connections, lines of 1,024 bytes, five
// minutes of silence.
LineServerLimits SnppLimits();

// A listener not yet listening (LineServer::listen names host and port); it lives on the caller's thread.
std::unique_ptr<LineServer> MakeSnppListener(const PagerDirectory& directory, PageSink& sink,
                                             const SnppUsers* users, LineServerLimits limits = SnppLimits());

} // namespace zolbin
