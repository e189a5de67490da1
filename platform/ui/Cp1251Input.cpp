// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/Cp1251Input.h"

#include "platform/Codepage.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <memory>

namespace zolbin {

namespace {

// Replaces, inside [from, to) of the document, every character cp1251 cannot hold by "?". A character
// outside the basic plane (two UTF-16 units) becomes one "?". Line breaks stay as they are.
void sanitizeRange(QTextDocument* document, int from, int to)
{
    QTextCursor cursor(document);
    bool joined = false;
    int i = from;
    while (i < to) {
        const QChar ch = document->characterAt(i);
        int units = 1;
        bool bad = false;
        if (ch == QChar::ParagraphSeparator || ch == QChar::LineSeparator) {
            bad = false;
        } else if (ch.isHighSurrogate() && i + 1 < to && document->characterAt(i + 1).isLowSurrogate()) {
            units = 2;
            bad = true;
        } else if (ch.isSurrogate()) {
            bad = true;
        } else {
            bad = !isCp1251Char(ch.unicode());
        }
        if (!bad) {
            i += units;
            continue;
        }
        // The replacement joins the edit that brought the character, so one undo takes both back.
        if (!joined) {
            cursor.joinPreviousEditBlock();
            joined = true;
        }
        cursor.setPosition(i);
        cursor.setPosition(i + units, QTextCursor::KeepAnchor);
        cursor.insertText(QStringLiteral("?"));
        to -= units - 1;
        i += 1;
    }
    if (joined)
        cursor.endEditBlock();
}

} // namespace

void keepCp1251(QLineEdit* edit)
{
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit](const QString& text) {
        const QString clean = sanitizeForCp1251(text);
        if (clean == text)
            return;
        // The cursor stays after the same character it followed.
        const int cursor = static_cast<int>(sanitizeForCp1251(text.left(edit->cursorPosition())).size());
        edit->setText(clean);
        edit->setCursorPosition(cursor);
    });
}

void keepCp1251(QPlainTextEdit* edit)
{
    QTextDocument* document = edit->document();
    auto busy = std::make_shared<bool>(false);
    QObject::connect(document, &QTextDocument::contentsChange, edit,
                     [document, busy](int position, int /*removed*/, int added) {
                         if (*busy || added <= 0)
                             return;
                         // The document reports one position past its end when it is replaced whole.
                         const int end = std::min(position + added, document->characterCount() - 1);
                         *busy = true;
                         sanitizeRange(document, position, end);
                         *busy = false;
                     });
}

void keepCp1251(QComboBox* box)
{
    if (QLineEdit* edit = box->lineEdit())
        keepCp1251(edit);
}

} // namespace zolbin
