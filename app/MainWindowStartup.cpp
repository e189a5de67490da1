// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's creation handler: everything the program sets up before the operator sees it.

#include "app/DirectoryLoad.h"
#include "app/MainWindow.h"
#include "app/RecipientChoice.h"
#include "app/RecipientLists.h"
#include "dialogs/Splash.h"
#include "platform/Codepage.h"
#include "platform/Prompts.h"
#include "platform/ui/CommandGuard.h"
#include "platform/ui/KeyboardLayout.h"

#include <QCoreApplication>
#include <QPlainTextEdit>

namespace zolbin {

namespace {

// How often the window looks for pages others put into the outbox, and for its turn to work it.
constexpr std::int64_t OutboxPollMs = 5000;

} // namespace

// Each step that can fail reports through the command boundary and start-up goes on with the next.
void TfmSend::FormCreate()
{
    fixWindowSize();

    runCommand([this] { LoadSettings(settingsFile_, settings_); });

    if (!settings_.splashOff())
        runCommand([] { ShowSplash(); });

    QCoreApplication::setApplicationName(QStringLiteral("Zolbin Sender"));
    setWindowTitle(QStringLiteral("Zolbin Sender"));

    runCommand([this] { joinRoomDirectory(); });
    runCommand([this] { loadDirectory(); });

    layoutName_ = settings_.englishLayout() ? KeyboardLayout::English : KeyboardLayout::Russian;
    runCommand([this] { KeyboardLayout::activate(layoutName_); });

    openJournal();

    if (settings_.FontSize > 0) {
        QFont font = RichEdit->font();
        font.setPointSize(settings_.FontSize);
        RichEdit->setFont(font);
    }

    sends_->startOutboxWork(OutboxPollMs);
}

void TfmSend::loadDirectory()
{
    DirectoryLoad load(folder_);
    runCommand([&] { (void)succeeded(load.loadAbonents(abonents_)); });
    FillAbonentLines(lbAbonent, abonents_);
    runCommand([&] { (void)succeeded(load.loadGroups(groups_)); });
    FillGroupLines(lbGroup, groups_);
    runCommand([&] { (void)succeeded(load.loadProviders(providers_)); });
    if (!load.damaged().empty())
        Prompts::message(load.damageReport(), PromptIcon::Warning);
}

void TfmSend::ReloadDirectory()
{
    recipients_->DropRecipient();
    abonents_.Clear();
    groups_.Clear();
    providers_.Clear();
    loadDirectory();
}

void TfmSend::openJournal()
{
    if (const Status created = journal_.EnsureExists(); !created)
        Prompts::message(tr("Не удалось создать журнал работы %1: %2")
                             .arg(toQString(journal_.fileName()), created.failure().shown()),
                         PromptIcon::Warning);
}

} // namespace zolbin
