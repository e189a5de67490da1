// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The subscriber dialog: adds subscribers one after another (add mode) or changes one (change mode).
// Every stored change rewrites "Abonent.lst" and then, by linking the group members, "Group.lst".
// Enter runs OK from the remarks too: they hold no line breaks.

#include "directory/ui/PropertiesDialog.h"
#include "platform/DataFolder.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QTabWidget;
class QWidget;

namespace zolbin {

struct TAbonent;
class TAbonentList;
class TGroupList;
class TProviderList;
struct Session;
struct TSettings;

class TfmAbReg final : public TPropertiesDialog
{
    Q_OBJECT
public:
    explicit TfmAbReg(Session& session, QWidget* parent = nullptr);

    QTabWidget* PageControl = nullptr;
    QWidget* TabRequired = nullptr; // "Обяз. информация"
    QWidget* TabExtra = nullptr;    // "Доп. информация"
    QLineEdit* EditNumber = nullptr;
    QCheckBox* chbNumeric = nullptr;
    QLineEdit* EditMsgLen = nullptr;
    QComboBox* cmbProvider = nullptr;
    QPlainTextEdit* RichEdit = nullptr;

    void FormActivate() override;
    void chbNumericClick();
    void btnOkClick() override;
    void btnCancelClick() override; // back to the first page, then Exit

protected:
    // A new subscriber: caption "Новый абонент", the name focused, the company box holding every
    // company with the default company as its text.
    void prepareAdd() override;
    // The subscriber at the position: every field from the record, the number focused.
    void prepareChange(int index) override;

private:
    void buildUi();
    void fillCompanies(const QString& text);
    void setNumeric(bool ticked); // the box without running its handler
    void addAbonent();
    void changeAbonent();
    // Fills the record from the fields; false (the conversion error shown) when a number does not read.
    bool readFields(TAbonent& abonent) const;
    void limitRemarks();

    TAbonentList& abonents_;
    TGroupList& groups_;
    const TProviderList& providers_;
    const TSettings& settings_;
    const DataFolder& folder_; // the session's, where the list files are
    QWidget* firstFocus_ = nullptr;
};

} // namespace zolbin
