// SPDX-License-Identifier: GPL-3.0-or-later
#include "intake/AlertText.h"

#include "platform/Codepage.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStringList>
#include <algorithm>
#include <vector>

namespace zolbin {

namespace {

// A label or an annotation as one line of cp1251: control characters and runs of blanks become one blank.
std::string oneLine(const QString& value)
{
    QString line;
    line.reserve(value.size());
    for (const QChar c : value)
        line += c.isSpace() || c.category() == QChar::Other_Control ? QLatin1Char(' ') : c;
    return toCp1251(line.simplified());
}

std::string field(const QJsonObject& object, const char* group, const char* name)
{
    return oneLine(object.value(QLatin1String(group)).toObject().value(QLatin1String(name)).toString());
}

void addOnce(std::vector<std::string>& list, const std::string& value)
{
    if (!value.empty() && std::find(list.begin(), list.end(), value) == list.end())
        list.push_back(value);
}

std::string joined(const std::vector<std::string>& items, std::size_t count, const char* separator)
{
    std::string out;
    for (std::size_t i = 0; i < count && i < items.size(); ++i)
        out += (i > 0 ? separator : "") + items[i];
    return out;
}

// The instances part: the first `shown` named, the others counted.
std::string instancesPart(const std::vector<std::string>& instances, std::size_t shown)
{
    if (instances.empty())
        return {};
    std::string part = " - " + joined(instances, shown, ", ");
    if (shown < instances.size())
        part += (shown > 0 ? " +" : "+") + std::to_string(instances.size() - shown);
    return part;
}

std::string composed(const std::string& head, const std::string& summary,
                     const std::vector<std::string>& instances, std::size_t limit)
{
    const auto fits = [limit](const std::string& text) { return text.size() <= limit; };
    const std::string withSummary = summary.empty() ? head : head + ": " + summary;
    for (std::size_t shown = instances.size(); shown > 0; --shown)
        if (const std::string text = withSummary + instancesPart(instances, shown); fits(text))
            return text;
    const std::string counted = instancesPart(instances, instances.empty() ? 0 : 1);
    if (const std::string text = withSummary + counted; fits(text))
        return text;
    const std::size_t fixed = head.size() + 2 + counted.size() + 3;
    if (!summary.empty() && fixed + 8 <= limit) {
        std::string cut = summary.substr(0, limit - fixed);
        if (const std::size_t blank = cut.rfind(' '); blank != std::string::npos && blank >= cut.size() / 2)
            cut.resize(blank); // at a word's end when one is near
        return head + ": " + cut + "..." + counted;
    }
    const std::string text = head + counted;
    return text.substr(0, limit);
}

} // namespace

std::optional<AlertNotification> ReadAlertNotification(const QJsonObject& body, std::size_t limit)
{
    const QString status = body.value(QLatin1String("status")).toString().toLower();
    const QJsonArray alerts = body.value(QLatin1String("alerts")).toArray();
    if ((status != QLatin1String("firing") && status != QLatin1String("resolved")) || alerts.isEmpty())
        return std::nullopt;
    const bool firing = status == QLatin1String("firing");
    std::vector<QJsonObject> told; // the alerts the page speaks of: the firing ones of a firing notification
    for (const QJsonValue alert : alerts)
        if (!firing || alert.toObject().value(QLatin1String("status")).toString() == QLatin1String("firing"))
            told.push_back(alert.toObject());
    if (told.empty())
        for (const QJsonValue alert : alerts)
            told.push_back(alert.toObject());

    std::string name = field(body, "commonLabels", "alertname");
    std::vector<std::string> names;
    std::vector<std::string> instances;
    std::string summary = field(body, "commonAnnotations", "summary");
    for (const QJsonObject& alert : told) {
        addOnce(names, field(alert, "labels", "alertname"));
        addOnce(instances, field(alert, "labels", "instance"));
        if (summary.empty())
            summary = field(alert, "annotations", "summary");
    }
    if (name.empty())
        name = joined(names, names.size(), ", ");
    if (summary.empty())
        for (const QJsonObject& alert : told)
            if (summary.empty())
                summary = field(alert, "annotations", "description");
    const std::string head =
        (firing ? "[FIRING:" + std::to_string(told.size()) + "]" : std::string("[RESOLVED]")) +
        (name.empty() ? std::string() : " " + name);

    // Sent again, a notification carries the same group, status and alerts (the end of a firing alert is
    // moved forward at every sending, so it is left out).
    QStringList signature;
    for (const QJsonValue value : alerts) {
        const QJsonObject alert = value.toObject();
        QString id = alert.value(QLatin1String("fingerprint")).toString();
        if (id.isEmpty())
            id = QString::fromUtf8(QJsonDocument(alert.value(QLatin1String("labels")).toObject())
                                       .toJson(QJsonDocument::Compact));
        signature << id + QLatin1Char('|') + alert.value(QLatin1String("status")).toString() +
                         QLatin1Char('|') + alert.value(QLatin1String("startsAt")).toString();
    }
    signature.sort();
    signature.prepend(status);
    signature.prepend(body.value(QLatin1String("groupKey")).toString());
    AlertNotification notification;
    notification.text = composed(head, summary, instances, limit);
    notification.repeatKey =
        QCryptographicHash::hash(signature.join(QLatin1Char('\n')).toUtf8(), QCryptographicHash::Sha256)
            .toHex()
            .toStdString();
    notification.source = body.contains(QLatin1String("orgId")) ? "grafana" : "alertmanager";
    return notification;
}

} // namespace zolbin
