// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandAvailability.h"

#include <iterator>

namespace zolbin {

namespace {

enum class Needs
{
    Nothing,         // always available
    NoSend,          // deletes what a send writes (the journal, the archives)
    Service,         // the service functions of the recipient
    Paste,           // one paste allowed
    SubscribersPage, // the number sort: the subscribers page, and the directory ready
    Directory,       // changes the directory
};

struct Rule
{
    Command command;
    const char* name;
    Needs needs;
};

// A send works on what it took when Send was pressed, so the window stays free while it runs: only the
// deletion of the journal and of the archives, which the send writes, waits until it is over.
constexpr Rule Rules[] = {
    {Command::Send, "Send", Needs::Nothing},
    {Command::Unlisted, "Unlisted", Needs::Nothing},
    {Command::Service, "Service", Needs::Service},
    {Command::SignatureOff, "SignatureOff", Needs::Nothing},
    {Command::Exit, "Exit", Needs::Nothing},
    {Command::ClearEditor, "ClearEditor", Needs::Nothing},
    {Command::Copy, "Copy", Needs::Nothing},
    {Command::Cut, "Cut", Needs::Nothing},
    {Command::Paste, "Paste", Needs::Paste},
    {Command::Undo, "Undo", Needs::Nothing},
    {Command::LargerFont, "LargerFont", Needs::Nothing},
    {Command::SmallerFont, "SmallerFont", Needs::Nothing},
    {Command::StoreFontSize, "StoreFontSize", Needs::Nothing},
    {Command::Archive, "Archive", Needs::Nothing},
    {Command::DeleteArchives, "DeleteArchives", Needs::NoSend},
    {Command::Queue, "Queue", Needs::Nothing},
    {Command::Journal, "Journal", Needs::Nothing},
    {Command::DeleteJournal, "DeleteJournal", Needs::NoSend},
    {Command::Subscribers, "Subscribers", Needs::Directory},
    {Command::Groups, "Groups", Needs::Directory},
    {Command::Companies, "Companies", Needs::Directory},
    {Command::SortByName, "SortByName", Needs::Directory},
    {Command::MoveUp, "MoveUp", Needs::Directory},
    {Command::MoveDown, "MoveDown", Needs::Directory},
    {Command::SortByNumber, "SortByNumber", Needs::SubscribersPage},
    {Command::Settings, "Settings", Needs::Nothing},
    {Command::Help, "Help", Needs::Nothing},
    {Command::Notice, "Notice", Needs::Nothing},
    {Command::About, "About", Needs::Nothing},
};
static_assert(std::size(Rules) == CommandCount, "one rule per command");

constexpr bool inEnumOrder()
{
    for (std::size_t i = 0; i < CommandCount; ++i)
        if (static_cast<std::size_t>(Rules[i].command) != i)
            return false;
    return true;
}
static_assert(inEnumOrder(), "the rules follow the commands' order");

bool met(Needs needs, const WindowState& s)
{
    switch (needs) {
    case Needs::Service:
        return s.serviceOffered;
    case Needs::Paste:
        return s.pasteAllowed;
    case Needs::SubscribersPage:
        return s.subscribersPage && s.directoryReady;
    case Needs::Directory:
        return s.directoryReady;
    case Needs::NoSend:
        return !s.sending;
    case Needs::Nothing:
        break;
    }
    return true;
}

const Rule& ruleOf(Command command)
{
    return Rules[static_cast<std::size_t>(command)];
}

} // namespace

const std::array<Command, CommandCount>& AllCommands()
{
    static const std::array<Command, CommandCount> all = [] {
        std::array<Command, CommandCount> commands{};
        for (std::size_t i = 0; i < CommandCount; ++i)
            commands[i] = Rules[i].command;
        return commands;
    }();
    return all;
}

const char* CommandName(Command command)
{
    return ruleOf(command).name;
}

Availability AvailableCommands(const WindowState& state)
{
    Availability available;
    for (const Rule& rule : Rules)
        available.commands[static_cast<std::size_t>(rule.command)] = met(rule.needs, state);
    available.serviceButton = available[Command::Service] && !state.serviceInDialog;
    available.editor = state.recipientChosen;
    return available;
}

bool IsAvailable(Command command, const WindowState& state)
{
    return met(ruleOf(command).needs, state);
}

} // namespace zolbin
