// SPDX-License-Identifier: GPL-3.0-or-later
#include "directory/ui/AbReg.h"

#include "directory/Lists.h"
#include "directory/Settings.h"
#include "platform/Codepage.h"
#include "platform/Convert.h"
#include "platform/Prompts.h"
#include "platform/ui/CommandGuard.h"
#include "platform/ui/Cp1251Input.h"
#include "records/Session.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

namespace zolbin {

namespace {

constexpr int NumberLength = 10;
constexpr int RemarksLength = 100;
const char* const TextPagerLength = "240";
const char* const DigitalPagerLength = "20";

QLabel* labelFor(const QString& caption, QWidget* buddy)
{
    auto* label = new QLabel(caption);
    label->setBuddy(buddy);
    return label;
}

} // namespace

TfmAbReg::TfmAbReg(Session& session, QWidget* parent)
    : TPropertiesDialog(tr("Новый абонент"), parent), abonents_(session.abonents), groups_(session.groups),
      providers_(session.providers), settings_(session.settings), folder_(session.folder)
{
    buildUi();

    connect(chbNumeric, &QCheckBox::toggled, this, guarded([this] { chbNumericClick(); }));
    connect(RichEdit->document(), &QTextDocument::contentsChanged, this, [this] { limitRemarks(); });

    fixSize();
}

void TfmAbReg::buildUi()
{
    EditNumber = new QLineEdit;
    EditNumber->setMaxLength(NumberLength);
    keepCp1251(EditNumber);
    chbNumeric = new QCheckBox(tr("Ци&фровой"));
    EditMsgLen = new QLineEdit(QString::fromLatin1(TextPagerLength));
    keepCp1251(EditMsgLen);
    cmbProvider = new QComboBox;
    cmbProvider->setEditable(true);
    cmbProvider->setInsertPolicy(QComboBox::NoInsert);
    cmbProvider->setMinimumWidth(200);
    keepCp1251(cmbProvider);

    TabRequired = new QWidget;
    auto* fields = new QGridLayout(TabRequired);
    fields->addWidget(labelFor(tr("И&мя абонента"), EditName), 0, 0);
    fields->addWidget(EditName, 0, 1, 1, 3);
    fields->addWidget(labelFor(tr("N пейд&жера"), EditNumber), 1, 0);
    fields->addWidget(EditNumber, 1, 1);
    fields->addWidget(chbNumeric, 1, 2, 1, 2);
    fields->addWidget(labelFor(tr("Д&л. сообщ."), EditMsgLen), 2, 0);
    fields->addWidget(EditMsgLen, 2, 1);
    fields->addWidget(labelFor(tr("П&ейдж. компания"), cmbProvider), 3, 0);
    fields->addWidget(cmbProvider, 3, 1, 1, 3);

    RichEdit = new QPlainTextEdit;
    RichEdit->setTabChangesFocus(true);
    keepCp1251(RichEdit);
    TabExtra = new QWidget;
    auto* extra = new QVBoxLayout(TabExtra);
    extra->addWidget(RichEdit);

    PageControl = new QTabWidget;
    PageControl->addTab(TabRequired, tr("Обяз. информация"));
    PageControl->addTab(TabExtra, tr("Доп. информация"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttonBar());
    layout->addWidget(PageControl);
}

void TfmAbReg::fillCompanies(const QString& text)
{
    cmbProvider->clear();
    for (const std::string& name : providers_.Names())
        cmbProvider->addItem(toQString(name));
    cmbProvider->setEditText(text);
}

void TfmAbReg::setNumeric(bool ticked)
{
    const QSignalBlocker quiet(chbNumeric);
    chbNumeric->setChecked(ticked);
}

void TfmAbReg::prepareAdd()
{
    firstFocus_ = EditName;
    fillCompanies(toQString(settings_.Company));
}

void TfmAbReg::prepareChange(int index)
{
    const TAbonent& abonent = *abonents_.Items(index);
    EditName->setText(toQString(abonent.Name.str()));
    EditNumber->setText(QString::number(abonent.Number));
    // The stored length is shown as it is; it can be edited exactly when the pager is not digital.
    setNumeric(abonent.Numeric == 1);
    EditMsgLen->setText(QString::number(abonent.MsgLen));
    EditMsgLen->setReadOnly(chbNumeric->isChecked());
    RichEdit->setPlainText(toQString(abonent.Info.str()));
    fillCompanies(toQString(abonent.Provider.str()));
    firstFocus_ = EditNumber;
}

void TfmAbReg::FormActivate()
{
    PageControl->setCurrentWidget(TabRequired);
    if (adding()) {
        EditName->clear();
        EditNumber->clear();
        RichEdit->clear();
        setNumeric(false);
        chbNumericClick();
    }
    if (firstFocus_ != nullptr)
        firstFocus_->setFocus();
}

void TfmAbReg::chbNumericClick()
{
    const bool digital = chbNumeric->isChecked();
    EditMsgLen->setText(QString::fromLatin1(digital ? DigitalPagerLength : TextPagerLength));
    EditMsgLen->setReadOnly(digital);
}

void TfmAbReg::btnOkClick()
{
    PageControl->setCurrentWidget(TabRequired);
    if (adding())
        addAbonent();
    else
        changeAbonent();
}

void TfmAbReg::addAbonent()
{
    if (EditName->text().isEmpty()) {
        Prompts::message(tr("Неверное значение имени."));
        return;
    }
    if (const QString refusal = newNameRefusal(); !refusal.isEmpty()) {
        Prompts::message(refusal);
        return;
    }
    auto abonent = std::make_shared<TAbonent>();
    if (!readFields(*abonent))
        return;
    abonents_.Add(std::move(abonent));
    emit listChanged();

    // Ready for the next subscriber; the company box keeps its list.
    EditName->clear();
    EditNumber->clear();
    setNumeric(false);
    chbNumericClick();
    cmbProvider->setEditText(toQString(settings_.Company));
    RichEdit->clear();
    EditName->setFocus();

    if (saved(abonents_.Save(folder_)))
        (void)saved(groups_.LinkMembers(abonents_, folder_));
}

void TfmAbReg::changeAbonent()
{
    if (!readFields(*abonents_.Items(EditIndex())))
        return;
    accept();

    if (saved(abonents_.Save(folder_)))
        (void)saved(groups_.LinkMembers(abonents_, folder_));
}

// Both numbers are read before the record is touched: a field that does not read changes nothing.
bool TfmAbReg::readFields(TAbonent& abonent) const
{
    const Result<std::int32_t> number = StrToInt(toCp1251(EditNumber->text()));
    if (!succeeded(number))
        return false;
    const Result<std::int32_t> msgLen = StrToInt(toCp1251(EditMsgLen->text()));
    if (!succeeded(msgLen))
        return false;
    abonent.Name = toCp1251(EditName->text());
    abonent.Number = number.value();
    abonent.MsgLen = msgLen.value();
    abonent.Numeric = chbNumeric->isChecked() ? 1 : 0;
    abonent.Provider = toCp1251(cmbProvider->currentText());
    abonent.Info = toCp1251(RichEdit->toPlainText());
    return true;
}

void TfmAbReg::btnCancelClick()
{
    PageControl->setCurrentWidget(TabRequired);
    TPropertiesDialog::btnCancelClick();
}

// The remarks hold 100 characters: what goes beyond is taken off the text just typed or pasted, so
// nothing already there is lost.
void TfmAbReg::limitRemarks()
{
    const int excess = RichEdit->toPlainText().size() - RemarksLength;
    if (excess <= 0)
        return;
    QTextCursor cursor = RichEdit->textCursor();
    if (cursor.position() < excess) // not an insertion at the cursor: the text is cut at its end
        cursor.movePosition(QTextCursor::End);
    const int end = cursor.position();
    cursor.setPosition(end - excess);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    RichEdit->setTextCursor(cursor);
}

} // namespace zolbin
