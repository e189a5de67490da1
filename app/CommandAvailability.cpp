// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandAvailability.h"

#include <algorithm>
#include <iterator>

namespace zolbin {

namespace {

enum class Needs
{
    Nothing,         // always available
    NoSend,          // changes what a send reads (recipient, text, directory, settings, journal, archives)
    Recipient,       // the editor: a recipient, and no send
    Service,         // the service functions of the recipient, and no send
    ServiceButton,   // the same, unless the recipient's own dialog offers them
    Paste,           // one paste allowed, and no send
    SubscribersPage, // the number sort: the subscribers page, and no send
};

struct Rule
{
    const char* control;
    Needs needs;
};

// What only reads (copy, the viewers, help, the font, the signature toggle) stays available during a send.
constexpr Rule Rules[] = {
    {"btnSend", Needs::NoSend},
    {"btnUnlisted", Needs::NoSend},
    {"btnLater", Needs::ServiceButton},
    {"btnNoShort", Needs::Nothing},
    {"btnClear", Needs::NoSend},
    {"btnCopy", Needs::Nothing},
    {"btnCut", Needs::NoSend},
    {"btnPaste", Needs::Paste},
    {"btnUndo", Needs::NoSend},
    {"btnAbonent", Needs::NoSend},
    {"btnGroup", Needs::NoSend},
    {"btnProvider", Needs::NoSend},
    {"btnArchive", Needs::Nothing},
    {"btnDelArch", Needs::NoSend},
    {"btnNameSort", Needs::NoSend},
    {"btnPrev", Needs::NoSend},
    {"btnNext", Needs::NoSend},
    {"btnNumberSort", Needs::SubscribersPage},
    {"btnHelp", Needs::Nothing},
    {"btnExit", Needs::Nothing},

    {"LogItem", Needs::NoSend},
    {"N4", Needs::NoSend},
    {"LaterItem", Needs::Service},
    {"NoShortItem", Needs::Nothing},
    {"ExitItem", Needs::Nothing},
    {"N1", Needs::NoSend},
    {"N7", Needs::Nothing},
    {"N8", Needs::NoSend},
    {"PasteItem", Needs::Paste},
    {"UndoItem", Needs::NoSend},
    {"BigFontItem", Needs::Nothing},
    {"SmallFontItem", Needs::Nothing},
    {"DefFontItem", Needs::Nothing},
    {"N12", Needs::Nothing},
    {"N13", Needs::NoSend},
    {"N15", Needs::Nothing},
    {"N5", Needs::NoSend},
    {"AbItem", Needs::NoSend},
    {"GrItem", Needs::NoSend},
    {"PrvItem", Needs::NoSend},
    {"NameSortItem", Needs::NoSend},
    {"PrevItem", Needs::NoSend},
    {"NextItem", Needs::NoSend},
    {"NumberSortItem", Needs::SubscribersPage},
    {"OptItem", Needs::NoSend},
    {"CntItem", Needs::Nothing},
    {"SmileItem", Needs::Nothing},
    {"AboutItem", Needs::Nothing},

    {"lbAbonent", Needs::NoSend},
    {"lbGroup", Needs::NoSend},
    {"RichEdit", Needs::Recipient},
};

bool met(Needs needs, const WindowState& s)
{
    if (needs == Needs::Nothing)
        return true;
    if (s.sending)
        return false;
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
    case Needs::Nothing:
    case Needs::NoSend:
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
