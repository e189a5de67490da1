// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// zolbin-send: the window's Send command from a shell. Reads the directory and the settings of the data
// folder into the session, sends the message through the same send command as the window (the same
// protocol lines, journal lines and archive entries) and answers with an exit status (cli/ExitStatus.h).

#include "dispatch/Deadlines.h"

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace zolbin {

struct Session;

class ZolbinSend final
{
public:
    // session: what the run works with, moved to the data folder the arguments name (UseFolder). in: the
    // message when no words are given. out: --help, --version and --list. err: the progress of the send,
    // messages and errors.
    ZolbinSend(Session& session, std::istream& in, std::ostream& out, std::ostream& err);

    // arguments: everything after the program's name. The current directory is never changed.
    int Run(const std::vector<std::string>& arguments);

    // The deadlines of the sends' waits (tests shorten them).
    void SetDeadlines(const SendDeadlines& deadlines) { deadlines_ = deadlines; }

private:
    Session& session_;
    std::istream& in_;
    std::ostream& out_;
    std::ostream& err_;
    SendDeadlines deadlines_;
};

} // namespace zolbin
