// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The WCTP 1.3 documents of one page: the submit request posted to the carrier and the confirmation it
// answers with. Both are written and read by Qt's XML stream classes, never pieced together as text.

#include <QByteArray>
#include <QDateTime>
#include <string>
#include <vector>

namespace zolbin {

struct WctpSubmit
{
    std::string senderId;     // UTF-8
    std::string securityCode; // UTF-8; empty = the attribute is left out
    std::string messageId;    // unique per request
    std::string recipientId;  // UTF-8
    std::string text;         // UTF-8: the signature and the text as SNPP sends them
    QDateTime submitted;
    QDateTime deliveryAfter; // invalid = at once
};

// The wctp-Operation document, UTF-8 XML.
QByteArray WctpSubmitRequest(const WctpSubmit& submit);

// What the journal shows of the request (UTF-8 lines, the security code as "***", the text not at all).
std::vector<std::string> WctpRequestEssentials(const WctpSubmit& submit);

// WCTP timestamps: "yyyy-MM-ddTHH:mm:ss" in UTC.
std::string WctpTimestamp(const QDateTime& moment);

struct WctpConfirmation
{
    enum class Kind
    {
        Success,
        Failure,
        NotWctp,  // not a WCTP document, or one without a success or a failure
        Malformed // a WCTP document that is not well-formed to its end (cut off, broken)
    };
    Kind kind = Kind::NotWctp;
    int code = 0;
    std::string text; // UTF-8, the carrier's successText or errorText
};

WctpConfirmation ParseWctpConfirmation(const QByteArray& document);

// A carrier's refusal with this code passes (busy, out of resources: 5xx, 6xx); others are final.
bool IsPassingWctpCode(int code);

} // namespace zolbin
