// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which of the main window's commands the operator can reach, decided in one place from the window's
// state. Each command is named by its control's design name: the tool buttons and the menu items, the two
// recipient lists, and "RichEdit", the message editor, which is available when it takes text.

#include <set>
#include <string>
#include <vector>

namespace zolbin {

struct WindowState final
{
    // A send job runs (it works on its own copies; it writes the journal and the archives).
    bool sending = false;
    // A subscriber, a group with members or an unregistered number is the recipient.
    bool recipientChosen = false;
    // The recipient's company (every member's, for a group) offers the service functions.
    bool serviceOffered = false;
    // The recipient came from the unregistered subscriber dialog, which has its own service button: the
    // tool button is off, the menu item keeps the state the last ticked recipient gave it.
    bool serviceInDialog = false;
    // One paste is allowed after a copy, a cut or a block chosen from the archive.
    bool pasteAllowed = false;
    // The notebook shows the subscribers (groups have no number to sort by).
    bool subscribersPage = true;
};

// Every control the rule decides, tool bar first, then the menus, then the lists and the editor.
const std::vector<std::string>& CommandControls();

// The controls available in the state.
std::set<std::string> AvailableControls(const WindowState& state);

// Whether one control is available in the state; false for a name the rule does not know.
bool IsAvailable(const std::string& control, const WindowState& state);

} // namespace zolbin
