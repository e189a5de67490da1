// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dialog "Линия TAP": the serial device, speed, character format and modem strings through which
// companies whose TAP phone is a number are dialled. The five settings go into section "TAP" of
// "Zolbin.ini".

#include "platform/ui/Dialog.h"

#include <QStringList>

class QComboBox;
class QGridLayout;
class QLineEdit;
class QPushButton;

namespace zolbin {

class ProfileFile;
struct Session;
struct TSettings;

// The serial devices present in the folder ("ttyS*", "ttyUSB*", "ttyACM*"), as full paths, in natural
// order (ttyS2 before ttyS10).
QStringList PresentSerialDevices(const QString& folder = QStringLiteral("/dev"));
// The pieces the modem lines' dialogs share: an editable list whose text keeps code page 1251 and holds
// at most `limit` characters, and a grid row of a caption (its mnemonic leading to the field) and a field.
QComboBox* MakeEditableBox(int limit);
void AddGridRow(QGridLayout* grid, int row, const char* caption, QWidget* field);

class TfmTapLine final : public TDialog
{
    Q_OBJECT
public:
    // The device box offers the serial devices of `deviceFolder`, looked up again at every showing.
    explicit TfmTapLine(Session& session, QWidget* parent = nullptr,
                        QString deviceFolder = QStringLiteral("/dev"));

    QComboBox* EditDevice = nullptr; // editable: a device that is not there yet can be typed
    QComboBox* cmbSpeed = nullptr;   // editable
    QComboBox* cmbFormat = nullptr;  // index = the "Format" key
    QLineEdit* EditInit = nullptr;
    QLineEdit* EditDialPrefix = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

    void FormActivate();
    void btnOKClick();
    void btnCancelClick();

protected:
    bool enterPressed() override;
    void showEvent(QShowEvent* event) override;

private:
    ProfileFile& file_;
    TSettings& settings_;
    QString deviceFolder_;
};

} // namespace zolbin
