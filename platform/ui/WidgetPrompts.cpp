// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/WidgetPrompts.h"

#include "platform/Codepage.h"
#include "platform/Prompts.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace zolbin {

namespace {

QMessageBox::Icon boxIcon(PromptIcon icon)
{
    switch (icon) {
    case PromptIcon::Information:
        return QMessageBox::Information;
    case PromptIcon::Warning:
        return QMessageBox::Warning;
    case PromptIcon::Stop:
        return QMessageBox::Critical;
    case PromptIcon::Question:
        return QMessageBox::Question;
    case PromptIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

bool showBox(const PromptRequest& request)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(request.caption);
    // Plain text: a name or a server reply holding "<" is shown as it is, never as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(request.text);
    box.setIcon(boxIcon(request.icon));
    if (request.kind != PromptKind::YesNo) {
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return false;
    }
    QPushButton* yes = box.addButton(QCoreApplication::translate("Prompts", "&Да"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QCoreApplication::translate("Prompts", "&Нет"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

} // namespace

void installWidgetPrompts()
{
    Prompts::setResponder(showBox);
}

} // namespace zolbin
