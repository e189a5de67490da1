// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/TapTerminal.h"

#include <arpa/inet.h>
#include <chrono>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace zolbin::test {

namespace {

constexpr char STX = 2, ETX = 3, EOT = 4, ACK = 6, CR = 13, NAK = 21, ETB = 23, SUB = 26, ESC = 27, RS = 30,
               US = 31;
// The longest the terminal waits for the client within a session: no test hangs on it.
constexpr int WaitLimitMs = 20000;

std::string unescaped(const std::string& field)
{
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i)
        out += field[i] == SUB && i + 1 < field.size() ? static_cast<char>(field[++i] - 64) : field[i];
    return out;
}

} // namespace

std::string TapTerminal::ChecksumOf(const std::string& block)
{
    int total = 0;
    for (const char c : block)
        total += static_cast<unsigned char>(c) % 128;
    total %= 4096;
    return {static_cast<char>('0' + total / 256), static_cast<char>('0' + total / 16 % 16),
            static_cast<char>('0' + total % 16)};
}

TapTerminal::TapTerminal(TapBehaviour behaviour) : behaviour_(std::move(behaviour))
{
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 4) != 0)
        throw std::runtime_error("TAP terminal: no loopback port");
    socklen_t len = sizeof address;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &len);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { runTcp(); });
}

TapTerminal::TapTerminal(TapBehaviour behaviour, ModemBehaviour modem)
    : behaviour_(std::move(behaviour)), modem_(std::move(modem))
{
    char name[128] = {};
    if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
        throw std::runtime_error("TAP terminal: no pseudo-terminal");
    slavePath_ = name; // our own slave stays open, so the master lives on between the client's calls
    thread_ = std::thread([this] { runModem(); });
}

TapTerminal::~TapTerminal()
{
    stop_ = true;
    thread_.join();
    for (int fd : {listener_, master_, slave_})
        if (fd >= 0)
            ::close(fd);
}

std::vector<TapPage> TapTerminal::pages() const
{
    std::lock_guard lock(mutex_);
    return pages_;
}

std::string TapTerminal::received() const
{
    std::lock_guard lock(mutex_);
    return received_;
}

std::vector<std::string> TapTerminal::dialled() const
{
    std::lock_guard lock(mutex_);
    return dialled_;
}

std::vector<std::pair<long, long>> TapTerminal::escapeGuards() const
{
    std::lock_guard lock(mutex_);
    return escapeGuards_;
}

bool TapTerminal::readByte(int fd, char& c)
{
    const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(WaitLimitMs);
    while (!stop_ && std::chrono::steady_clock::now() < limit) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0)
            continue;
        if (::read(fd, &c, 1) != 1)
            return false;
        std::lock_guard lock(mutex_);
        received_ += c;
        byteBeforeAt_ = lastByteAt_;
        lastByteAt_ = std::chrono::steady_clock::now();
        return true;
    }
    return false;
}

void TapTerminal::write(int fd, const std::string& bytes)
{
    (void)!::write(fd, bytes.data(), bytes.size());
}

void TapTerminal::writeSlowly(int fd, const std::string& bytes, int gapMs)
{
    if (gapMs == 0)
        return write(fd, bytes);
    for (const char c : bytes) {
        write(fd, std::string(1, c));
        std::this_thread::sleep_for(std::chrono::milliseconds(gapMs));
    }
}

void TapTerminal::flood(int fd, const std::string& bytes)
{
    const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(WaitLimitMs);
    while (!stop_ && std::chrono::steady_clock::now() < limit) {
        pollfd p{fd, POLLOUT, 0};
        if (::poll(&p, 1, 50) <= 0)
            continue;
        if ((p.revents & (POLLERR | POLLHUP)) != 0 ||
            ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) < 0)
            return;
    }
}

void TapTerminal::runTcp()
{
    while (!stop_) {
        pollfd p{listener_, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0)
            continue;
        const int client = ::accept(listener_, nullptr, nullptr);
        if (client < 0)
            continue;
        session(client);
        ::close(client);
    }
}

void TapTerminal::runModem()
{
    using Clock = std::chrono::steady_clock;
    const auto ms = [](Clock::duration d) {
        return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(d).count());
    };
    std::string command;
    long quietBefore = 0;
    Clock::time_point escapedAt{};
    char c = 0;
    while (!stop_) {
        if (!readByte(master_, c))
            continue;
        if (escapedAt != Clock::time_point{}) {
            std::lock_guard lock(mutex_);
            escapeGuards_.emplace_back(quietBefore, ms(lastByteAt_ - escapedAt));
            escapedAt = {};
        }
        if (c == '\n')
            continue;
        if (c != '\r') {
            if (c == '+' && command.find('+') == std::string::npos) {
                std::lock_guard lock(mutex_);
                quietBefore = ms(lastByteAt_ - byteBeforeAt_);
            }
            command += c;
            if (command.size() >= 3 && command.compare(command.size() - 3, 3, "+++") == 0) {
                write(master_, "\r\nOK\r\n");
                command.clear();
                std::lock_guard lock(mutex_);
                escapedAt = lastByteAt_;
            }
            continue;
        }
        write(master_, command + "\r\n"); // the echo
        if (command.rfind("ATD", 0) == 0) {
            {
                std::lock_guard lock(mutex_);
                dialled_.push_back(command.substr(4));
            }
            if (!modem_.dialAnswer.empty()) {
                write(master_, "\r\n" + modem_.dialAnswer + "\r\n");
            } else {
                write(master_, "\r\nCONNECT 9600\r\n");
                session(master_);
            }
        } else if (command.rfind("AT", 0) == 0) {
            write(master_, "\r\nOK\r\n");
        }
        command.clear();
    }
}

void TapTerminal::session(int fd)
{
    const TapBehaviour& b = behaviour_;
    int logonNaks = b.logonNaks;
    bool noise = b.noiseOnFirstBlock;
    char c = 0;
    // Waking and logging on.
    std::string line;
    for (;;) {
        if (!readByte(fd, c))
            return;
        if (c != CR) {
            line += c;
            continue;
        }
        if (line.empty()) {
            if (!b.floodBeforeId.empty())
                return flood(fd, b.floodBeforeId);
            if (!b.silent)
                write(fd, "ID=");
            continue;
        }
        if (line.rfind(std::string(1, ESC) + "PG1", 0) == 0) {
            if (b.refuseLogon || line.substr(4) != b.password) {
                write(fd, std::string{ESC, EOT, CR});
                return;
            }
            if (!b.floodOnLogon.empty())
                return flood(fd, b.floodOnLogon + CR);
            if (logonNaks-- > 0) {
                write(fd, std::string{NAK, CR});
                line.clear();
                continue;
            }
            std::string answer;
            for (const std::string& notice : b.notices)
                answer += notice + CR;
            answer +=
                std::string{ACK, CR, ESC, '[', 'p', CR} + (b.ackBeforeBlock ? std::string{ACK, CR} : "");
            writeSlowly(fd, answer, b.burstGapMs);
            break;
        }
        line.clear();
    }
    // Blocks until EOT.
    std::vector<std::string> fields;
    std::string partial;
    int naks = 0;
    int blocks = 0;
    for (;;) {
        if (!readByte(fd, c))
            return;
        if (c == EOT) {
            (void)readByte(fd, c);
            if (b.endlessClosing)
                return flood(fd, std::string{ACK, CR, NAK, CR, RS, CR, ESC, '[', 'p', CR});
            write(fd, std::string{ESC, EOT, CR});
            return;
        }
        if (c != STX)
            continue;
        if (b.closeOnBlock)
            return;
        std::string block(1, STX);
        do {
            if (!readByte(fd, c))
                return;
            block += c;
        } while (c != ETX && c != ETB && c != US);
        std::string sum;
        for (int i = 0; i < 4; ++i) {
            if (!readByte(fd, c))
                return;
            sum += c;
        }
        if (++blocks == b.silentOnBlock) {
            while (readByte(fd, c)) { // until the client hangs up
            }
            return;
        }
        if (noise) {
            block[1] = static_cast<char>(block[1] ^ 0x01);
            noise = false;
        }
        if (naks < b.blockNaks || sum != ChecksumOf(block) + CR) {
            ++naks;
            write(fd, std::string{NAK, CR});
            continue;
        }
        naks = 0;
        partial += block.substr(1, block.size() - 2);
        for (std::size_t end = partial.find(CR); end != std::string::npos; end = partial.find(CR)) {
            fields.push_back(unescaped(partial.substr(0, end)));
            partial.erase(0, end + 1);
        }
        if (block.back() != ETX) {
            write(fd, std::string{ACK, CR});
            continue;
        }
        const TapPage page{fields.empty() ? "" : fields[0], fields.size() > 1 ? fields[1] : ""};
        fields.clear();
        if (b.refusedPagers.count(page.pager) > 0) {
            write(fd, std::string{RS, CR});
            continue;
        }
        {
            std::lock_guard lock(mutex_);
            pages_.push_back(page);
        }
        write(fd, std::string{ACK, CR});
    }
}

} // namespace zolbin::test
