// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's secret store where there is none: no session bus, or a bus address nobody answers at.
// Either way the answer comes at once or at the time limit, never a hang, and never "found".

#include "platform/SecretStore.h"

#include "platform/keychain/KeychainStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <qt6keychain/keychain.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace zolbin;
using namespace std::chrono_literals;

namespace {

// Sets an environment variable for the test's duration (unset when value is nullptr).
class EnvironmentValue
{
public:
    EnvironmentValue(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name); old != nullptr)
            old_ = old;
        if (value != nullptr)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~EnvironmentValue()
    {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

// A bus socket that takes connections and never says a word.
class SilentBus
{
public:
    SilentBus()
    {
        path_ = "/tmp/zolbin-silent-bus-" + std::to_string(::getpid());
        ::unlink(path_.c_str());
        fd_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        path_.copy(address.sun_path, sizeof address.sun_path - 1);
        if (::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd_, 8) != 0)
            ADD_FAILURE() << "silent bus not set up";
        address_ = "unix:path=" + path_;
    }
    ~SilentBus()
    {
        ::close(fd_);
        ::unlink(path_.c_str());
    }
    const char* address() const { return address_.c_str(); }

private:
    int fd_ = -1;
    std::string path_, address_;
};

QCoreApplication& app()
{
    static int argc = 1;
    static char name[] = "secret-store-test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication instance(argc, argv);
    return instance;
}

TEST(KeychainStore, WithoutAWorkingBusEveryRequestEndsPromptlyAndFindsNothing)
{
    app();
    const SilentBus silent;
    constexpr std::chrono::milliseconds Limit = 2000ms;
    struct Case
    {
        const char* bus; // nullptr: unset
        std::chrono::milliseconds within;
        std::optional<SecretStore::Outcome> outcome; // of the read, where it is certain
    };
    const Case cases[] = {
        // "At once" is well below one limit (a loaded test machine may still take a while); a wait would
        // take two.
        {nullptr, Limit / 2, SecretStore::Outcome::NoStore},                         // asked nothing
        {"", Limit / 2, SecretStore::Outcome::NoStore},                              // the same
        {"unix:path=/nonexistent/zolbin-test-bus", Limit + Limit / 2, std::nullopt}, // refused at once
        // Never answered: the limit ends each request (or the bus library gives up first, depending on
        // what it kept of the earlier cases); either way no hang and nothing found.
        {silent.address(), 2 * Limit + 3000ms, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bus == nullptr ? "unset" : c.bus);
        const EnvironmentValue bus("DBUS_SESSION_BUS_ADDRESS", c.bus);
        KeychainStore store(Limit);
        QElapsedTimer clock;
        clock.start();
        const SecretStore::Answer read = store.read(SmtpSecretKey("smtp.test", "u"));
        const SecretStore::Answer written = store.write(SmtpSecretKey("smtp.test", "u"), "pw");
        EXPECT_LT(clock.elapsed(), c.within.count());
        for (const SecretStore::Answer& answer : {read, written}) {
            EXPECT_NE(answer.outcome, SecretStore::Outcome::Done);
            EXPECT_NE(answer.outcome, SecretStore::Outcome::NotFound);
            EXPECT_TRUE(answer.secret.empty());
            EXPECT_FALSE(answer.reason.empty());
        }
        if (c.outcome) {
            EXPECT_EQ(read.outcome, *c.outcome);
        }
    }
}

TEST(KeychainStore, TheKeyNamesTheLoginAndTheServer)
{
    EXPECT_EQ(SmtpSecretKey("smtp.example.test", "oper"), "smtp:oper@smtp.example.test");
    EXPECT_NE(SmtpSecretKey("a", "b"), SmtpSecretKey("b", "a"));
    EXPECT_EQ(SmtpSecretKey("mail", "\xCE\xEF"), "smtp:Оп@mail"); // cp1251 in, UTF-8 out
}

// The operator never reads the library's English: each of its errors is a Russian sentence.
TEST(KeychainStore, EveryErrorOfTheLibraryIsToldInRussian)
{
    for (const QKeychain::Error error :
         {QKeychain::CouldNotDeleteEntry, QKeychain::AccessDeniedByUser, QKeychain::AccessDenied,
          QKeychain::NoBackendAvailable, QKeychain::NotImplemented, QKeychain::OtherError}) {
        const std::string text = SecretStoreErrorText(error);
        ASSERT_GT(text.size(), 2u) << error;
        EXPECT_EQ(static_cast<unsigned char>(text[0]), 0xD0) << text; // a capital Cyrillic letter
        EXPECT_EQ(text.back(), '.') << text;
    }
    EXPECT_EQ(SecretStoreErrorText(QKeychain::NoError), "");
}

} // namespace
