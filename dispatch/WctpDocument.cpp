// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispatch/WctpDocument.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace zolbin {

namespace {

QString text(const std::string& utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string utf8Of(QStringView view)
{
    return view.toString().toStdString();
}

} // namespace

std::string WctpTimestamp(const QDateTime& moment)
{
    return moment.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")).toStdString();
}

QByteArray WctpSubmitRequest(const WctpSubmit& submit)
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.writeStartDocument();
    xml.writeDTD(
        QStringLiteral("<!DOCTYPE wctp-Operation SYSTEM \"http://dtd.wctp.org/wctp-dtd-v1r3.dtd\">"));
    xml.writeStartElement(QStringLiteral("wctp-Operation"));
    xml.writeAttribute(QStringLiteral("wctpVersion"), QStringLiteral("wctp-dtd-v1r3"));
    xml.writeStartElement(QStringLiteral("wctp-SubmitRequest"));
    xml.writeStartElement(QStringLiteral("wctp-SubmitHeader"));
    xml.writeAttribute(QStringLiteral("submitTimestamp"), text(WctpTimestamp(submit.submitted)));

    xml.writeEmptyElement(QStringLiteral("wctp-Originator"));
    xml.writeAttribute(QStringLiteral("senderID"), text(submit.senderId));
    if (!submit.securityCode.empty())
        xml.writeAttribute(QStringLiteral("securityCode"), text(submit.securityCode));

    xml.writeEmptyElement(QStringLiteral("wctp-MessageControl"));
    xml.writeAttribute(QStringLiteral("messageID"), text(submit.messageId));
    if (submit.deliveryAfter.isValid())
        xml.writeAttribute(QStringLiteral("deliveryAfter"), text(WctpTimestamp(submit.deliveryAfter)));

    xml.writeEmptyElement(QStringLiteral("wctp-Recipient"));
    xml.writeAttribute(QStringLiteral("recipientID"), text(submit.recipientId));
    xml.writeEndElement(); // wctp-SubmitHeader

    xml.writeStartElement(QStringLiteral("wctp-Payload"));
    xml.writeTextElement(QStringLiteral("wctp-Alphanumeric"), text(submit.text));
    xml.writeEndElement(); // wctp-Payload
    xml.writeEndElement(); // wctp-SubmitRequest
    xml.writeEndElement(); // wctp-Operation
    xml.writeEndDocument();
    return out;
}

std::vector<std::string> WctpRequestEssentials(const WctpSubmit& submit)
{
    std::string control = "wctp-MessageControl messageID=\"" + submit.messageId + "\"";
    if (submit.deliveryAfter.isValid())
        control += " deliveryAfter=\"" + WctpTimestamp(submit.deliveryAfter) + "\"";
    std::string originator = "wctp-Originator senderID=\"" + submit.senderId + "\"";
    if (!submit.securityCode.empty())
        originator += " securityCode=\"***\"";
    return {"wctp-SubmitHeader submitTimestamp=\"" + WctpTimestamp(submit.submitted) + "\"", originator,
            control, "wctp-Recipient recipientID=\"" + submit.recipientId + "\"", "wctp-Alphanumeric ***"};
}

WctpConfirmation ParseWctpConfirmation(const QByteArray& document)
{
    QXmlStreamReader xml(document);
    bool root = true;
    WctpConfirmation found;
    bool decided = false;
    while (!xml.atEnd() && !decided) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QStringView name = xml.name();
        if (root) {
            if (name != QLatin1String("wctp-Operation"))
                return {};
            root = false;
            continue;
        }
        const bool success = name == QLatin1String("wctp-Success");
        if (!success && name != QLatin1String("wctp-Failure"))
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        bool number = false;
        found.code = attributes.value(success ? QLatin1String("successCode") : QLatin1String("errorCode"))
                         .toInt(&number);
        if (!number)
            return {};
        found.kind = success ? WctpConfirmation::Kind::Success : WctpConfirmation::Kind::Failure;
        found.text =
            utf8Of(attributes.value(success ? QLatin1String("successText") : QLatin1String("errorText")));
        if (found.text.empty())
            found.text = utf8Of(xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed());
        decided = true;
    }
    // What follows the confirmation must be well-formed too: a document broken anywhere says nothing sure.
    while (!xml.atEnd())
        xml.readNext();
    if (xml.hasError() && !root)
        return {WctpConfirmation::Kind::Malformed, 0, {}};
    return decided ? found : WctpConfirmation{};
}

bool IsPassingWctpCode(int code)
{
    return code >= 500 && code < 700;
}

} // namespace zolbin
