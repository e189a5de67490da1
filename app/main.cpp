// SPDX-License-Identifier: GPL-3.0-or-later
// Zolbin Sender: the entry. Answers --help and --version on the terminal without opening any window,
// takes the data folder (--data-dir, the user's data folder for a start from the desktop menu, or the
// current directory; the working directory itself is never changed), claims it for this window (a second
// window on the same folder says so and ends), creates the session on it and then every window, and runs
// the event loop until the main window is closed. Nothing is written at shutdown.

#include "app/CommandLine.h"
#include "app/DataFolderClaim.h"
#include "app/MainWindow.h"
#include "app/RunningWindow.h"
#include "app/Windows.h"
#include "platform/FileLock.h"
#include "platform/Prompts.h"
#include "platform/Translations.h"
#include "platform/ui/Pictures.h"
#include "platform/ui/QtTranslations.h"
#include "platform/ui/WidgetPrompts.h"
#include "records/Archive.h"
#include "records/Session.h"

#include <QApplication>
#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    using namespace zolbin;

    CommandLine line;
    std::string failure;
    std::string dataDir;
    {
        // Until the window's toolkit starts (it needs a display) a core application of its own gives the
        // terminal's texts the interface's language; it is gone before the window's application is made.
        int coreArgc = 1;
        QCoreApplication core(coreArgc, argv);
        installTranslations(SystemInterfaceLanguage());
        line = parseCommandLine(std::vector<std::string>(argv, argv + argc));
        switch (line.action) {
        case CommandLine::Action::Help:
            std::fputs(usageText().c_str(), stdout);
            return 0;
        case CommandLine::Action::Version:
            std::puts(versionText().c_str());
            return 0;
        case CommandLine::Action::Error:
            std::fprintf(stderr, "zolbin: %s\n\n%s", line.error.c_str(), usageText().c_str());
            return 2;
        case CommandLine::Action::Run:
            break;
        }
        // Without a display the toolkit would abort; nothing is created before this point.
        if (!GraphicalSessionAvailable(line, [](const char* name) { return std::getenv(name); })) {
            std::fprintf(stderr, "zolbin: %s\n", noGraphicalSessionText().c_str());
            return 2;
        }
        // A failure to reach the data folder goes to the terminal; started from the desktop menu, where
        // nobody reads the terminal, it is shown in a message box as well.
        dataDir = chooseDataDir(line);
        if (!dataDir.empty())
            failure = prepareDataDir(dataDir);
        if (!failure.empty()) {
            std::fprintf(stderr, "zolbin: %s\n", failure.c_str());
            if (!line.desktop)
                return 1;
        }
    }

    // The toolkit takes its own options out of the arguments; whatever is left is unknown.
    std::vector<std::string> rest = line.other;
    std::vector<char*> qtArgv;
    for (std::string& arg : rest)
        qtArgv.push_back(arg.data());
    qtArgv.push_back(nullptr);
    int qtArgc = static_cast<int>(rest.size());
    QApplication app(qtArgc, qtArgv.data());
    // The interface speaks the user's language when it is English, Russian otherwise; Qt's own texts
    // follow it (without the package they stay English).
    const InterfaceLanguage language = SystemInterfaceLanguage();
    installTranslations(language);
    if (language == InterfaceLanguage::Russian)
        (void)installQtTranslations();
    if (qtArgc > 1) {
        std::fprintf(stderr, "zolbin: %s\n\n%s", unknownArgumentText(qtArgv[1]).c_str(), usageText().c_str());
        return 2;
    }
    app.setWindowIcon(programIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("zolbin"));
    installWidgetPrompts();
    if (!failure.empty()) {
        Prompts::message(QApplication::translate("main", "Папка данных недоступна: %1")
                             .arg(QString::fromStdString(failure)),
                         PromptIcon::Stop);
        return 1;
    }
    // Every file of the run is opened in this folder.
    const DataFolder folder = dataDir.empty() ? DataFolder::Current() : DataFolder(dataDir);
    FileLock folderLock; // held for the whole run
    const QString windowSocket = RunningWindowSocket(folder);
    if (const std::string refusal = claimDataFolder(folder, folderLock); !refusal.empty()) {
        // The window working in the folder comes forward; only when none answers is the start refused.
        if (RunningWindow::askToComeForward(windowSocket))
            return 0;
        std::fprintf(stderr, "zolbin: %s\n", refusal.c_str());
        Prompts::message(QString::fromStdString(refusal), PromptIcon::Stop);
        return 1;
    }
    // Archives an earlier build named in code page 1251 get their UTF-8 names, now that the folder is ours.
    if (const Status migrated = MigrateArchiveNames(folder); !migrated)
        Prompts::message(migrated.failure().shown(), PromptIcon::Stop);

    Session session(folder); // outlives the windows
    Windows windows(session);
    windows.fmSend->show();
    windows.fmSend->activateWindow();
    RunningWindow running([send = windows.fmSend.get()] { send->BringForward(); });
    if (!running.listen(windowSocket))
        std::fprintf(stderr, "zolbin: %s\n",
                     QApplication::translate("main", "второй запуск не сможет показать это окно (локальный "
                                                     "сокет не создан)")
                         .toStdString()
                         .c_str());
    return app.exec();
}
