// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A WCTP carrier of our own on 127.0.0.1 (a free port), over HTTP or, given a certificate and key, HTTPS.
// It reads each posted request with its own XML reading, checks it is a WCTP 1.3 submit request with its
// elements in order and the attributes they need, and answers from a script (the last answer repeats).
// Each wait has a time limit; it stops when destroyed.

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zolbin::test {

enum class WctpAnswer
{
    Accepted,          // wctp-Success 200
    BadSender,         // wctp-Failure 401
    UnknownRecipient,  // wctp-Failure 403
    Busy,              // wctp-Failure 604
    Http500,           // HTTP 500 with a page of text
    NotWctp,           // HTTP 200 with an HTML page
    Stall,             // reads the request and never answers
    Close,             // reads the request and hangs up without a word
    Http500Success,    // HTTP 500 whose body is a wctp-Success 200
    SuccessThenBroken, // HTTP 200: a whole wctp-Success, then the document breaks off in a tag
    Oversized,         // HTTP 200 announcing and sending 100 MiB
    Endless            // HTTP 200, chunked, streaming chunks until the client hangs up
};

struct WctpRequest
{
    std::string method, path, contentType;
    std::string problem;                       // empty when the document is a valid submit request
    std::map<std::string, std::string> values; // attribute name (or "text") -> value, UTF-8
};

class WctpServer
{
public:
    explicit WctpServer(std::vector<WctpAnswer> answers, const std::string& certFile = {},
                        const std::string& keyFile = {});
    ~WctpServer();
    WctpServer(const WctpServer&) = delete;
    WctpServer& operator=(const WctpServer&) = delete;

    std::uint16_t port() const { return port_; }
    std::vector<WctpRequest> received() const;
    // The bytes of answers the client took before it hung up (the streaming answers).
    std::size_t streamed() const { return streamed_; }

private:
    void run();
    void serve(int client);

    int listener_ = -1;
    std::uint16_t port_ = 0;
    std::vector<WctpAnswer> answers_;
    void* tls_ = nullptr; // SSL_CTX
    mutable std::mutex mutex_;
    std::vector<WctpRequest> received_;
    std::atomic<std::size_t> streamed_{0};
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// Checks a WCTP 1.3 submit request; fills the values and returns the first problem, or empty.
std::string CheckWctpSubmit(const std::string& document, std::map<std::string, std::string>& values);

} // namespace zolbin::test
