// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A notification of Prometheus Alertmanager's webhook (version "4") or of Grafana's webhook contact point
// as one short page: it begins as Alertmanager's own subjects do, "[FIRING:2]" (the alerts firing) or
// "[RESOLVED]", then the alert's name, its summary and the instances, on one line within the limit. When
// many alerts fire the first instances are named and the others counted ("db1, db2 +7"); a summary too long
// for the rest is cut at a word's end ("...").

#include <QJsonObject>
#include <cstddef>
#include <optional>
#include <string>

namespace zolbin {

struct AlertNotification
{
    std::string text;      // cp1251, one line, within the limit
    std::string repeatKey; // the same for the notification sent again (group, status and the alerts)
    std::string source;    // "alertmanager" or "grafana"
};

// Nothing when the body is no such notification (no status "firing" or "resolved", no alerts).
std::optional<AlertNotification> ReadAlertNotification(const QJsonObject& body, std::size_t limit);

} // namespace zolbin
