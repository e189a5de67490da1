// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/About.h"

#include "dialogs/NameLine.h"
#include "platform/ui/Pictures.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zolbin {

namespace {

// One credit line: the caption, then the name in bold.
void addCredit(QGridLayout* grid, int row, const QString& caption, const QString& name)
{
    auto* captionLabel = new QLabel(caption);
    auto* nameLabel = new QLabel(name);
    QFont bold = nameLabel->font();
    bold.setBold(true);
    nameLabel->setFont(bold);
    grid->addWidget(captionLabel, row, 0);
    grid->addWidget(nameLabel, row, 1);
}

} // namespace

TfmAbout::TfmAbout(QWidget* parent) : TDialog(parent)
{
    setWindowTitle(tr("О программе..."));
    // A dialog frame without title-bar buttons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    auto* emblem = new QLabel;
    emblem->setPixmap(emblemPicture());
    emblem->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto* credits = new QGridLayout;
    credits->setHorizontalSpacing(4);
    addCredit(credits, 0, tr("Задумка и руководство - "), tr("Команда Zolbin"));
    addCredit(credits, 1, tr("Интерфейс и программирование -"), tr("Разработчики Zolbin Sender"));
    addCredit(credits, 2, tr("E-Mail - "), QStringLiteral("zolbin@example.org"));

    auto* right = new QVBoxLayout;
    right->addWidget(makeNameLine(QColor(128, 0, 0), QColor(0, 0, 0), this));
    right->addSpacing(6);
    right->addLayout(credits);

    auto* top = new QHBoxLayout;
    top->addWidget(emblem);
    top->addSpacing(10);
    top->addLayout(right, 1);

    auto* separator = new QFrame;
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);

    auto* note = new QLabel(tr("Программа проверена с тестовыми серверами SNPP и SMTP и с имитатором "
                               "терминала TAP, "
                               "работающими на том же компьютере (адрес 127.0.0.1). "
                               "Разработка: команда Zolbin."));
    note->setWordWrap(true);

    btnOK = new QPushButton(tr("О&к"));
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(separator);
    layout->addWidget(note);
    layout->addLayout(buttons);

    btnOK->setFocus();
    fixSize();
}

bool TfmAbout::escapePressed()
{
    accept();
    return true;
}

bool TfmAbout::enterPressed()
{
    btnOK->click();
    return true;
}

} // namespace zolbin
