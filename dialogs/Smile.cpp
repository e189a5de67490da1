// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/About.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zolbin {

TfmSmile::TfmSmile(QWidget* parent) : TDialog(parent)
{
    setWindowTitle(QStringLiteral(":-)))"));
    // No system menu and so no close box: the notice is left by its button or by Esc.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    auto* text = new QLabel(tr("Zolbin Sender - бесплатная программа.\n\n"
                               "Регистрироваться не нужно и платить не за что: пользуйтесь ею "
                               "сколько захочется, копируйте и дарите знакомым.\n\n"
                               "Программа передаётся \"как есть\", без каких-либо гарантий.\n\n"
                               "Если она вам пригодилась - просто улыбнитесь :-)"));
    text->setWordWrap(true);
    text->setFixedWidth(300);

    btnOK = new QPushButton(tr("О&к"));
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    fixSize();
}

void TfmSmile::btnOKClick()
{
    accept();
}

bool TfmSmile::escapePressed()
{
    btnOKClick();
    return true;
}

} // namespace zolbin
