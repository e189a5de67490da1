#pragma once
// zolbin-send: the window's Send command from a shell. Reads the directory and the settings of the data
// folder, sends the message through the same send command as the window (the same protocol lines,
// journal lines and archive entries) and answers with an exit status (cli/ExitStatus.h).

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace zolbin {

// arguments: everything after the program's name. in: the message when no words are given. out: --help,
// --version and --list. err: the progress of the send, messages and errors. The current directory is
// the same again on return.
int RunZolbinSend(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out,
                  std::ostream& err);

} // namespace zolbin
