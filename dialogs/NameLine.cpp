// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/NameLine.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QWidget>

namespace zolbin {

namespace {

const QString& productWord()
{
    static const QString word = QStringLiteral("Zolbin");
    return word;
}

QLabel* makePart(const QString& text, int pixels, bool italic, const QColor& colour, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont font(QStringLiteral("DejaVu Sans Condensed"));
    font.setStretch(QFont::Condensed);
    font.setBold(true);
    font.setItalic(italic);
    font.setPixelSize(pixels);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    return label;
}

} // namespace

QString nameLineHead()
{
    return productWord().left(3);
}

QString nameLineTail()
{
    return productWord().mid(3) + QStringLiteral(" Sender  ") + QStringLiteral(ZOLBIN_VERSION);
}

QWidget* makeNameLine(const QColor& headColour, const QColor& tailColour, QWidget* parent)
{
    auto* line = new QWidget(parent);
    auto* layout = new QHBoxLayout(line);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    QLabel* head = makePart(nameLineHead(), 35, false, headColour, line);
    QLabel* tail = makePart(nameLineTail(), 21, true, tailColour, line);
    head->setObjectName(QStringLiteral("nameHead"));
    tail->setObjectName(QStringLiteral("nameTail"));
    // The smaller part sits on the base line of the larger one.
    const int drop = head->fontMetrics().descent() - tail->fontMetrics().descent();
    tail->setContentsMargins(0, 0, 0, drop > 0 ? drop : 0);
    layout->addWidget(head, 0, Qt::AlignBottom);
    layout->addWidget(tail, 0, Qt::AlignBottom);
    layout->addStretch(1);
    return line;
}

} // namespace zolbin
