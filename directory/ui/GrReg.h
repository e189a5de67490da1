// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The group dialog: builds groups one after another (add mode) or changes the members of one (change
// mode). All subscribers are listed on the left, the members on the right, with four arrow buttons
// between them. Every stored group rewrites "Group.lst".

#include "directory/ui/PropertiesDialog.h"
#include "platform/DataFolder.h"

class QListWidget;
class QPushButton;

namespace zolbin {

class TAbonentList;
class TGroupList;
struct Session;

class TfmGrReg final : public TPropertiesDialog
{
    Q_OBJECT
public:
    explicit TfmGrReg(Session& session, QWidget* parent = nullptr);

    QListWidget* lbAbonent = nullptr; // every subscriber
    QListWidget* lbGroup = nullptr;   // the members' names
    QPushButton* btnAllR = nullptr;   // ">>"
    QPushButton* btnOneR = nullptr;   // ">"
    QPushButton* btnOneL = nullptr;   // "<"
    QPushButton* btnAllL = nullptr;   // "<<"

    void FormActivate() override;
    void btnAllRClick();
    void btnOneRClick();
    void btnOneLClick();
    void btnAllLClick();
    void lbAbonentEnter();
    void lbGroupEnter();
    void btnOkClick() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // A new group: caption "Новая группа", the name focused.
    void prepareAdd() override;
    // The group at the position: the members' names on the right, the focus on the list of all
    // subscribers.
    void prepareChange(int index) override;

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
    const DataFolder& folder_; // the session's, where the list files are
    QWidget* firstFocus_ = nullptr;
};

} // namespace zolbin
