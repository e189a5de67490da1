// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/Dialog.h"

#include "platform/ui/AccessibleNames.h"
#include "platform/ui/CapsLock.h"
#include "platform/ui/CommandGuard.h"
#include "platform/ui/LayoutMnemonics.h"
#include "platform/ui/ScreenFit.h"

#include <QApplication>
#include <QColor>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLayout>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>
#include <utility>

namespace zolbin {

namespace {

void setCaptionColour(QPushButton* button, const QColor& colour)
{
    QPalette palette = button->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        palette.setColor(group, QPalette::ButtonText, colour);
    button->setPalette(palette);
}

bool isEnter(const QKeyEvent* key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

} // namespace

TDialog::TDialog(QWidget* parent) : QDialog(parent)
{
    setModal(true);
}

int TDialog::showModal()
{
    return exec();
}

void TDialog::markOk(QPushButton* button)
{
    setCaptionColour(button, QColor(0, 128, 0));
}

void TDialog::markCancel(QPushButton* button)
{
    setCaptionColour(button, QColor(255, 0, 0));
}

void TDialog::markCommand(QPushButton* button)
{
    setCaptionColour(button, QColor(128, 0, 0));
}

QHBoxLayout* TDialog::okCancelRow(QPushButton* ok, QPushButton* cancel)
{
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

void TDialog::useOk(QPushButton* ok, std::function<void()> command, EnterKey enter)
{
    markOk(ok);
    connect(ok, &QPushButton::clicked, this, guarded(command));
    if (enter == EnterKey::RunsOk)
        okCommand_ = std::move(command);
}

void TDialog::useCancel(QPushButton* cancel, std::function<void()> command)
{
    markCancel(cancel);
    if (!command)
        command = [this] { reject(); };
    connect(cancel, &QPushButton::clicked, this, guarded(command));
    cancelCommand_ = std::move(command);
}

// The layout's size hint, not adjustSize(): that keeps a window within two thirds of the screen and so
// crushed the fields of a tall dialog on a small or scaled screen.
void TDialog::fixSize()
{
    if (layout() != nullptr)
        layout()->activate();
    QSize hint = sizeHint().expandedTo(minimumSizeHint()).expandedTo(minimumSize());
    if (!hint.isValid())
        hint = size();
    // Word-wrapped texts need the height of their lines at the width the dialog gets.
    if (layout() != nullptr && layout()->hasHeightForWidth())
        hint.setHeight(std::max(hint.height(), layout()->totalHeightForWidth(hint.width())));
    designSize_ = hint;
    fitDesignSize();
    NameControlsForScreenReaders(this);
}

// The design size where the screen has room for it. Where it has not, the dialog takes what there is and
// its fields scroll, its buttons outside the scrolled part.
void TDialog::fitDesignSize()
{
    QSize fixed = designSize_;
    const QSize room = RoomOnScreen(this);
    if (!room.isEmpty() && (fixed.width() > room.width() || fixed.height() > room.height())) {
        if (scrolled_ == nullptr) {
            if (auto* box = qobject_cast<QBoxLayout*>(layout()))
                scrolled_ = ScrollAllButButtons(box);
        }
        if (scrolled_ != nullptr) {
            // The scroll bar of the side that is cut takes room across the other.
            const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scrolled_);
            if (fixed.height() > room.height())
                fixed.rwidth() += bar;
            if (fixed.width() > room.width())
                fixed.rheight() += bar;
        }
        fixed = fixed.boundedTo(room);
    }
    setFixedSize(fixed);
}

bool TDialog::escapePressed()
{
    if (cancelCommand_)
        runCommand(cancelCommand_);
    else
        reject();
    return true;
}

bool TDialog::enterPressed()
{
    if (!okCommand_)
        return false;
    runCommand(okCommand_);
    return true;
}

// The filter is on the application while the dialog is shown, so the dialog sees a key before the
// control it was sent to. A key the dialog does not take goes on to the control as usual.
bool TDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() && isVisible()) {
        const auto* target = static_cast<QWidget*>(watched);
        if (target->window() == this)
            return handleKey(static_cast<QKeyEvent*>(event));
    }
    return QDialog::eventFilter(watched, event);
}

// Every key this takes is consumed, and the ones it declines leave no trace: a key that a control
// ignores travels up to its parents and passes through the filter again.
bool TDialog::handleKey(QKeyEvent* key)
{
    if (key->key() == Qt::Key_CapsLock) {
        if (!tracksCapsLock())
            return false;
        CapsLock::instance().keyPressed();
        return true;
    }
    if (key->key() == Qt::Key_Escape)
        return escapePressed();
    const Qt::KeyboardModifiers held =
        key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (isEnter(key) && held == Qt::NoModifier)
        return enterPressed();
    // Alt with a key no mnemonic took: the one on the same key in the other keyboard layout.
    return RunMnemonicByPosition(this, *key);
}

void TDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape || isEnter(event)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The screen may be another than at the start, or the frame known only now.
    if (designSize_.isValid())
        fitDesignSize();
    else
        CapToScreen(this);
    if (!filtering_) {
        qApp->installEventFilter(this);
        filtering_ = true;
    }
    centreOnScreen();
    runCommand([this] { FormActivate(); });
}

void TDialog::hideEvent(QHideEvent* event)
{
    if (filtering_) {
        qApp->removeEventFilter(this);
        filtering_ = false;
    }
    QDialog::hideEvent(event);
}

void TDialog::centreOnScreen()
{
    QScreen* where = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    if (where == nullptr)
        return;
    const QRect area = where->availableGeometry();
    const QRect frame = frameGeometry();
    move(area.center() - QPoint(frame.width() / 2, frame.height() / 2) + (pos() - frame.topLeft()));
}

} // namespace zolbin
