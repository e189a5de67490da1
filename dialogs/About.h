// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The about box "О программе..." and the freeware notice ":-)))".

#include "platform/ui/Dialog.h"

class QPushButton;

namespace zolbin {

class TfmAbout final : public TDialog
{
    Q_OBJECT
public:
    explicit TfmAbout(QWidget* parent = nullptr);

    QPushButton* btnOK = nullptr; // "О&к", the default button

protected:
    bool escapePressed() override; // closes with the result OK
    bool enterPressed() override;  // presses "О&к"
    bool tracksCapsLock() const override { return false; }
};

class TfmSmile final : public TDialog
{
    Q_OBJECT
public:
    explicit TfmSmile(QWidget* parent = nullptr);

    QPushButton* btnOK = nullptr; // "О&к"

    void btnOKClick();

protected:
    bool escapePressed() override; // same as "О&к"
};

} // namespace zolbin
