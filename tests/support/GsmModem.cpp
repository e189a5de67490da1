// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/GsmModem.h"

#include <QList>
#include <QString>
#include <chrono>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <unistd.h>

namespace zolbin::test {

namespace {

// The longest the modem waits for a byte of a PDU: no test hangs on it.
constexpr int WaitLimitMs = 10000;

// The default alphabet in septet order, as its characters are printed in the standard's table.
const char* const DefaultAlphabet = "@£$¥èéùìòÇ\nØø\rÅåΔ_ΦΓΛΩΠΨΣΘΞ\x1bÆæßÉ !\"#¤%&'()*+,-./0123456789:;<=>?"
                                    "¡ABCDEFGHIJKLMNOPQRSTUVWXYZÄÖÑÜ§¿abcdefghijklmnopqrstuvwxyzäöñüà";

QString escaped(int septet)
{
    switch (septet) {
    case 0x0A:
        return QStringLiteral("\f");
    case 0x14:
        return QStringLiteral("^");
    case 0x28:
        return QStringLiteral("{");
    case 0x29:
        return QStringLiteral("}");
    case 0x2F:
        return QStringLiteral("\\");
    case 0x3C:
        return QStringLiteral("[");
    case 0x3D:
        return QStringLiteral("~");
    case 0x3E:
        return QStringLiteral("]");
    case 0x40:
        return QStringLiteral("|");
    case 0x65:
        return QString(QChar(0x20AC));
    default:
        throw std::runtime_error("GSM modem: unknown escape");
    }
}

std::vector<int> octetsOf(const std::string& hex)
{
    if (hex.size() % 2 != 0)
        throw std::runtime_error("GSM modem: odd PDU");
    std::vector<int> out;
    for (std::size_t i = 0; i < hex.size(); i += 2)
        out.push_back(std::stoi(hex.substr(i, 2), nullptr, 16));
    return out;
}

} // namespace

GsmModem::Decoded GsmModem::Decode(const std::string& hex)
{
    const std::vector<int> o = octetsOf(hex);
    Decoded d;
    std::size_t i = 1 + static_cast<std::size_t>(o.at(0)); // past the service centre
    d.tpduLength = static_cast<int>(o.size() - i);
    const int first = o.at(i++);
    if ((first & 0x03) != 0x01)
        throw std::runtime_error("GSM modem: not an SMS-SUBMIT");
    const bool header = (first & 0x40) != 0;
    if ((first & 0x18) != 0)
        throw std::runtime_error("GSM modem: a validity period this modem does not expect");
    ++i; // message reference
    const int digits = o.at(i++);
    if (o.at(i++) == 0x91)
        d.number = "+";
    for (int n = 0; n < digits; ++n) {
        const int octet = o.at(i + static_cast<std::size_t>(n / 2));
        d.number += static_cast<char>('0' + (n % 2 == 0 ? octet & 0x0F : octet >> 4));
    }
    i += static_cast<std::size_t>((digits + 1) / 2);
    ++i; // protocol identifier
    d.coding = o.at(i++);
    const int length = o.at(i++);
    const std::vector<int> data(o.begin() + static_cast<std::ptrdiff_t>(i), o.end());
    std::size_t headerOctets = 0;
    if (header) {
        headerOctets = static_cast<std::size_t>(data.at(0)) + 1;
        for (std::size_t h = 1; h < headerOctets;) {
            const int id = data.at(h), len = data.at(h + 1);
            if (id == 0x00 && len == 3) {
                d.reference = data.at(h + 2);
                d.total = data.at(h + 3);
                d.sequence = data.at(h + 4);
            }
            h += 2 + static_cast<std::size_t>(len);
        }
    }
    QString text;
    if (d.coding == 0x08) {
        if (static_cast<std::size_t>(length) != data.size())
            throw std::runtime_error("GSM modem: UCS2 length");
        for (std::size_t k = headerOctets; k + 1 < data.size(); k += 2)
            text += QChar(static_cast<char16_t>(data[k] << 8 | data[k + 1]));
    } else if (d.coding == 0x00) {
        const QList<uint> alphabet = QString::fromUtf8(DefaultAlphabet).toUcs4();
        if (alphabet.size() != 128)
            throw std::runtime_error("GSM modem: its own table is wrong");
        const int skip = static_cast<int>((headerOctets * 8 + 6) / 7);
        if (static_cast<std::size_t>((length * 7 + 7) / 8) != data.size())
            throw std::runtime_error("GSM modem: 7-bit length");
        bool escape = false;
        for (int s = 0; s < length; ++s) {
            int septet = 0;
            for (int b = 0; b < 7; ++b) {
                const int bit = s * 7 + b;
                septet |= ((data.at(static_cast<std::size_t>(bit / 8)) >> (bit % 8)) & 1) << b;
            }
            if (s < skip)
                continue;
            if (escape)
                text += escaped(septet);
            else if (septet != 0x1B) {
                const auto ch = static_cast<char32_t>(alphabet[septet]);
                text += QString::fromUcs4(&ch, 1);
            }
            escape = !escape && septet == 0x1B;
        }
    } else {
        throw std::runtime_error("GSM modem: unexpected coding");
    }
    d.text = text.toStdString();
    return d;
}

GsmModem::GsmModem(GsmBehaviour behaviour) : behaviour_(std::move(behaviour))
{
    char name[128] = {};
    if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
        throw std::runtime_error("GSM modem: no pseudo-terminal");
    slavePath_ = name;
    unlocked_ = behaviour_.pin.empty() && !behaviour_.puk;
    silent_ = behaviour_.silent;
    thread_ = std::thread([this] { run(); });
}

GsmModem::~GsmModem()
{
    stop_ = true;
    thread_.join();
    ::close(master_);
    ::close(slave_);
}

std::vector<GsmMessage> GsmModem::messages() const
{
    std::lock_guard lock(mutex_);
    return messages_;
}

std::vector<std::string> GsmModem::commands() const
{
    std::lock_guard lock(mutex_);
    return commands_;
}

int GsmModem::partsAccepted() const
{
    std::lock_guard lock(mutex_);
    return accepted_;
}

bool GsmModem::readByte(char& c)
{
    const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(WaitLimitMs);
    while (!stop_ && std::chrono::steady_clock::now() < limit) {
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0)
            continue;
        return ::read(master_, &c, 1) == 1;
    }
    return false;
}

void GsmModem::write(const std::string& bytes)
{
    if (::write(master_, bytes.data(), bytes.size()) < 0)
        return;
}

void GsmModem::run()
{
    std::string command;
    char c = 0;
    while (!stop_) {
        if (!readByte(c))
            continue;
        if (c == '\n')
            continue;
        if (c == '\x1b') { // what came before it is no command
            command.clear();
            continue;
        }
        if (c != '\r') {
            command += c;
            continue;
        }
        {
            std::lock_guard lock(mutex_);
            commands_.push_back(command);
        }
        if (!silent_) {
            if (echo_ || !behaviour_.echoNoise.empty())
                write(behaviour_.echoNoise + command + "\r\n");
            answer(command);
        }
        command.clear();
    }
}

void GsmModem::answer(const std::string& command)
{
    const std::string ok = "\r\nOK\r\n";
    if (command == "AT" || command == "AT+CMGF=0") {
        write(ok);
    } else if (command == "ATZ") {
        echo_ = true;
        write(ok);
    } else if (command == "ATE0") {
        echo_ = false;
        write(ok);
    } else if (command == "AT+CPIN?") {
        const char* state = unlocked_ ? "READY" : behaviour_.puk ? "SIM PUK" : "SIM PIN";
        write(std::string("\r\n+CPIN: ") + state + "\r\n" + ok);
    } else if (command.rfind("AT+CPIN=", 0) == 0) {
        unlocked_ = !behaviour_.puk && command == "AT+CPIN=\"" + behaviour_.pin + "\"";
        write(unlocked_ ? ok : "\r\n+CME ERROR: 16\r\n");
    } else if (command.rfind("AT+CMGS=", 0) == 0 && unlocked_) {
        const auto rule = behaviour_.refusedParts.find(++submits_);
        const int code = rule == behaviour_.refusedParts.end() ? 0 : rule->second;
        if (code != NoPrompt)
            write(behaviour_.barePrompt ? "\r\n>" : "\r\n> ");
        std::string hex;
        if (!takePdu(hex))
            write(ok); // cancelled
        else if (code != NoPrompt)
            submit(hex, std::stoi(command.substr(8)), code);
    } else {
        write("\r\nERROR\r\n");
    }
}

bool GsmModem::takePdu(std::string& hex)
{
    char c = 0;
    while (readByte(c) && c != '\x1a') {
        if (c == '\x1b')
            return false;
        hex += c;
    }
    return true;
}

void GsmModem::submit(const std::string& hex, int length, int rule)
{
    if (rule == SilentAfterPdu)
        return;
    if (rule > 0) {
        write("\r\n+CMS ERROR: " + std::to_string(rule) + "\r\n");
        return;
    }
    Decoded d;
    try {
        d = Decode(hex);
    } catch (const std::exception&) {
        write("\r\n+CMS ERROR: 304\r\n");
        return;
    }
    if (d.tpduLength != length) {
        write("\r\n+CMS ERROR: 304\r\n");
        return;
    }
    {
        // Kept before the answer goes: the client may look as soon as it has it.
        std::lock_guard lock(mutex_);
        ++accepted_;
        std::map<int, Decoded>& parts = pending_[d.reference];
        parts[d.sequence] = d;
        if (static_cast<int>(parts.size()) == d.total) {
            GsmMessage m{d.number, d.coding, d.total, {}};
            for (const auto& [sequence, part] : parts)
                m.text += part.text;
            messages_.push_back(m);
            pending_.erase(d.reference);
        }
    }
    write(rule == OkWithoutReference ? "\r\nOK\r\n"
                                     : "\r\n+CMGS: " + std::to_string(submits_) + "\r\n\r\nOK\r\n");
}

} // namespace zolbin::test
