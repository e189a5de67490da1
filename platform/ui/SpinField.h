// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A spin field: a one-line edit with two small arrow buttons. It takes digits, "+", "-", the decimal
// separator and the editing keys; any other character is dropped with a beep. The Up and Down keys and
// the arrow buttons step the value by 1 within the range. When the field loses the focus, a whole number
// outside the range becomes the nearer bound; a text that is no whole number stays as it is. A field
// whose minimum equals its maximum has no range.
//
// text() is the text as it stands: a value typed and not yet left is not clamped.

#include <QLineEdit>
#include <cstdint>

class QToolButton;

namespace zolbin {

class SpinField final : public QLineEdit
{
    Q_OBJECT
public:
    explicit SpinField(std::int32_t minValue = 0, std::int32_t maxValue = 0, QWidget* parent = nullptr);

    void setRange(std::int32_t minValue, std::int32_t maxValue);
    std::int32_t minValue() const { return min_; }
    std::int32_t maxValue() const { return max_; }
    bool hasRange() const { return min_ != max_; }

    // Writes the number as plain decimal text.
    void setValue(std::int32_t value);
    // One step up (+1) or down (-1): the text's number, or the minimum when the text is no whole number,
    // moved by the step and kept within the range.
    void step(int delta);

    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

    QSize sizeHint() const override;

signals:
    // A typed character was refused (after the beep).
    void keyRefused();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool acceptsCharacter(QChar ch) const;
    std::int32_t bounded(std::int64_t value) const;
    void placeButtons();

    std::int32_t min_ = 0;
    std::int32_t max_ = 0;
    QToolButton* up_ = nullptr;
    QToolButton* down_ = nullptr;
};

} // namespace zolbin
