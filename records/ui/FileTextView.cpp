// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/ui/FileTextView.h"

#include "platform/Codepage.h"

#include <QElapsedTimer>
#include <QTextBlock>
#include <QTextCursor>

namespace zolbin {

namespace {

constexpr std::size_t PieceBytes = 64 * 1024;
// How long one slice may keep the event loop waiting.
constexpr qint64 SliceMs = 25;

} // namespace

FileTextView::FileTextView(QWidget* parent) : QPlainTextEdit(parent)
{
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    slices_.setInterval(0);
    connect(&slices_, &QTimer::timeout, this, &FileTextView::loadSlice);
}

int FileTextView::load(const std::string& path)
{
    clearView();
    if (const int err = reader_.open(path); err != 0)
        return err;
    slices_.start();
    loadSlice();
    return 0;
}

void FileTextView::stop()
{
    slices_.stop();
    reader_.close();
}

void FileTextView::clearView()
{
    stop();
    clear();
}

QString FileTextView::selectedPlainText() const
{
    QString text = textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    return text;
}

// Appends pieces at the end, away from the operator's caret and selection, until the slice's time is up.
void FileTextView::loadSlice()
{
    QElapsedTimer clock;
    clock.start();
    QTextCursor end(document());
    std::string piece;
    while (!reader_.atEnd() && clock.elapsed() < SliceMs) {
        if (const int err = reader_.read(piece, PieceBytes); err != 0) {
            clearView();
            emit loadFailed(err);
            return;
        }
        if (piece.empty())
            continue;
        end.movePosition(QTextCursor::End);
        end.insertText(toQString(piece));
    }
    if (reader_.atEnd()) {
        slices_.stop();
        emit loaded();
    }
}

} // namespace zolbin
