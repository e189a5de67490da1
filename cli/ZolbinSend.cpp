// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ZolbinSend.h"

#include "cli/ConsoleHost.h"
#include "cli/DirectoryReader.h"
#include "cli/DirectoryTransfer.h"
#include "cli/ExitStatus.h"
#include "cli/Listing.h"
#include "cli/Options.h"
#include "cli/SendRequest.h"
#include "cli/SimPin.h"
#include "cli/SmtpPassword.h"
#include "cli/TerminalText.h"
#include "cli/WorkOutbox.h"
#include "dispatch/OutboxLedger.h"
#include "dispatch/OutboxOrders.h"
#include "dispatch/SendJob.h"
#include "platform/Codepage.h"
#include "platform/FileIo.h"
#include "platform/SecretStore.h"
#include "platform/keychain/KeychainStore.h"
#include "records/OutboxLocks.h"
#include "records/Session.h"

#include <QCoreApplication>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iterator>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace zolbin {

namespace {

namespace fs = std::filesystem;

// The data folder named on the command line, else the current one. A worker of the outbox creates the
// folder it is given (a service started before the window ever ran): it will find pages there once the
// window or a sender writes them.
DataFolder dataFolderOf(const std::optional<std::string>& dir, bool create)
{
    if (!dir)
        return DataFolder::Current();
    std::error_code ec;
    if (create)
        fs::create_directories(*dir, ec);
    if (!fs::is_directory(*dir, ec))
        throw FileError(
            QCoreApplication::translate("ZolbinSend", "папка данных «%1» не найдена").arg(argText(*dir)));
    if (::access(dir->c_str(), X_OK) != 0)
        throw FileError(
            QCoreApplication::translate("ZolbinSend", "папка данных «%1»: %2")
                .arg(argText(*dir), QString::fromLocal8Bit(std::generic_category().message(errno))));
    return DataFolder(*dir);
}

// The journal must take lines before the first connection: a send whose steps cannot be journaled
// stops at its first line, possibly after a page has left.
void prepareJournal(const TJournal& journal)
{
    if (const Status created = journal.EnsureExists(); !created)
        throw FileError(journal.fileName() + ": " + created.failure().shown().toStdString());
    if (const Status appended = appendToFile(journal.path(), {}); !appended)
        throw FileError(journal.fileName() + ": " + appended.failure().shown().toStdString());
}

// The password file when one is named, else the secret store (asked only when the dialogue needs it and
// a login is set; without a session bus it is not asked at all).
std::function<std::string()> passwordSource(std::optional<std::string> filePassword, const Session& session,
                                            std::ostream& err)
{
    if (filePassword)
        return [password = std::move(*filePassword)] { return password; };
    return [&session, &err]() -> std::string {
        const TSettings& settings = session.settings;
        if (settings.SMTPUser.empty() || std::getenv("DBUS_SESSION_BUS_ADDRESS") == nullptr)
            return {};
        KeychainStore store;
        SecretStore::Answer answer = store.read(SmtpSecretKey(settings.SMTPServer, settings.SMTPUser));
        switch (answer.outcome) {
        case SecretStore::Outcome::Done:
            return std::move(answer.secret);
        case SecretStore::Outcome::NotFound:
            err << "zolbin-send: "
                << QCoreApplication::translate("ZolbinSend",
                                               "пароль SMTP для «%1» не найден в хранилище паролей")
                       .arg(argText(utf8(settings.SMTPUser)))
                       .toStdString()
                << '\n';
            break;
        case SecretStore::Outcome::NoStore:
            break;
        case SecretStore::Outcome::TimedOut:
        case SecretStore::Outcome::Failed:
            err << "zolbin-send: " << answer.reason << '\n';
            break;
        }
        return {};
    };
}

// This run's devices and outbox instead of the settings' ones: the settings file is not written.
void useDevices(const SendOptions& options, Session& session)
{
    if (options.outbox)
        session.settings.OutboxDatabase = *options.outbox;
    if (options.gates)
        session.settings.OutboxGates = *options.gates;
    if (options.tapDevice)
        session.settings.TapDevice = *options.tapDevice;
    if (options.gsmDevice)
        session.settings.GsmDevice = *options.gsmDevice;
}

std::unique_ptr<Outbox> openOutbox(const Session& session)
{
    Result<std::unique_ptr<Outbox>> outbox = OpenOutbox(PlaceOf(session.settings, session.folder));
    if (!outbox)
        throw FileError(outbox.failure().shown().toStdString());
    return std::move(outbox.value());
}

// The outbox a send writes into: the shared one, or this desk's own while the shared one is away (said
// on the error output, whatever --quiet says: the page is not where the settings put it).
DeskOutbox openDeskOutbox(const Session& session, std::ostream& err)
{
    Result<DeskOutbox> desk = OpenDeskOutbox(PlaceOf(session.settings, session.folder));
    if (!desk)
        throw FileError(desk.failure().shown().toStdString());
    if (desk.value().away)
        err << "zolbin-send: " << desk.value().away->shown().toStdString() << '\n'
            << QCoreApplication::translate("ZolbinSend",
                                           "Общая очередь недоступна: сообщение в очереди этого места")
                   .toStdString()
            << '\n'
            << std::flush;
    return std::move(desk.value());
}

// Writes the order's pages into the outbox before anything is sent; nothing is sent when it cannot.
int enqueue(SendOrder& order, Outbox& outbox, PageHolder holder, const Session& session,
            std::uint32_t gates = AllGates)
{
    const Result<int> pages =
        EnqueueOrder(order, outbox, holder, session.settings.RetryMinutes, NowMs(), gates);
    if (!pages)
        throw FileError(pages.failure().shown().toStdString());
    return pages.value();
}

// The pages of gates another machine sends, waited for in the shared outbox until each has reached its
// end, at most the retries' minutes and five more: Accepted when all went out.
int awaitOthers(Outbox& outbox, const std::vector<std::string>& ids, const Session& session, bool quiet,
                std::ostream& err)
{
    if (!quiet)
        err << QCoreApplication::translate("ZolbinSend", "Сообщений для шлюзов, которые отправляет другая "
                                                         "машина: %1; ожидание их исхода в общей очереди")
                   .arg(ids.size())
                   .toStdString()
            << '\n'
            << std::flush;
    const int minutes = std::max(0, session.settings.RetryMinutes) + 5;
    const auto until = std::chrono::steady_clock::now() + std::chrono::minutes(minutes);
    std::vector<std::string> waiting = ids;
    int status = ExitStatus::Accepted;
    while (!waiting.empty()) {
        std::erase_if(waiting, [&](const std::string& id) {
            const Result<std::optional<OutboxPage>> page = outbox.Page(id);
            if (!page || (page.value() && !IsFinished(page.value()->state)))
                return false;
            if (!page.value() || page.value()->state != PageState::Sent) {
                status = ExitStatus::NotAccepted;
                err << "zolbin-send: "
                    << QCoreApplication::translate("ZolbinSend", "Сообщение не отправлено: %1")
                           .arg(page.value() ? toQString(page.value()->lastReply)
                                             : QString::fromStdString(id))
                           .toStdString()
                    << '\n';
            }
            return true;
        });
        if (waiting.empty())
            break;
        if (std::chrono::steady_clock::now() >= until) {
            err << "zolbin-send: "
                << QCoreApplication::translate(
                       "ZolbinSend", "Исход не дождались за %1 мин; сообщения остаются в общей очереди")
                       .arg(minutes)
                       .toStdString()
                << '\n';
            return ExitStatus::NotAccepted;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
    }
    return status;
}

int send(const SendOptions& options, Session& session, std::optional<std::string> filePassword,
         std::optional<std::string> filePin, const SendDeadlines& deadlines, std::istream& in,
         std::ostream& err)
{
    const MessageText message = options.message.empty()
                                    ? MessageFromInput(std::string(std::istreambuf_iterator<char>(in),
                                                                   std::istreambuf_iterator<char>()))
                                    : MessageFromWords(options.message);
    useDevices(options, session);
    const SendRequest request = PrepareSend(options, session, message);
    session.SendParams = request.params;
    session.CurGroup = request.curGroup;
    SendOrder order =
        TakeOrder(session.folder, session.SendParams, session.CurGroup, session.groups, session.providers);
    order.lines = message.lines;
    order.text = message.text;
    order.signatureBlocked = options.noSignature;
    const bool room = !session.settings.OutboxDatabase.empty();
    const DeskOutbox desk = openDeskOutbox(session, err);
    order.outboxPlace = desk.place;
    Outbox& outbox = *desk.outbox;
    if (options.queue) {
        const int pages = enqueue(order, outbox, PageHolder::Worker, session);
        if (!options.quiet)
            err << QCoreApplication::translate("ZolbinSend", "Сообщений поставлено в очередь: %1")
                       .arg(pages)
                       .toStdString()
                << '\n';
        return ExitStatus::Accepted;
    }
    prepareJournal(session.journal);
    // The file lock keeps a recovery of the folder's outbox off this send's pages; a shared outbox's
    // claims hold by their leases.
    SenderLock sending;
    if (!outbox.Shared())
        if (const Status held = sending.hold(session.folder); !held)
            throw FileError(held.failure().shown().toStdString());
    // In a room this machine sends the pages of its own gates; the others wait for the workers of theirs.
    enqueue(order, outbox, PageHolder::Sender, session, room ? session.settings.OutboxGates : AllGates);
    const std::vector<std::string> others = order.othersPageIds;
    const bool onlyOthers = !others.empty() && others.size() == order.pageIds.size();

    ConsoleHost host(session, message.lines, message.text, options.noSignature, options.quiet,
                     options.stopOnError, err);
    host.Deadlines = deadlines;
    host.setSmtpPasswordSource(passwordSource(std::move(filePassword), session, err));
    host.setSimPinSource(SimPinSource(std::move(filePin), session, err));
    if (!options.quiet && !request.serviceSummary.empty())
        err << request.serviceSummary.shown().toStdString() << '\n';
    // The window's send job, run here on the program's own thread: nothing else needs it meanwhile.
    SendJob job(std::move(order));
    const SendOutcome outcome = job.runWith(host);
    if (outcome == SendOutcome::Refused)
        return ExitStatus::Usage;
    // Kept in this desk's outbox while the shared one is away: not sent yet.
    const int theirs = others.empty() ? ExitStatus::Accepted
                       : desk.away    ? ExitStatus::NotAccepted
                                      : awaitOthers(outbox, others, session, options.quiet, err);
    if (onlyOthers)
        return theirs;
    if (job.pageFailed() || host.skipped() != 0 || theirs != ExitStatus::Accepted)
        return ExitStatus::NotAccepted;
    // Every page the command reached was accepted: a journal or archive that could not be written is the
    // only failure left to tell.
    if (job.fileErrorSeen())
        return ExitStatus::FileError;
    return outcome == SendOutcome::Completed ? ExitStatus::Accepted : ExitStatus::NotAccepted;
}

int work(const SendOptions& options, Session& session, std::optional<std::string> filePassword,
         std::optional<std::string> filePin, const SendDeadlines& deadlines, std::ostream& err)
{
    WorkOptions work;
    work.deadlines = deadlines;
    work.follow = options.follow;
    work.quiet = options.quiet;
    work.listenSnpp = options.listenSnpp;
    work.listenHttp = options.listenHttp;
    work.adjustSettings = [&options](Session& read) { useDevices(options, read); };
    work.prepareHost = [&](ConsoleHost& host) {
        host.setSmtpPasswordSource(passwordSource(filePassword, session, err));
        host.setSimPinSource(SimPinSource(filePin, session, err));
    };
    return WorkOutbox(session, work, err);
}

} // namespace

ZolbinSend::ZolbinSend(Session& session, std::istream& in, std::ostream& out, std::ostream& err)
    : session_(session), in_(in), out_(out), err_(err)
{
}

int ZolbinSend::Run(const std::vector<std::string>& arguments)
{
    try {
        const SendOptions options = ParseArguments(arguments);
        switch (options.action) {
        case SendOptions::Action::Help:
            out_ << UsageText();
            return ExitStatus::Accepted;
        case SendOptions::Action::Version:
            out_ << "zolbin-send (Zolbin Sender " ZOLBIN_VERSION ")\n";
            return ExitStatus::Accepted;
        case SendOptions::Action::List:
        case SendOptions::Action::Send:
        case SendOptions::Action::WorkOutbox:
        case SendOptions::Action::DirectoryImport:
        case SendOptions::Action::DirectoryExport:
            break;
        }
        // A relative name is the caller's, as is a relative data folder.
        std::optional<std::string> filePassword;
        std::optional<std::string> filePin;
        if (options.action == SendOptions::Action::Send ||
            options.action == SendOptions::Action::WorkOutbox) {
            filePassword = SmtpPasswordFromFile(options.smtpPasswordFile, std::getenv(PasswordFileVariable));
            filePin = SimPinFromFile(options.simPinFile);
        }
        session_.UseFolder(dataFolderOf(options.dataDir, options.action == SendOptions::Action::WorkOutbox));
        if (options.directoryImport || options.directoryExport)
            return TransferDirectory(options, session_, out_);
        ReadDirectory(session_);
        useDevices(options, session_);
        if (options.action == SendOptions::Action::Send ||
            (options.action == SendOptions::Action::List && options.listing != SendOptions::Listing::Outbox))
            ReadRoomDirectory(session_, err_);
        if (options.action == SendOptions::Action::List) {
            const std::vector<std::string> lines =
                options.listing == SendOptions::Listing::Outbox
                    ? OutboxLines(*openOutbox(session_), options.all ? 0 : NowMs() - 24LL * 60 * 60 * 1000)
                    : ListingLines(options.listing, session_);
            for (const std::string& line : lines)
                out_ << line << '\n';
            return ExitStatus::Accepted;
        }
        if (options.action == SendOptions::Action::WorkOutbox)
            return work(options, session_, std::move(filePassword), std::move(filePin), deadlines_, err_);
        return send(options, session_, std::move(filePassword), std::move(filePin), deadlines_, in_, err_);
    } catch (const CliError& error) {
        err_ << "zolbin-send: " << error.what() << '\n';
        if (error.status() == ExitStatus::Usage)
            err_ << QCoreApplication::translate("ZolbinSend", "Справка: zolbin-send --help").toStdString()
                 << '\n';
        return error.status();
    }
}

} // namespace zolbin
