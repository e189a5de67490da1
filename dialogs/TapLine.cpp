// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/TapLine.h"

#include "dialogs/SettingsKeys.h"
#include "directory/Settings.h"
#include "platform/Codepage.h"
#include "platform/Convert.h"
#include "platform/ProfileFile.h"
#include "platform/Prompts.h"
#include "platform/ui/CommandGuard.h"
#include "platform/ui/Cp1251Input.h"
#include "records/Session.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

namespace zolbin {

namespace {

constexpr int DeviceLength = 255;
constexpr int ModemStringLength = 80;

// "ttyS10" -> {"ttyS", 10}; a name without trailing digits sorts before its numbered ones.
std::pair<QString, qint64> nameAndNumber(const QString& name)
{
    qsizetype digits = name.size();
    while (digits > 0 && name.at(digits - 1).isDigit())
        --digits;
    const QString number = name.mid(digits).left(18);
    return {name.left(digits), number.isEmpty() ? -1 : number.toLongLong()};
}

QLineEdit* makeField(int limit)
{
    auto* edit = new QLineEdit;
    edit->setMaxLength(limit);
    keepCp1251(edit);
    return edit;
}

} // namespace

QComboBox* MakeEditableBox(int limit)
{
    auto* box = new QComboBox;
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->lineEdit()->setMaxLength(limit);
    keepCp1251(box);
    return box;
}

std::optional<LineFields> ReadLineFields(const QComboBox* device, const QComboBox* speed,
                                         const char* lineName)
{
    // Blanks around a path are a slip of the keyboard: no device is named so.
    LineFields line{toCp1251(device->currentText().trimmed()), 0};
    if (line.device.empty()) {
        Prompts::message(TfmTapLine::tr("Не указано устройство линии %1").arg(QLatin1String(lineName)));
        return std::nullopt;
    }
    if (!TryStrToInt(toCp1251(speed->currentText()), line.speed) || line.speed <= 0) {
        Prompts::message(TfmTapLine::tr("Скорость линии должна быть целым положительным числом"));
        return std::nullopt;
    }
    return line;
}

void AddGridRow(QGridLayout* grid, int row, const QString& caption, QWidget* field)
{
    auto* label = new QLabel(caption);
    label->setBuddy(field);
    grid->addWidget(label, row, 0);
    grid->addWidget(field, row, 1);
}

QStringList PresentSerialDevices(const QString& folder)
{
    const QDir dir(folder);
    QStringList names =
        dir.entryList({QStringLiteral("ttyS*"), QStringLiteral("ttyUSB*"), QStringLiteral("ttyACM*")},
                      QDir::Files | QDir::System | QDir::NoDotAndDotDot);
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return nameAndNumber(a) < nameAndNumber(b); });
    QStringList paths;
    for (const QString& name : names)
        paths << dir.filePath(name);
    return paths;
}

TfmTapLine::TfmTapLine(Session& session, QWidget* parent, QString deviceFolder)
    : TDialog(parent), file_(session.settingsFile), settings_(session.settings),
      deviceFolder_(std::move(deviceFolder))
{
    setWindowTitle(tr("Линия TAP"));

    EditDevice = MakeEditableBox(DeviceLength);
    EditDevice->setMinimumWidth(240);
    cmbSpeed = MakeEditableBox(10);
    for (const char* speed : {"300", "1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200"})
        cmbSpeed->addItem(QLatin1String(speed));
    cmbFormat = new QComboBox;
    cmbFormat->addItem(tr("7E1 — 7 бит, чётность, 1 стоп-бит"));
    cmbFormat->addItem(tr("8N1 — 8 бит, без чётности, 1 стоп-бит"));
    EditInit = makeField(ModemStringLength);
    EditDialPrefix = makeField(ModemStringLength);

    btnOK = new QPushButton(tr("О&к"));
    btnCancel = new QPushButton(tr("От&мена"));
    const std::pair<QWidget*, const char*> names[] = {
        {EditDevice, "EditDevice"},         {cmbSpeed, "cmbSpeed"},
        {cmbFormat, "cmbFormat"},           {EditInit, "EditInit"},
        {EditDialPrefix, "EditDialPrefix"}, {btnOK, "btnOK"},
        {btnCancel, "btnCancel"},
    };
    for (const auto& [control, name] : names)
        control->setObjectName(QLatin1String(name));

    auto* group = new QGroupBox(tr("  Модем  "));
    auto* grid = new QGridLayout(group);
    AddGridRow(grid, 0, tr("&Устройство"), EditDevice);
    AddGridRow(grid, 1, tr("&Скорость"), cmbSpeed);
    AddGridRow(grid, 2, tr("&Формат символа"), cmbFormat);
    AddGridRow(grid, 3, tr("&Инициализация"), EditInit);
    AddGridRow(grid, 4, tr("&Префикс набора"), EditDialPrefix);
    auto* hint = new QLabel(tr("Модем набирает номер компании, у которой телефон TAP — номер; "
                               "компания с телефоном вида «хост:порт» связывается по сети."));
    hint->setObjectName(QStringLiteral("lblHint"));
    hint->setWordWrap(true);
    grid->addWidget(hint, 5, 0, 1, 2);

    useOk(btnOK, [this] { btnOKClick(); });
    useCancel(btnCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(okCancelRow(btnOK, btnCancel));
    fixSize();
}

// Filled from the settings in memory at every showing; the devices are looked up again, since a USB
// modem comes and goes.
void TfmTapLine::FormActivate()
{
    EditDevice->clear();
    EditDevice->addItems(PresentSerialDevices(deviceFolder_));
    EditDevice->setEditText(toQString(settings_.TapDevice));
    cmbSpeed->setEditText(QString::number(settings_.TapSpeed));
    cmbFormat->setCurrentIndex(settings_.TapLineFormat == TapFormat::EightN1 ? 1 : 0);
    EditInit->setText(toQString(settings_.TapInit));
    EditDialPrefix->setText(toQString(settings_.TapDialPrefix));
    EditDevice->setFocus();
}

void TfmTapLine::btnOKClick()
{
    const std::optional<LineFields> line = ReadLineFields(EditDevice, cmbSpeed, "TAP");
    if (!line)
        return;
    if (WriteSettingsKeys(file_,
                          {{SectionTap, "Device", line->device},
                           {SectionTap, "Speed", std::to_string(line->speed)},
                           {SectionTap, "Format", cmbFormat->currentIndex() == 1 ? "1" : "0"},
                           {SectionTap, "Init", toCp1251(EditInit->text())},
                           {SectionTap, "DialPrefix", toCp1251(EditDialPrefix->text())}},
                          settings_))
        accept();
}

} // namespace zolbin
