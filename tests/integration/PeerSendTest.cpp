// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/integration/PeerSendTest.h"

#include "tests/support/Companies.h"

#include <filesystem>
#include <iconv.h>
#include <stdexcept>

namespace zolbin::test {

std::string Encoded(const char* charset, const std::string& utf8Text)
{
    iconv_t cd = ::iconv_open(charset, "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error(std::string("iconv does not know ") + charset);
    std::string in = utf8Text;
    std::string out(in.size() * 2 + 4, '\0');
    char* inPtr = in.data();
    std::size_t inLeft = in.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    const std::size_t rc = ::iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    ::iconv_close(cd);
    if (rc == static_cast<std::size_t>(-1))
        throw std::runtime_error("text not convertible to " + std::string(charset) + ": " + utf8Text);
    out.resize(out.size() - outLeft);
    return out;
}

void PeerSendTest::SetUp()
{
    for (const char* name : {"1251-koi.cod", "1251-866.cod"})
        std::filesystem::copy_file(std::filesystem::path(ZOLBIN_SOURCE_DIR) / "data" / name,
                                   std::filesystem::path(dir.path()) / name);
    // A failing exchange ends in seconds, not in the minute the program allows a relay.
    host.Deadlines.net.connectMs = 5000;
    host.Deadlines.net.replyMs = 5000;
    host.Deadlines.net.sendMs = 5000;
    host.settings.SMTPServer = "127.0.0.1";
    host.settings.EMail = "op@example.org";
}

TProvider& PeerSendTest::addCompany(const std::string& name, std::uint8_t gate, std::uint16_t port,
                                    const std::string& charset)
{
    auto company =
        std::make_shared<TProvider>(test::LoopbackCompany(name, gate, port, charset, "@gw.example"));
    providers.Add(company);
    return *company;
}

AbonentPtr PeerSendTest::subscriber(const std::string& name, int number, const std::string& company)
{
    return SubscriberOf(company, name, number);
}

void PeerSendTest::choose(const AbonentPtr& abonent)
{
    params.CurName = abonent->Name;
    params.CurNumber = abonent->Number;
    params.CurDigital = abonent->Numeric;
    params.CurProvider = abonent->Provider;
    params.CurMaxLen = abonent->MsgLen;
}

void PeerSendTest::chooseGroup(const std::vector<AbonentPtr>& members)
{
    auto g = std::make_shared<TGroup>();
    g->Name = "Team";
    for (const AbonentPtr& m : members)
        g->Members.Add(m);
    groups.Add(g);
    group = static_cast<std::int16_t>(groups.Count() - 1);
}

} // namespace zolbin::test
