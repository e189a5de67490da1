// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dialog "Линия TAP": the serial device, speed, character format and modem strings through which
// companies whose TAP phone is a number are dialled. The five settings go into section "TAP" of
// "Zolbin.ini".

#include "platform/ui/Dialog.h"

#include <QStringList>
#include <cstdint>
#include <optional>
#include <string>

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
void AddGridRow(QGridLayout* grid, int row, const QString& caption, QWidget* field);

// A modem line's device (its blanks around dropped) and speed as the dialog's boxes hold them; nothing,
// after the operator was told in a box, when the device is empty or the speed no positive whole number.
// `lineName` names the line in the message ("TAP", "GSM").
struct LineFields
{
    std::string device; // cp1251
    std::int32_t speed = 0;
};
std::optional<LineFields> ReadLineFields(const QComboBox* device, const QComboBox* speed,
                                         const char* lineName);

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

    void FormActivate() override;
    void btnOKClick();

private:
    ProfileFile& file_;
    TSettings& settings_;
    QString deviceFolder_;
};

} // namespace zolbin
