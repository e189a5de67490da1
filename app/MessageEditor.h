// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The message editor of the main window: a plain multi-line field whose length is counted the way the
// page is sent (a line break is two characters, CR LF) and bounded by the recipient's message limit as
// the operator types, pastes or drops text. Text set by the program is never cut, and a limit smaller
// than the text already there does not shorten it: only what the operator adds is refused.

#include <QPlainTextEdit>
#include <string>
#include <vector>

namespace zolbin {

// The length of a text as the page counts it: every character one, every line break two.
int MessageLength(const QString& text);

// The length counter's text: the length typed, ":", the maximum length (0 = none).
QString CounterText(int length, int maxLength);

class MessageEditor final : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit MessageEditor(QWidget* parent = nullptr);

    // 0 = no limit.
    int maxLength() const { return maxLength_; }
    void setMaxLength(int length) { maxLength_ = length < 0 ? 0 : length; }

    // The whole text as counted (line break = 2).
    int textLength() const;

    // The lines as the operator sees them, in cp1251: every line of the word-wrapped layout is one line;
    // an empty last line (after a final line break) is not counted.
    std::vector<std::string> displayedLines() const;

    // The whole text in cp1251, its lines joined by CR LF.
    std::string wholeText() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // How much the operator may still add in place of the current selection; -1 = no limit.
    int room() const;

    int maxLength_ = 0;
};

} // namespace zolbin
