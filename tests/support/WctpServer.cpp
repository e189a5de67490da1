// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/WctpServer.h"

#include <QXmlStreamReader>
#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace zolbin::test {

namespace {

using Clock = std::chrono::steady_clock;

struct Expected
{
    const char* element;
    std::vector<const char*> required; // attributes
};

// The start elements of a submit request in their order, and the attributes each must carry.
const std::vector<Expected>& submitShape()
{
    static const std::vector<Expected> shape = {{"wctp-Operation", {"wctpVersion"}},
                                                {"wctp-SubmitRequest", {}},
                                                {"wctp-SubmitHeader", {"submitTimestamp"}},
                                                {"wctp-Originator", {"senderID"}},
                                                {"wctp-MessageControl", {"messageID"}},
                                                {"wctp-Recipient", {"recipientID"}},
                                                {"wctp-Payload", {}},
                                                {"wctp-Alphanumeric", {}}};
    return shape;
}

std::string answerFor(WctpAnswer answer)
{
    const auto wctp = [](const std::string& inner, const std::string& status = "200 OK",
                         const std::string& tail = {}) {
        const std::string body = "<?xml version=\"1.0\"?><wctp-Operation wctpVersion=\"wctp-dtd-v1r3\">"
                                 "<wctp-Confirmation>" +
                                 inner + "</wctp-Confirmation></wctp-Operation>" + tail;
        return "HTTP/1.1 " + status +
               "\r\nContent-Type: text/xml\r\nContent-Length: " + std::to_string(body.size()) +
               "\r\nConnection: close\r\n\r\n" + body;
    };
    const auto page = [](const std::string& status, const std::string& body) {
        return "HTTP/1.1 " + status +
               "\r\nContent-Type: text/html\r\nContent-Length: " + std::to_string(body.size()) +
               "\r\nConnection: close\r\n\r\n" + body;
    };
    switch (answer) {
    case WctpAnswer::Accepted:
        return wctp("<wctp-Success successCode=\"200\" successText=\"Accepted\"/>");
    case WctpAnswer::BadSender:
        return wctp("<wctp-Failure errorCode=\"401\" errorText=\"Invalid senderID\"/>");
    case WctpAnswer::UnknownRecipient:
        return wctp("<wctp-Failure errorCode=\"403\" errorText=\"Unknown recipient &amp; no route\"/>");
    case WctpAnswer::Busy:
        return wctp("<wctp-Failure errorCode=\"604\" errorText=\"Busy, try later\"/>");
    case WctpAnswer::Http500Success:
        return wctp("<wctp-Success successCode=\"200\" successText=\"Accepted\"/>",
                    "500 Internal Server Error");
    case WctpAnswer::SuccessThenBroken:
        return wctp("<wctp-Success successCode=\"200\" successText=\"Accepted\"/>", "200 OK", "<junk");
    case WctpAnswer::Http500:
        return page("500 Internal Server Error", "<html><body>down</body></html>");
    default:
        return page("200 OK", "<html><body>Welcome</body></html>");
    }
}

} // namespace

std::string CheckWctpSubmit(const std::string& document, std::map<std::string, std::string>& values)
{
    QXmlStreamReader xml(QByteArray::fromStdString(document));
    std::size_t next = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const std::string name = xml.name().toString().toStdString();
        if (next >= submitShape().size() || name != submitShape()[next].element)
            return "unexpected element " + name;
        for (const char* attribute : submitShape()[next].required)
            if (!xml.attributes().hasAttribute(QLatin1String(attribute)))
                return name + " without " + attribute;
        for (const QXmlStreamAttribute& a : xml.attributes())
            values[a.name().toString().toStdString()] = a.value().toString().toStdString();
        if (name == "wctp-Alphanumeric")
            values["text"] = xml.readElementText().toStdString();
        ++next;
    }
    if (xml.hasError())
        return "not well-formed: " + xml.errorString().toStdString();
    if (next != submitShape().size())
        return "incomplete";
    return values["wctpVersion"] == "wctp-dtd-v1r3" ? std::string() : "wrong wctpVersion";
}

WctpServer::WctpServer(std::vector<WctpAnswer> answers, const std::string& certFile,
                       const std::string& keyFile)
    : answers_(std::move(answers))
{
    if (!certFile.empty()) {
        SSL_CTX* ctx = SSL_CTX_new(TLS_server_method());
        SSL_CTX_use_certificate_file(ctx, certFile.c_str(), SSL_FILETYPE_PEM);
        SSL_CTX_use_PrivateKey_file(ctx, keyFile.c_str(), SSL_FILETYPE_PEM);
        tls_ = ctx;
    }
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof addr;
    ::bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    ::listen(listener_, 8);
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &length);
    port_ = ntohs(addr.sin_port);
    thread_ = std::thread([this] { run(); });
}

WctpServer::~WctpServer()
{
    stop_ = true;
    thread_.join();
    ::close(listener_);
    SSL_CTX_free(static_cast<SSL_CTX*>(tls_));
}

std::vector<WctpRequest> WctpServer::received() const
{
    std::lock_guard lock(mutex_);
    return received_;
}

void WctpServer::run()
{
    while (!stop_) {
        pollfd p{listener_, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0)
            continue;
        const int client = ::accept(listener_, nullptr, nullptr);
        if (client < 0)
            continue;
        timeval limit{5, 0};
        ::setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        ::setsockopt(client, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
        serve(client);
        ::close(client);
    }
}

void WctpServer::serve(int client)
{
    SSL* ssl = nullptr;
    if (tls_) {
        ssl = SSL_new(static_cast<SSL_CTX*>(tls_));
        SSL_set_fd(ssl, client);
        if (SSL_accept(ssl) != 1) { // the client refused our certificate
            SSL_free(ssl);
            return;
        }
    }
    const auto readSome = [&](char* buffer, int size) {
        return ssl ? SSL_read(ssl, buffer, size) : static_cast<int>(::recv(client, buffer, size, 0));
    };
    std::string data;
    std::size_t headerEnd = std::string::npos;
    std::size_t contentLength = 0;
    char buffer[4096];
    while (headerEnd == std::string::npos || data.size() < headerEnd + 4 + contentLength) {
        const int n = readSome(buffer, sizeof buffer);
        if (n <= 0)
            break;
        data.append(buffer, static_cast<std::size_t>(n));
        if (headerEnd == std::string::npos && (headerEnd = data.find("\r\n\r\n")) != std::string::npos) {
            std::string head = data.substr(0, headerEnd);
            for (char& c : head)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (const std::size_t at = head.find("content-length:"); at != std::string::npos)
                contentLength = std::stoul(head.substr(at + 15));
        }
    }
    WctpRequest request;
    const std::string requestLine = data.substr(0, data.find("\r\n"));
    request.method = requestLine.substr(0, requestLine.find(' '));
    request.path =
        requestLine.substr(request.method.size() + 1, requestLine.rfind(' ') - request.method.size() - 1);
    std::string lower = data.substr(0, headerEnd == std::string::npos ? 0 : headerEnd);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (const std::size_t at = lower.find("content-type:"); at != std::string::npos)
        request.contentType = lower.substr(at + 14, lower.find("\r\n", at) - at - 14);
    request.problem = headerEnd == std::string::npos
                          ? "no request"
                          : CheckWctpSubmit(data.substr(headerEnd + 4), request.values);
    std::size_t index = 0;
    {
        std::lock_guard lock(mutex_);
        received_.push_back(request);
        index = received_.size() - 1;
    }
    const WctpAnswer answer = answers_[std::min(index, answers_.size() - 1)];
    const auto write = [&](const std::string& bytes) {
        const int n = ssl ? SSL_write(ssl, bytes.data(), static_cast<int>(bytes.size()))
                          : static_cast<int>(::send(client, bytes.data(), bytes.size(), MSG_NOSIGNAL));
        return n == static_cast<int>(bytes.size());
    };
    if (answer == WctpAnswer::Oversized || answer == WctpAnswer::Endless) {
        // The answer's start, then more until the client hangs up (or 100 MiB, or the time limit).
        const bool endless = answer == WctpAnswer::Endless;
        constexpr std::size_t Total = 100u << 20;
        (void)write("HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\n" +
                    (endless ? std::string("Transfer-Encoding: chunked")
                             : "Content-Length: " + std::to_string(Total)) +
                    "\r\nConnection: close\r\n\r\n");
        const std::string piece(4096, ' ');
        const std::string chunk = "1000\r\n" + piece + "\r\n";
        const auto until = Clock::now() + std::chrono::seconds(10);
        while (!stop_ && Clock::now() < until && (endless || streamed_ < Total) &&
               write(endless ? chunk : piece)) {
            streamed_ += piece.size();
            if (endless) // at a network's pace: 4 KiB a millisecond
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    } else if (answer == WctpAnswer::Close) {
        ::shutdown(client, SHUT_RDWR);
    } else if (answer == WctpAnswer::Stall) {
        const auto until = Clock::now() + std::chrono::seconds(10);
        while (!stop_ && Clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    } else {
        (void)write(answerFor(answer));
    }
    if (ssl) {
        SSL_shutdown(ssl);
        SSL_free(ssl);
    }
}

} // namespace zolbin::test
