#pragma once
// The group dialog: builds groups one after another (add mode) or changes the members of one (change
// mode). All subscribers are listed on the left, the members on the right, with four arrow buttons
// between them. Every stored group rewrites "Group.lst".

#include "platform/ui/Dialog.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace zolbin {

class TAbonentList;
class TGroupList;

class TfmGrReg : public TDialog
{
    Q_OBJECT
public:
    TfmGrReg(TAbonentList& abonents, TGroupList& groups, QWidget* parent = nullptr);

    // A new group: caption "Новая группа", OK "До&бавить", the name editable and focused.
    void SetAddMode();
    // The group at the position: caption "Свойства", OK "Со&хранить", the name read-only, the members'
    // names on the right, the focus on the list of all subscribers.
    void SetChangeMode(int index);

    int Mode() const { return mode_; } // 1 add, 2 change
    int EditIndex() const { return editIndex_; }

    QLineEdit* EditName = nullptr;
    QListWidget* lbAbonent = nullptr; // every subscriber
    QListWidget* lbGroup = nullptr;   // the members' names
    QPushButton* btnAllR = nullptr;   // ">>"
    QPushButton* btnOneR = nullptr;   // ">"
    QPushButton* btnOneL = nullptr;   // "<"
    QPushButton* btnAllL = nullptr;   // "<<"
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;

    void FormActivate();
    void btnAllRClick();
    void btnOneRClick();
    void btnOneLClick();
    void btnAllLClick();
    void lbAbonentEnter();
    void lbGroupEnter();
    void btnOkClick();
    void btnCancelClick();

signals:
    // A group was appended in add mode: the list that shows them is refilled.
    void listChanged();

protected:
    bool escapePressed() override; // Exit
    bool enterPressed() override;  // OK
    void showEvent(QShowEvent* event) override;

private:
    void buildUi();
    void setArrows(bool right, bool left);
    bool isMember(const QString& name) const;
    void addMember(const QString& name);
    TAbonentList memberList() const;
    void addGroup();
    void changeGroup();

    TAbonentList& abonents_;
    TGroupList& groups_;
    int mode_ = 1;
    int editIndex_ = -1;
    QWidget* firstFocus_ = nullptr;
};

} // namespace zolbin
