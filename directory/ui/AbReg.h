#pragma once
// The subscriber dialog: adds subscribers one after another (add mode) or changes one (change mode).
// Every stored change rewrites "Abonent.lst" and then, by linking the group members, "Group.lst".

#include "platform/ui/Dialog.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QWidget;

namespace zolbin {

class TAbonentList;
class TGroupList;
class TProviderList;
struct TSettings;

class TfmAbReg : public TDialog
{
    Q_OBJECT
public:
    TfmAbReg(TAbonentList& abonents, TGroupList& groups, const TProviderList& providers,
             const TSettings& settings, QWidget* parent = nullptr);

    // A new subscriber: caption "Новый абонент", OK "До&бавить", the name editable and focused, the
    // company box holding every company with the default company as its text.
    void SetAddMode();
    // The subscriber at the position: caption "Свойства", OK "Со&хранить", the name read-only, every
    // field from the record, the number focused.
    void SetChangeMode(int index);

    int Mode() const { return mode_; } // 1 add, 2 change
    int EditIndex() const { return editIndex_; }

    QTabWidget* PageControl = nullptr;
    QWidget* TabRequired = nullptr; // "Обяз. информация"
    QWidget* TabExtra = nullptr;    // "Доп. информация"
    QLineEdit* EditName = nullptr;
    QLineEdit* EditNumber = nullptr;
    QCheckBox* chbNumeric = nullptr;
    QLineEdit* EditMsgLen = nullptr;
    QComboBox* cmbProvider = nullptr;
    QPlainTextEdit* RichEdit = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;

    void FormActivate();
    void chbNumericClick();
    void btnOkClick();
    void btnCancelClick();

signals:
    // A subscriber was appended in add mode: the list that shows them is refilled.
    void listChanged();

protected:
    bool escapePressed() override; // Exit
    bool enterPressed() override;  // OK, from any field, the remarks included
    void showEvent(QShowEvent* event) override;

private:
    void buildUi();
    void fillCompanies(const QString& text);
    void setNumeric(bool ticked); // the box without running its handler
    void addAbonent();
    void changeAbonent();
    void limitRemarks();

    TAbonentList& abonents_;
    TGroupList& groups_;
    const TProviderList& providers_;
    const TSettings& settings_;
    int mode_ = 1;
    int editIndex_ = -1;
    QWidget* firstFocus_ = nullptr;
};

} // namespace zolbin
