// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The WCTP panel of the paging company dialog: the carrier's URL, the sender ID, the security code and
// the recipient pattern. The record keeps them in fields of the other gateways (directory/WctpFields.h),
// so the panel reads and writes them only for a WCTP company.

#include "directory/WctpFields.h"

#include <QGroupBox>

class QLineEdit;

namespace zolbin {

class TWctpPanel final : public QGroupBox
{
    Q_OBJECT
public:
    explicit TWctpPanel(QWidget* parent = nullptr);

    WctpFields Fields() const;
    void SetFields(const WctpFields& fields);
    void Clear();

    QLineEdit* EditWctpUrl = nullptr;
    QLineEdit* EditWctpSender = nullptr;
    QLineEdit* EditWctpCode = nullptr;
    QLineEdit* EditWctpPattern = nullptr;
};

} // namespace zolbin
