// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Text between the terminal (UTF-8) and the program (cp1251), and the message as the window's editor
// would hold it.

#include <string>
#include <vector>

namespace zolbin {

// UTF-8 text from the command line or standard input -> cp1251. Throws CliError (usage), naming the
// place (what, UTF-8), for text that is not UTF-8, for a character cp1251 cannot hold, and for a control
// character other than the tab (it would end up inside a protocol line).
std::string FromTerminal(const std::string& utf8Text, const std::string& what);

// cp1251 text -> UTF-8 for the terminal: line ends at the end dropped, CR LF inside turned into line
// breaks, any other control character (an escape sequence from a server) shown as '?'.
std::string ToTerminal(const std::string& cp1251);

// The message as the editor holds it (cp1251).
struct MessageText
{
    std::string text;               // the whole text, its lines joined by CR LF
    std::vector<std::string> lines; // the lines as the page sends them (a final empty line not counted)

    // The length as the window counts it: every character one, every line break two.
    int length() const { return static_cast<int>(text.size()); }
};

// The words joined by single spaces: one line.
MessageText MessageFromWords(const std::vector<std::string>& words);

// Standard input: every line (LF or CR LF) is a line of the message; the line end of the last line is
// its end, not an empty line after it.
MessageText MessageFromInput(const std::string& utf8Input);

} // namespace zolbin
