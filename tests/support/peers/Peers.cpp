// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/peers/Peers.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace zolbin::test {

namespace {

// The peer scripts live beside this file in the source tree.
std::string script(const char* name)
{
    return std::string(ZOLBIN_SOURCE_DIR) + "/tests/support/peers/" + name;
}

} // namespace

PeerFolder::PeerFolder()
{
    std::string pattern = (fs::temp_directory_path() / "zolbin-peer-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

PeerFolder::~PeerFolder()
{
    std::error_code ec;
    fs::remove_all(path_, ec);
}

std::string PeerFolder::read(const std::string& name) const
{
    std::ifstream in(file(name), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

SnppPeer::SnppPeer()
    : process_("/usr/bin/perl", {script("snpp_peer.pl"), "0", folder_.file("received.txt")},
               folder_.file("stderr.txt"))
{
}

std::vector<std::string> SnppPeer::receivedLines() const
{
    const std::string all = folder_.read("received.txt");
    std::vector<std::string> lines;
    std::size_t from = 0;
    while (from < all.size()) {
        const std::size_t end = all.find('\n', from);
        const std::size_t next = end == std::string::npos ? all.size() : end + 1;
        lines.push_back(all.substr(from, next - from));
        from = next;
    }
    return lines;
}

int SnppPeer::sessions()
{
    int count = 0;
    for (const std::string& event : process_.events(0))
        if (event.rfind("session ", 0) == 0)
            ++count;
    return count;
}

namespace {

std::vector<std::string> smtpPeerArgs(const std::string& folder, const std::vector<std::string>& options)
{
    std::vector<std::string> args{script("smtp_peer.py"), folder};
    args.insert(args.end(), options.begin(), options.end());
    return args;
}

} // namespace

SmtpPeer::SmtpPeer(const std::vector<std::string>& options)
    : process_("/usr/bin/python3", smtpPeerArgs(folder_.path(), options), folder_.file("stderr.txt"))
{
}

std::vector<SmtpPeer::Mail> SmtpPeer::mails() const
{
    std::vector<Mail> mails;
    for (int n = 1;; ++n) {
        const std::string base = "mail-" + std::to_string(n);
        if (!fs::exists(folder_.file(base + ".data")))
            break;
        Mail mail;
        mail.from = folder_.read(base + ".from");
        std::istringstream to(folder_.read(base + ".to"));
        for (std::string line; std::getline(to, line);)
            mail.to.push_back(line);
        mail.data = folder_.read(base + ".data");
        mails.push_back(std::move(mail));
    }
    return mails;
}

} // namespace zolbin::test
