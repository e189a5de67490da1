// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/WindowCommands.h"

#include "app/EditorCommands.h"
#include "app/RecipientChoice.h"
#include "app/Windows.h"
#include "dialogs/About.h"
#include "dispatch/SendController.h"
#include "platform/Codepage.h"
#include "platform/IoError.h"
#include "platform/Prompts.h"
#include "platform/ui/HelpViewer.h"
#include "records/ui/ArchiveView.h"
#include "records/ui/DelArch.h"
#include "records/ui/LogView.h"
#include "records/ui/QueueWindow.h"
#include "records/ui/RecordFiles.h"

#include <QWidget>

namespace zolbin {

WindowCommands::WindowCommands(QWidget& window, Session& session, Windows& windows,
                               RecipientChoice& recipients, EditorCommands& editing, SendController& sends)
    : QObject(&window), window_(window), session_(session), windows_(windows), recipients_(recipients),
      editing_(editing), sends_(sends)
{
}

void WindowCommands::showHelp()
{
    auto* viewer = window_.findChild<HelpViewer*>(QString(), Qt::FindDirectChildrenOnly);
    if (viewer == nullptr)
        viewer = new HelpViewer(&window_);
    viewer->showContents(session_.folder);
}

void WindowCommands::showArchive()
{
    if (!recipients_.AnyAbonentTicked()) {
        Prompts::message(tr("Необходимо выбрать абонента"));
        return;
    }
    if (recipients_.AnyGroupTicked()) {
        Prompts::message(tr("Невозможно посмотреть архив для группы абонентов"));
        return;
    }
    windows_.fmArchive->SetArchiveName(session_.SendParams.CurName);
    // Closed through "Вы&бор": the chosen block is on the clipboard, ready for one paste.
    if (windows_.fmArchive->showModal() == 1)
        editing_.setPasteAvailable(true);
}

void WindowCommands::deleteArchives()
{
    windows_.fmDelArch->showModal();
}

void WindowCommands::showQueue()
{
    TfmQueue& queue = *windows_.fmQueue;
    queue.setOutbox(sends_.outbox(false));
    queue.show();
    queue.raise();
    queue.activateWindow();
}

void WindowCommands::showNotSent()
{
    TfmQueue& queue = *windows_.fmQueue;
    queue.setOutbox(sends_.outbox(false));
    queue.showNotSent();
}

void WindowCommands::showJournal()
{
    windows_.fmLogView->showModal();
}

// The next start or Send creates the journal again, empty. A journal that could not be removed is said
// so: the operator was asked and answered, and must not believe it gone.
void WindowCommands::deleteJournal()
{
    if (!Prompts::ask(tr("Подтверждение"), tr("Вы, действительно, хотите удалить журнал работы?"),
                      PromptIcon::Stop))
        return;
    if (const int err = DeleteJournal(session_.journal.path()); err != 0)
        Prompts::message(
            tr("Не удалось удалить журнал работы: %1").arg(ioErrorText(ioCodeFromErrno(err)).shown()),
            PromptIcon::Warning);
}

void WindowCommands::showNotice()
{
    windows_.fmSmile->showModal();
}

void WindowCommands::showAbout()
{
    windows_.fmAbout->showModal();
}

} // namespace zolbin
