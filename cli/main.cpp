// SPDX-License-Identifier: GPL-3.0-or-later
// zolbin-send: paging from a shell with the directory, settings, journal and archive of Zolbin Sender.

#include "cli/ZolbinSend.h"
#include "platform/Translations.h"
#include "records/Session.h"

#include <QCoreApplication>
#include <csignal>
#include <exception>
#include <iostream>

int main(int argc, char** argv)
{
    // A script that pipes the progress into a reader that has quit must not kill the send half-way,
    // after a page left and before its journal lines and archive entry are written: writes to the
    // closed pipe just fail.
    std::signal(SIGPIPE, SIG_IGN);
    // The arguments are taken before the application object sees them.
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    QCoreApplication app(argc, argv);
    // Its messages in the user's language; the journal, the archive and the wire stay Russian.
    zolbin::installTranslations(zolbin::SystemInterfaceLanguage());
    try {
        // The current directory until the run takes the data folder it is given (--data-dir).
        zolbin::Session session(zolbin::DataFolder::Current());
        return zolbin::ZolbinSend(session, std::cin, std::cout, std::cerr).Run(arguments);
    } catch (const std::exception& error) {
        std::cerr << "zolbin-send: " << error.what() << '\n';
        return 1;
    }
}
