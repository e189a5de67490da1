// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The directory window "Регистрация": lists one of the three directory lists (subscribers, groups or
// paging companies), opens the matching properties dialog for Add and Properties, and deletes entries
// with everything that hangs on them. A save refused because its list file changed behind the
// program's back, here or in a properties dialog, is announced (listFileChanged) so that the host
// reloads the directory; the window then shows what was reloaded.

#include "platform/DataFolder.h"
#include "platform/ui/Dialog.h"

#include <string>

class QAction;
class QLabel;
class QListWidget;
class QMenu;
class QMenuBar;

namespace zolbin {

class ProfileFile;
class TAbonentList;
class TGroupList;
class TProviderList;
class TfmAbReg;
class TfmGrReg;
class TfmPrvReg;
struct Session;
struct TSettings;

class TfmRegistr final : public TDialog
{
    Q_OBJECT
public:
    // The kinds of list the window edits, as SetKind takes them.
    static constexpr const char* KindAbonent = "Abonent";
    static constexpr const char* KindGroup = "Group";
    static constexpr const char* KindProvider = "Provider";

    // Edits the session's lists; a deleted company also changes its settings (the default company).
    explicit TfmRegistr(Session& session, QWidget* parent = nullptr);

    // The properties dialogs, created after this window.
    void setDialogs(TfmAbReg* abReg, TfmGrReg* grReg, TfmPrvReg* prvReg);

    void SetKind(const std::string& kind) { kind_ = kind; }
    const std::string& Kind() const { return kind_; }

    QMenuBar* MainMenu = nullptr;
    QMenu* UserItem = nullptr;
    QAction* NewUserItem = nullptr;
    QAction* DelUserItem = nullptr;
    QAction* PropUserItem = nullptr;
    QAction* ExitItem = nullptr;
    QListWidget* ListBox = nullptr;
    QLabel* lblStatus = nullptr; // what the last add added ("Добавлен абонент «…»")

    void FormActivate() override;
    // The lists were read again after a save at this or another desk: the list shown afresh, the same
    // entry current (by its name) when it is still there, and the room's status under it.
    void showRoomChange(const QString& status);
    // What the status line shows as the window opens: the room's last change, empty without a room.
    void setRoomStatus(const QString& status) { roomStatus_ = status; }
    // The room's status shown at once (the list unchanged).
    void showRoomStatus(const QString& status);
    void NewUserItemClick();
    void PropUserItemClick();
    void DelUserItemClick();
    void ExitItemClick();

signals:
    void listFileChanged();

protected:
    bool escapePressed() override; // "Выход"
    bool enterPressed() override;  // "Свойства..."
    void showEvent(QShowEvent* event) override;

private:
    void buildUi();
    void fillList();
    void announceAdded();
    void reloaded(); // after a save refused for a changed list file

    QString roomStatus_;
    TAbonentList& abonents_;
    TGroupList& groups_;
    TProviderList& providers_;
    TSettings& settings_;
    ProfileFile& settingsFile_;
    DataFolder folder_;
    TfmAbReg* abReg_ = nullptr;
    TfmGrReg* grReg_ = nullptr;
    TfmPrvReg* prvReg_ = nullptr;
    std::string kind_ = KindAbonent;
};

} // namespace zolbin
