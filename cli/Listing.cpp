// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Listing.h"

#include "cli/ExitStatus.h"
#include "directory/TextChecks.h"
#include "platform/Codepage.h"

#include <QDateTime>

namespace zolbin {

namespace {

// A stored text as one field: control characters (a tab among them) would break the line or reach the
// terminal as commands, so each is written escaped; the one byte cp1251 leaves undefined shows as '?'.
std::string clean(const std::string& text)
{
    std::string shown = VisibleControls(text);
    for (char& c : shown)
        if (static_cast<unsigned char>(c) == 0x98)
            c = '?';
    return shown;
}

std::vector<std::string> subscriberLines(const TAbonentList& abonents)
{
    std::vector<std::string> lines = abonents.DisplayLines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const TAbonent& a = *abonents.Items(static_cast<int>(i));
        lines[i] = clean(lines[i]) + "\t" + clean(a.Provider.str()) + "\t" + std::to_string(a.MsgLen);
        if (a.Numeric == 1)
            lines[i] += cp("\tцифровой");
    }
    return lines;
}

std::vector<std::string> groupLines(const TGroupList& groups)
{
    std::vector<std::string> lines;
    for (const auto& group : groups) {
        std::string line = clean(group->Name.str()) + "\t";
        for (int i = 0; i < group->Members.Count(); ++i)
            line += (i > 0 ? ", " : "") + clean(group->Members.Items(i)->Name.str());
        lines.push_back(line);
    }
    return lines;
}

std::string companyLine(const TProvider& p)
{
    const std::string name = clean(p.Name.str());
    switch (p.Gate) {
    case Gate::SNPP:
        return name + "\tSNPP\t" + clean(p.SNPPSrv.str()) + "\t" + std::to_string(p.SNPPPort) + "\t" +
               clean(p.SNPPEnc.str());
    case Gate::SMTP:
        return name + "\tSMTP\t" + clean(p.SMTPEMail.str()) + "\t" + std::to_string(p.SMTPPort) + "\t" +
               clean(p.SMTPEnc.str());
    case Gate::TAP:
        return name + "\tTAP\t" + clean(p.TapPhone.str()) + "\t\t";
    case Gate::WCTP: // the URL; never the security code
        return name + "\tWCTP\t" + clean(p.SNPPSrv.str()) + "\t\t";
    case Gate::SMS:
        return name + "\tSMS\t" + clean(p.TapPhone.str()) + "\t\t";
    default:
        return name + cp("\tшлюз ") + std::to_string(p.Gate) + "\t\t\t";
    }
}

const char* stateName(PageState state)
{
    switch (state) {
    case PageState::Queued:
    case PageState::Moving: // still waiting, now for the shared outbox
        return "queued";
    case PageState::Sending:
        return "sending";
    case PageState::Sent:
        return "sent";
    case PageState::Waiting:
        return "waiting";
    case PageState::Failed:
        return "failed";
    case PageState::Unknown:
        return "unknown";
    case PageState::Cancelled:
        return "cancelled";
    }
    return "?";
}

std::string outboxLine(const OutboxPage& p)
{
    const std::string recipient =
        !p.params.CurName.empty() ? clean(p.params.CurName) : std::to_string(p.params.CurNumber);
    const bool waits = p.state == PageState::Queued || p.state == PageState::Waiting;
    const std::string next =
        waits ? QDateTime::fromMSecsSinceEpoch(p.nextAttemptMs, Qt::UTC).toString(Qt::ISODate).toStdString()
              : std::string();
    return clean(p.id) + "\t" + stateName(p.state) + "\t" + recipient + "\t" + clean(p.params.CurProvider) +
           "\t" + std::to_string(p.attempts) + "\t" + next + "\t" + clean(p.desk) + "\t" + clean(p.worker) +
           "\t" + clean(p.lastReply);
}

} // namespace

std::vector<std::string> OutboxLines(Outbox& outbox, std::int64_t sinceMs)
{
    const Result<std::vector<OutboxPage>> pages = outbox.Recent(sinceMs);
    if (!pages)
        throw FileError(pages.failure().shown().toStdString());
    std::vector<std::string> lines;
    lines.reserve(pages.value().size());
    for (const OutboxPage& page : pages.value())
        lines.push_back(utf8(outboxLine(page)));
    return lines;
}

std::vector<std::string> ListingLines(SendOptions::Listing listing, const Session& session)
{
    std::vector<std::string> lines;
    switch (listing) {
    case SendOptions::Listing::Subscribers:
        lines = subscriberLines(session.abonents);
        break;
    case SendOptions::Listing::Groups:
        lines = groupLines(session.groups);
        break;
    case SendOptions::Listing::Companies:
        for (const auto& company : session.providers)
            lines.push_back(companyLine(*company));
        break;
    case SendOptions::Listing::Outbox:
        break;
    }
    for (std::string& line : lines)
        line = utf8(line);
    return lines;
}

} // namespace zolbin
