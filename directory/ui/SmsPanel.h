// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The company dialog's panel of the SMS gateway: the number pattern that makes a phone number of a pager
// number, kept in the record's "TapPhone" field, and its check when the company is stored.

#include <string>

class QGroupBox;
class QLineEdit;

namespace zolbin {

// The panel, with its pattern field (returned in `pattern`).
QGroupBox* NewSmsPanel(QLineEdit*& pattern);

// The refusal of OK for an SMS company (cp1251), empty when it may be stored.
std::string SmsPanelRefusal(const std::string& name, const std::string& pattern);

} // namespace zolbin
