// SPDX-License-Identifier: GPL-3.0-or-later
// The availability of the main window's commands: for each state of the window, the commands that are
// off, and the two controls the rule decides beside them. Every command not listed is on.

#include "app/CommandAvailability.h"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace zolbin {
namespace {

struct Case
{
    const char* what;
    WindowState state;
    std::set<Command> off;
    bool serviceButton;
    bool editor;
};

TEST(CommandAvailability, EachStateTurnsOffExactlyItsCommands)
{
    using C = Command;
    const std::vector<Case> cases = {
        {"at start", {}, {C::Service, C::Paste}, false, false},
        {"a subscriber whose company has the service functions",
         {.recipientChosen = true, .serviceOffered = true},
         {C::Paste},
         true,
         true},
        {"a subscriber whose company has none",
         {.recipientChosen = true},
         {C::Service, C::Paste},
         false,
         true},
        {"an unregistered number after such a subscriber: the menu item on, the tool button off",
         {.recipientChosen = true, .serviceOffered = true, .serviceInDialog = true},
         {C::Paste},
         false,
         true},
        {"a copy made, the groups page shown",
         {.pasteAllowed = true, .subscribersPage = false},
         {C::Service, C::SortByNumber},
         false,
         false},
        {"the room's directory being joined",
         {.directoryReady = false},
         {C::Service, C::Paste, C::Subscribers, C::Groups, C::Companies, C::SortByName, C::MoveUp,
          C::MoveDown, C::SortByNumber},
         false,
         false},
        {"a send, with everything else on",
         {.sending = true, .recipientChosen = true, .serviceOffered = true, .pasteAllowed = true},
         {C::DeleteArchives, C::DeleteJournal},
         true,
         true},
    };

    std::set<std::string> names;
    for (Command command : AllCommands())
        names.insert(CommandName(command));
    EXPECT_EQ(names.size(), 29u) << "the 29 menu items, each a command of its own name";
    for (const Case& c : cases) {
        const Availability available = AvailableCommands(c.state);
        for (Command command : AllCommands()) {
            EXPECT_EQ(available[command], c.off.count(command) == 0)
                << c.what << ": " << CommandName(command);
            EXPECT_EQ(IsAvailable(command, c.state), available[command])
                << c.what << ": " << CommandName(command);
        }
        EXPECT_EQ(available.serviceButton, c.serviceButton) << c.what;
        EXPECT_EQ(available.editor, c.editor) << c.what;
    }
}

} // namespace
} // namespace zolbin
