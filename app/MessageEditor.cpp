// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MessageEditor.h"

#include "platform/Codepage.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPlainTextDocumentLayout>
#include <QTextBlock>
#include <QTextLayout>
#include <algorithm>

namespace zolbin {

namespace {

bool isLineBreak(QChar ch)
{
    return ch == u'\n' || ch == QChar::LineSeparator || ch == QChar::ParagraphSeparator;
}

// Text from the clipboard or a drop as the editor holds it: every kind of line break becomes one line
// break, and control characters other than the tab are dropped (a page cannot carry them).
QString plainMessageText(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch == u'\r') {
            if (i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            out += u'\n';
        } else if (isLineBreak(ch)) {
            out += u'\n';
        } else if (ch == u'\t' || ch.unicode() >= 0x20) {
            out += ch;
        }
    }
    return out;
}

// The longest beginning of the text whose length (line break = 2) fits into the room; a character
// outside the basic plane is never split.
QString cutToLength(const QString& text, int room)
{
    int used = 0;
    qsizetype end = 0;
    while (end < text.size()) {
        const qsizetype units = text.at(end).isHighSurrogate() && end + 1 < text.size() ? 2 : 1;
        const int cost = isLineBreak(text.at(end)) ? 2 : static_cast<int>(units);
        if (used + cost > room)
            break;
        used += cost;
        end += units;
    }
    return text.left(end);
}

// A key that types text into the field: printable text without Ctrl (AltGr, Ctrl+Alt, still types).
bool typesText(const QKeyEvent* event)
{
    const QString text = event->text();
    if (text.isEmpty() || !(text.at(0).isPrint() || text.at(0) == u'\t'))
        return false;
    const Qt::KeyboardModifiers mods = event->modifiers();
    return !(mods & (Qt::ControlModifier | Qt::MetaModifier)) || (mods & Qt::AltModifier);
}

} // namespace

int MessageLength(const QString& text)
{
    int length = 0;
    for (const QChar ch : text)
        length += isLineBreak(ch) ? 2 : 1;
    return length;
}

QString CounterText(int length, int maxLength)
{
    return QString::number(length) + QLatin1Char(':') + QString::number(maxLength);
}

MessageEditor::MessageEditor(QWidget* parent) : QPlainTextEdit(parent) {}

int MessageEditor::textLength() const
{
    return MessageLength(toPlainText());
}

int MessageEditor::room() const
{
    if (maxLength_ == 0)
        return -1;
    const int kept = textLength() - MessageLength(textCursor().selectedText());
    return std::max(0, maxLength_ - kept);
}

std::vector<std::string> MessageEditor::displayedLines() const
{
    std::vector<std::string> lines;
    auto* layout = qobject_cast<QPlainTextDocumentLayout*>(document()->documentLayout());
    auto add = [&lines](QString text) {
        text.remove(QChar::LineSeparator);
        lines.push_back(toCp1251(text));
    };
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        if (layout != nullptr)
            layout->ensureBlockLayout(block);
        const QString text = block.text();
        const QTextLayout* blockLayout = block.layout();
        if (blockLayout == nullptr || blockLayout->lineCount() == 0) {
            add(text);
            continue;
        }
        for (int i = 0; i < blockLayout->lineCount(); ++i) {
            const QTextLine line = blockLayout->lineAt(i);
            add(text.mid(line.textStart(), line.textLength()));
        }
    }
    if (!lines.empty() && lines.back().empty())
        lines.pop_back();
    return lines;
}

std::string MessageEditor::wholeText() const
{
    QString text;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        if (block != document()->begin())
            text += QStringLiteral("\r\n");
        text += block.text();
    }
    text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
    return toCp1251(text);
}

void MessageEditor::keyPressEvent(QKeyEvent* event)
{
    const bool lineBreak = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!isReadOnly()) {
        const int adds = lineBreak ? 2 : (typesText(event) ? MessageLength(event->text()) : 0);
        const int left = room();
        if (adds > 0 && left >= 0 && adds > left) {
            event->accept(); // the field is full: the key is taken and nothing is typed
            return;
        }
    }
    if (lineBreak && (event->modifiers() & Qt::ShiftModifier)) {
        // Shift+Enter would make a soft break inside the paragraph; a page knows one kind of line break.
        QKeyEvent plain(event->type(), event->key(), event->modifiers() & ~Qt::ShiftModifier, event->text(),
                        event->isAutoRepeat(), static_cast<quint16>(event->count()));
        QPlainTextEdit::keyPressEvent(&plain);
        event->setAccepted(plain.isAccepted());
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void MessageEditor::inputMethodEvent(QInputMethodEvent* event)
{
    const int left = room();
    if (isReadOnly() || left < 0 || MessageLength(event->commitString()) <= left) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent cut(event->preeditString(), event->attributes());
    cut.setCommitString(cutToLength(event->commitString(), left), event->replacementStart(),
                        event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&cut);
    event->setAccepted(cut.isAccepted());
}

void MessageEditor::insertFromMimeData(const QMimeData* source)
{
    if (source == nullptr || !source->hasText())
        return;
    QString text = plainMessageText(source->text());
    if (const int left = room(); left >= 0)
        text = cutToLength(text, left);
    if (text.isEmpty())
        return;
    QMimeData plain;
    plain.setText(text);
    QPlainTextEdit::insertFromMimeData(&plain);
}

} // namespace zolbin
