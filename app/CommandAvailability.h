// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's commands and which of them the operator can reach, decided in one place from the
// window's state. Each command is one action: its menu item, its tool button (if it has one) and its
// shortcut. Beside the commands the rule decides two controls: the message editor, which takes text
// only for a recipient, and the tool button of the service functions, which can be off while their
// menu item is on.

#include <array>
#include <cstddef>

namespace zolbin {

enum class Command
{
    // Menu "Сообщение".
    Send,
    Unlisted,     // the unregistered subscriber dialog
    Service,      // the service functions (deferral and repeats)
    SignatureOff, // the toggle that sends without the signature
    Exit,
    // Menu "Редактирование".
    ClearEditor,
    Copy,
    Cut,
    Paste,
    Undo,
    LargerFont,
    SmallerFont,
    StoreFontSize,
    // Menu "Архив".
    Archive,
    DeleteArchives,
    Queue,
    Journal,
    DeleteJournal,
    // Menu "Конфигурация".
    Subscribers,
    Groups,
    Companies,
    SortByName,
    MoveUp,
    MoveDown,
    SortByNumber,
    Settings,
    // Menu "Помощь".
    Help,
    Notice, // "Зарегистрируйся!"
    About,
};

inline constexpr std::size_t CommandCount = static_cast<std::size_t>(Command::About) + 1;

// Every command in menu order.
const std::array<Command, CommandCount>& AllCommands();

// The command's name in the program's code ("Send", "DeleteArchives"): the action's object name.
const char* CommandName(Command command);

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
    // The directory can be changed: not while the desk joins the room's directory (a change then would
    // have no version of the room's to be made on).
    bool directoryReady = true;
};

struct Availability final
{
    std::array<bool, CommandCount> commands{};
    bool serviceButton = false; // the tool button of Command::Service
    bool editor = false;        // the message editor takes text

    bool operator[](Command command) const { return commands[static_cast<std::size_t>(command)]; }
};

// What the state makes available.
Availability AvailableCommands(const WindowState& state);

// Whether one command is available in the state.
bool IsAvailable(Command command, const WindowState& state);

} // namespace zolbin
