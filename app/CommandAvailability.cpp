// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandAvailability.h"

#include <algorithm>
#include <iterator>

namespace zolbin {

namespace {

enum class Needs
{
    Nothing,         // always available
    NoSend,          // deletes what a send writes (the journal, the archives)
    Recipient,       // the editor: a recipient
    Service,         // the service functions of the recipient
    ServiceButton,   // the same, unless the recipient's own dialog offers them
    Paste,           // one paste allowed
    SubscribersPage, // the number sort: the subscribers page
};

struct Rule
{
    const char* control;
    Needs needs;
};

// A send works on what it took when Send was pressed, so the window stays free while it runs: only the
// deletion of the journal and of the archives, which the send writes, waits until it is over.
constexpr Rule Rules[] = {
    {"btnSend", Needs::Nothing},
    {"btnUnlisted", Needs::Nothing},
    {"btnLater", Needs::ServiceButton},
    {"btnNoShort", Needs::Nothing},
    {"btnClear", Needs::Nothing},
    {"btnCopy", Needs::Nothing},
    {"btnCut", Needs::Nothing},
    {"btnPaste", Needs::Paste},
    {"btnUndo", Needs::Nothing},
    {"btnAbonent", Needs::Nothing},
    {"btnGroup", Needs::Nothing},
    {"btnProvider", Needs::Nothing},
    {"btnArchive", Needs::Nothing},
    {"btnDelArch", Needs::NoSend},
    {"btnQueue", Needs::Nothing},
    {"btnNameSort", Needs::Nothing},
    {"btnPrev", Needs::Nothing},
    {"btnNext", Needs::Nothing},
    {"btnNumberSort", Needs::SubscribersPage},
    {"btnHelp", Needs::Nothing},
    {"btnExit", Needs::Nothing},

    {"LogItem", Needs::Nothing},
    {"N4", Needs::Nothing},
    {"LaterItem", Needs::Service},
    {"NoShortItem", Needs::Nothing},
    {"ExitItem", Needs::Nothing},
    {"N1", Needs::Nothing},
    {"N7", Needs::Nothing},
    {"N8", Needs::Nothing},
    {"PasteItem", Needs::Paste},
    {"UndoItem", Needs::Nothing},
    {"BigFontItem", Needs::Nothing},
    {"SmallFontItem", Needs::Nothing},
    {"DefFontItem", Needs::Nothing},
    {"N12", Needs::Nothing},
    {"N13", Needs::NoSend},
    {"QueueItem", Needs::Nothing},
    {"N15", Needs::Nothing},
    {"N5", Needs::NoSend},
    {"AbItem", Needs::Nothing},
    {"GrItem", Needs::Nothing},
    {"PrvItem", Needs::Nothing},
    {"NameSortItem", Needs::Nothing},
    {"PrevItem", Needs::Nothing},
    {"NextItem", Needs::Nothing},
    {"NumberSortItem", Needs::SubscribersPage},
    {"OptItem", Needs::Nothing},
    {"CntItem", Needs::Nothing},
    {"SmileItem", Needs::Nothing},
    {"AboutItem", Needs::Nothing},

    {"lbAbonent", Needs::Nothing},
    {"lbGroup", Needs::Nothing},
    {"RichEdit", Needs::Recipient},
};

bool met(Needs needs, const WindowState& s)
{
    switch (needs) {
    case Needs::Recipient:
        return s.recipientChosen;
    case Needs::Service:
        return s.serviceOffered;
    case Needs::ServiceButton:
        return s.serviceOffered && !s.serviceInDialog;
    case Needs::Paste:
        return s.pasteAllowed;
    case Needs::SubscribersPage:
        return s.subscribersPage;
    case Needs::NoSend:
        return !s.sending;
    case Needs::Nothing:
        break;
    }
    return true;
}

} // namespace

const std::vector<std::string>& CommandControls()
{
    static const std::vector<std::string> names = [] {
        std::vector<std::string> all;
        for (const Rule& rule : Rules)
            all.emplace_back(rule.control);
        return all;
    }();
    return names;
}

std::set<std::string> AvailableControls(const WindowState& state)
{
    std::set<std::string> available;
    for (const Rule& rule : Rules)
        if (met(rule.needs, state))
            available.emplace(rule.control);
    return available;
}

bool IsAvailable(const std::string& control, const WindowState& state)
{
    const auto* rule =
        std::find_if(std::begin(Rules), std::end(Rules), [&](const Rule& r) { return control == r.control; });
    return rule != std::end(Rules) && met(rule->needs, state);
}

} // namespace zolbin
