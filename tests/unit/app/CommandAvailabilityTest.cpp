// SPDX-License-Identifier: GPL-3.0-or-later
// The availability of the main window's commands: for each state of the window, the controls that are
// off. Everything the rule decides and is not listed is on.

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
    std::set<std::string> off;
};

TEST(CommandAvailability, EachStateTurnsOffExactlyItsCommands)
{
    const std::set<std::string> service = {"btnLater", "LaterItem"};
    const std::set<std::string> paste = {"btnPaste", "PasteItem"};
    auto with = [](std::set<std::string> a, const std::set<std::string>& b) {
        a.insert(b.begin(), b.end());
        return a;
    };
    const std::vector<Case> cases = {
        {"at start", {}, with(with(service, paste), {"RichEdit"})},
        {"a subscriber whose company has the service functions",
         {.recipientChosen = true, .serviceOffered = true},
         paste},
        {"a subscriber whose company has none", {.recipientChosen = true}, with(service, paste)},
        {"an unregistered number after such a subscriber",
         {.recipientChosen = true, .serviceOffered = true, .serviceInDialog = true},
         with(paste, {"btnLater"})},
        {"a copy made, the groups page shown",
         {.pasteAllowed = true, .subscribersPage = false},
         with(service, {"RichEdit", "btnNumberSort", "NumberSortItem"})},
        {"a send, with everything else on",
         {.sending = true, .recipientChosen = true, .serviceOffered = true, .pasteAllowed = true},
         {"btnDelArch", "N13", "N5"}},
    };

    EXPECT_EQ(std::set<std::string>(CommandControls().begin(), CommandControls().end()).size(), 53u)
        << "21 tool buttons, 29 menu items, the two lists and the editor, each once";
    for (const Case& c : cases) {
        const std::set<std::string> available = AvailableControls(c.state);
        for (const std::string& name : CommandControls()) {
            EXPECT_EQ(available.count(name) == 0, c.off.count(name) == 1) << c.what << ": " << name;
            EXPECT_EQ(IsAvailable(name, c.state), available.count(name) == 1) << c.what << ": " << name;
        }
        for (const std::string& name : c.off)
            EXPECT_EQ(available.count(name), 0u) << c.what << ": " << name << " is no command of the rule";
    }
    EXPECT_FALSE(IsAvailable("btnNoSuchCommand", {}));
}

} // namespace
} // namespace zolbin
