// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/SpinField.h"

#include "platform/Codepage.h"
#include "platform/Convert.h"
#include "platform/ui/Cp1251Input.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QToolButton>
#include <algorithm>
#include <limits>

namespace zolbin {

namespace {

constexpr int ButtonWidth = 15;

QToolButton* makeArrow(Qt::ArrowType arrow, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoRepeat(true);
    button->setCursor(Qt::ArrowCursor);
    button->setIconSize(QSize(6, 6));
    return button;
}

// Keys that carry no character of their own (arrows, Backspace, Delete, Ctrl+C ...) are editing keys.
bool isEditingText(const QString& text)
{
    return std::all_of(text.begin(), text.end(),
                       [](QChar ch) { return ch.unicode() < 0x20 || ch.unicode() == 0x7F; });
}

} // namespace

SpinField::SpinField(std::int32_t minValue, std::int32_t maxValue, QWidget* parent) : QLineEdit(parent)
{
    setRange(minValue, maxValue);
    keepCp1251(this);
    up_ = makeArrow(Qt::UpArrow, this);
    down_ = makeArrow(Qt::DownArrow, this);
    connect(up_, &QToolButton::clicked, this, [this] { step(1); });
    connect(down_, &QToolButton::clicked, this, [this] { step(-1); });
    setTextMargins(0, 0, ButtonWidth, 0);
    placeButtons();
}

void SpinField::setRange(std::int32_t minValue, std::int32_t maxValue)
{
    min_ = std::min(minValue, maxValue);
    max_ = std::max(minValue, maxValue);
}

void SpinField::setValue(std::int32_t value)
{
    setText(QString::number(value));
}

void SpinField::step(int delta)
{
    std::int32_t value = min_;
    TryStrToInt(toCp1251(text()), value);
    setValue(bounded(static_cast<std::int64_t>(value) + delta));
}

std::int32_t SpinField::bounded(std::int64_t value) const
{
    std::int64_t low = std::numeric_limits<std::int32_t>::min();
    std::int64_t high = std::numeric_limits<std::int32_t>::max();
    if (hasRange()) {
        low = min_;
        high = max_;
    }
    return static_cast<std::int32_t>(std::clamp(value, low, high));
}

bool SpinField::acceptsCharacter(QChar ch) const
{
    if ((ch >= u'0' && ch <= u'9') || ch == u'+' || ch == u'-')
        return true;
    return QLocale().decimalPoint().contains(ch);
}

void SpinField::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        step(event->key() == Qt::Key_Up ? 1 : -1);
        event->accept();
        return;
    }
    const QString typed = event->text();
    if (!isEditingText(typed) &&
        !std::all_of(typed.begin(), typed.end(), [this](QChar ch) { return acceptsCharacter(ch); })) {
        QApplication::beep();
        emit keyRefused();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

// Leaving the field brings a whole number into the range. The focus that goes to another window or to
// a popup has not left the field.
void SpinField::focusOutEvent(QFocusEvent* event)
{
    const Qt::FocusReason reason = event->reason();
    std::int32_t value = 0;
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && hasRange() &&
        TryStrToInt(toCp1251(text()), value) && (value < min_ || value > max_))
        setValue(bounded(value));
    QLineEdit::focusOutEvent(event);
}

void SpinField::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    placeButtons();
}

void SpinField::placeButtons()
{
    const int frame = 1;
    const int half = (height() - 2 * frame) / 2;
    const int left = width() - ButtonWidth - frame;
    up_->setGeometry(left, frame, ButtonWidth, half);
    down_->setGeometry(left, frame + half, ButtonWidth, height() - 2 * frame - half);
}

QSize SpinField::sizeHint() const
{
    const QSize base = QLineEdit::sizeHint();
    const int digits = fontMetrics().horizontalAdvance(QStringLiteral("00000"));
    return {digits + ButtonWidth + 12, base.height()};
}

} // namespace zolbin
