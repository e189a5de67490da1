// SPDX-License-Identifier: GPL-3.0-or-later
// The WCTP documents and the company's fields: the request read back by the test carrier's own reading,
// the confirmations a carrier gives, the recipient pattern and the URL check.

#include "dispatch/WctpDocument.h"

#include "directory/WctpFields.h"
#include "tests/support/WctpServer.h"

#include <gtest/gtest.h>

namespace zolbin::test {

namespace {

WctpSubmit sample()
{
    WctpSubmit s;
    s.senderId = "ops<&>\"desk\"";
    s.securityCode = "s3cr3t";
    s.messageId = "0123456789abcdef0123456789abcdef";
    s.recipientId = "0000042";
    s.text = "Алиса: <срочно> & \"быстро\" ]]> ";
    s.submitted = QDateTime(QDate(2026, 12, 7), QTime(9, 30), Qt::UTC);
    return s;
}

} // namespace

TEST(WctpDocumentTest, RequestIsAValidSubmitWhoseValuesReadBackUnchanged)
{
    WctpSubmit submit = sample();
    submit.deliveryAfter = QDateTime(QDate(2026, 12, 31), QTime(23, 59), Qt::UTC);
    std::map<std::string, std::string> values;
    EXPECT_EQ(CheckWctpSubmit(WctpSubmitRequest(submit).toStdString(), values), "");
    EXPECT_EQ(values["senderID"], submit.senderId);
    EXPECT_EQ(values["securityCode"], submit.securityCode);
    EXPECT_EQ(values["messageID"], submit.messageId);
    EXPECT_EQ(values["recipientID"], submit.recipientId);
    EXPECT_EQ(values["text"], submit.text);
    EXPECT_EQ(values["submitTimestamp"], "2026-12-07T09:30:00");
    EXPECT_EQ(values["deliveryAfter"], "2026-12-31T23:59:00");
}

TEST(WctpDocumentTest, PageAtOnceHasNoDeliveryAfterAndTheJournalLinesHideTheSecrets)
{
    const WctpSubmit submit = sample();
    std::map<std::string, std::string> values;
    EXPECT_EQ(CheckWctpSubmit(WctpSubmitRequest(submit).toStdString(), values), "");
    EXPECT_EQ(values.count("deliveryAfter"), 0u);
    for (const std::string& line : WctpRequestEssentials(submit)) {
        EXPECT_EQ(line.find(submit.securityCode), std::string::npos) << line;
        EXPECT_EQ(line.find("срочно"), std::string::npos) << line;
    }
}

TEST(WctpDocumentTest, ConfirmationsAreReadByKindCodeAndText)
{
    struct Case
    {
        const char* document;
        WctpConfirmation::Kind kind;
        int code;
        const char* text;
    };
    using K = WctpConfirmation::Kind;
    const Case cases[] = {
        {"<wctp-Operation wctpVersion=\"wctp-dtd-v1r3\"><wctp-Confirmation><wctp-Success successCode=\"200\" "
         "successText=\"Accepted\"/></wctp-Confirmation></wctp-Operation>",
         K::Success, 200, "Accepted"},
        {"<?xml version=\"1.0\"?><wctp-Operation><wctp-Confirmation><wctp-Failure errorCode=\"403\" "
         "errorText=\"Нет &amp; такого\"/></wctp-Confirmation></wctp-Operation>",
         K::Failure, 403, "Нет & такого"},
        {"<wctp-Operation><wctp-Failure errorCode=\"604\">Busy</wctp-Failure></wctp-Operation>", K::Failure,
         604, "Busy"},
        {"<html><body>wctp-Success</body></html>", K::NotWctp, 0, ""},
        {"<wctp-Operation><wctp-Confirmation/></wctp-Operation>", K::NotWctp, 0, ""},
        {"<wctp-Operation><wctp-Success successCode=\"ok\"/></wctp-Operation>", K::NotWctp, 0, ""},
        // A WCTP document cut off or broken anywhere, after a whole success too.
        {"<wctp-Operation><wctp-Confirm", K::Malformed, 0, ""},
        {"<wctp-Operation><wctp-Success successCode=\"200\"/></wctp-Operation><junk", K::Malformed, 0, ""},
        {"", K::NotWctp, 0, ""},
    };
    for (const Case& c : cases) {
        const WctpConfirmation read = ParseWctpConfirmation(QByteArray(c.document));
        EXPECT_EQ(read.kind, c.kind) << c.document;
        EXPECT_EQ(read.code, c.code) << c.document;
        EXPECT_EQ(read.text, c.text) << c.document;
    }
}

TEST(WctpFieldsTest, PatternTakesTheNumberZeroPaddedAndUrlsMustBeHttp)
{
    EXPECT_EQ(WctpRecipientId("#######", 42), "0000042");
    EXPECT_EQ(WctpRecipientId("pg-##", 12345), "pg-12345");
    EXPECT_EQ(WctpRecipientId(" 7## ", 5), "705");
    EXPECT_EQ(WctpRecipientId("ward3", 5), "ward3");
    EXPECT_EQ(WctpRecipientId("   ", 5), "");
    EXPECT_TRUE(IsWctpUrl("https://wctp.example.net/wctp"));
    EXPECT_TRUE(IsWctpUrl("HTTP://10.0.0.5:8080/"));
    EXPECT_FALSE(IsWctpUrl("ftp://wctp.example.net/"));
    EXPECT_FALSE(IsWctpUrl("wctp.example.net/wctp"));
    EXPECT_FALSE(IsWctpUrl("https:///wctp"));
    EXPECT_FALSE(WctpFieldsProblem({"https://x.example/", "me", "", "   "}).empty());
    EXPECT_FALSE(WctpFieldsProblem({"mailto:x@example", "me", "", "#"}).empty());
    EXPECT_TRUE(WctpFieldsProblem({"https://x.example/", "me", "", "#"}).empty());
}

} // namespace zolbin::test
