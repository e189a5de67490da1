// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The company dialog's panel of the SMS gateway: the number pattern that makes a phone number of a pager
// number, kept in the record's "TapPhone" field, and its check when the company is stored; and the button
// "Линия GSM…" to the modem's line and the SIM's PIN, whose dialog the host opens.

#include <QString>
#include <string>

class QGroupBox;
class QLineEdit;
class QPushButton;

namespace zolbin {

// The panel, with its pattern field and its button to the GSM line (returned in `pattern`, `gsmLine`).
QGroupBox* NewSmsPanel(QLineEdit*& pattern, QPushButton*& gsmLine);

// The refusal of OK for an SMS company, empty when it may be stored.
QString SmsPanelRefusal(const std::string& name, const std::string& pattern);

} // namespace zolbin
