// SPDX-License-Identifier: GPL-3.0-or-later
#include "directory/ui/SmsPanel.h"

#include "directory/Records.h"
#include "directory/SmsNumber.h"
#include "platform/Codepage.h"
#include "platform/ui/Cp1251Input.h"

#include <QCoreApplication>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace zolbin {

QGroupBox* NewSmsPanel(QLineEdit*& pattern, QPushButton*& gsmLine)
{
    auto* panel = new QGroupBox;
    panel->setObjectName(QStringLiteral("PanelSMS"));
    pattern = new QLineEdit;
    pattern->setObjectName(QStringLiteral("EditSmsPattern"));
    pattern->setMaxLength(static_cast<int>(decltype(TProvider::TapPhone)::size));
    keepCp1251(pattern);
    auto* label = new QLabel(QCoreApplication::translate("SmsPanel", "Шаблон &номера"));
    label->setBuddy(pattern);
    // How the pattern works, as the field's hint (a line of its own made the dialog too tall at scale 2).
    const QString hint =
        QCoreApplication::translate("SmsPanel", "«#» заменяются номером пейджера с нулями слева; "
                                                "без «#» номер дописывается в конец. Например: "
                                                "+7912#######");
    pattern->setToolTip(hint);
    pattern->setAccessibleDescription(hint);
    pattern->setPlaceholderText(QStringLiteral("+7912#######"));
    gsmLine = new QPushButton(QCoreApplication::translate("SmsPanel", "Лин&ия GSM…"));
    gsmLine->setObjectName(QStringLiteral("btnGsmLine"));
    gsmLine->setAutoDefault(false);
    gsmLine->setToolTip(
        QCoreApplication::translate("SmsPanel", "Устройство и скорость GSM-модема, PIN SIM-карты"));
    auto* form = new QFormLayout(panel);
    form->addRow(label, pattern);
    form->addRow(gsmLine);
    return panel;
}

QString SmsPanelRefusal(const std::string& name, const std::string& pattern)
{
    if (name.empty() || pattern.empty())
        return QCoreApplication::translate("SmsPanel", "Не заполнен один из параметров SMS (GSM-модем)");
    return SmsPatternRefusal(pattern).shown();
}

} // namespace zolbin
