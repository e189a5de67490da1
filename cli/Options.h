// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command line of zolbin-send:
//   zolbin-send [--data-dir DIR] (--to NAME | --group NAME | --number N --company NAME)
//               [--defer "dd.mm.yyyy hh:mm"] [--repeat 1|2 --interval hh:mm] [--no-signature]
//               [--stop-on-error] [--quiet] [--smtp-password-file FILE] [--tap-device DEVICE]
//               [--gsm-device DEVICE] [--sim-pin-file FILE] [--queue] [MESSAGE ...]
//   zolbin-send [--data-dir DIR] --list subscribers|groups|companies
//   zolbin-send [--data-dir DIR] [--outbox URI] --list outbox [--all]
//   zolbin-send [--data-dir DIR] [--outbox URI] --directory-import DIR | --directory-export DIR
//   zolbin-send [--data-dir DIR] --work-outbox [--follow] [--quiet] [--smtp-password-file FILE]
//               [--tap-device DEVICE] [--gsm-device DEVICE] [--sim-pin-file FILE] [--gates LIST]
//               [--listen-snpp HOST:PORT] [--listen-http HOST:PORT]
// Every form takes --outbox URI (the shared outbox instead of the settings' one).
// Values are taken as given (UTF-8); their meaning is checked against the directory later.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zolbin {

struct SendOptions
{
    enum class Action
    {
        Send,
        List,
        WorkOutbox,
        DirectoryImport,
        DirectoryExport,
        Help,
        Version
    };
    enum class Listing
    {
        Subscribers,
        Groups,
        Companies,
        Outbox
    };

    Action action = Action::Send;
    Listing listing = Listing::Subscribers;
    std::optional<std::string> dataDir;
    std::optional<std::string> to, group, number, company;
    std::optional<std::string> defer, repeat, interval;
    std::optional<std::string> smtpPasswordFile;
    std::optional<std::string> tapDevice; // the modem's serial device instead of the settings' one
    std::optional<std::string> gsmDevice; // the GSM modem's device instead of the settings' one
    std::optional<std::string> simPinFile;
    std::optional<std::string> outbox; // the shared outbox's address instead of the settings' one
    std::optional<std::string> gatesText;
    std::optional<std::uint32_t> gates;    // the gates this run sends instead of the settings' ones
    std::optional<std::string> listenSnpp; // --work-outbox --follow: the SNPP listener's HOST:PORT
    std::optional<std::string> listenHttp; // --work-outbox --follow: the HTTP intake's HOST:PORT
    std::optional<std::string> directoryImport, directoryExport; // the folder of the list files moved
    bool noSignature = false;
    bool stopOnError = false;
    bool quiet = false;
    bool queue = false;               // the pages go into the outbox for a worker; nothing is sent now
    bool follow = false;              // --work-outbox: keep working as pages come, until stopped
    bool all = false;                 // --list outbox: every page kept, not only the recent ones
    std::vector<std::string> message; // the words of the message; empty: read standard input
};

// The arguments after the program's name. Throws CliError (usage) for anything that does not fit.
SendOptions ParseArguments(const std::vector<std::string>& arguments);

// The text of --help in the interface's language (UTF-8).
std::string UsageText();

} // namespace zolbin
