// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A plain HTTP/1.1 client for the tests and benchmarks of servers that run on the caller's event loop: the
// calls block on a thread of their own (ServingWhile) while the caller's thread serves. Every read waits
// 10 s at most.

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <cstdint>
#include <future>
#include <string>
#include <utility>
#include <vector>

namespace zolbin::test {

struct HttpResponse
{
    int status = 0; // 0: no answer
    std::string head;
    std::string body;
};

// "POST /v1/pages HTTP/1.1" with Host, Content-Length (of body unless a header gives its own), the
// headers given ("Name: value") and the body.
std::string HttpRequestText(const std::string& method, const std::string& target, const std::string& body,
                            const std::vector<std::string>& headers = {});

// One connection to 127.0.0.1:port for each call: writes the request's bytes and reads one answer.
HttpResponse HttpCall(std::uint16_t port, const std::string& request);

// A connection kept open on its own: writes the requests one after the other, each answer read before the
// next request. -1 when it cannot connect.
class HttpConnection
{
public:
    explicit HttpConnection(std::uint16_t port);
    ~HttpConnection();
    HttpConnection(const HttpConnection&) = delete;
    HttpConnection& operator=(const HttpConnection&) = delete;
    bool connected() const { return fd_ >= 0; }
    HttpResponse call(const std::string& request);

private:
    int fd_ = -1;
    std::string pending_;
};

// Runs f on a thread of its own while this thread's event loop serves; waits `limit` at most (then the
// thread is still waited for, its reads being bounded).
template <typename F> auto ServingWhile(F f, std::chrono::milliseconds limit = std::chrono::seconds(30))
{
    auto result = std::async(std::launch::async, std::move(f));
    QEventLoop loop;
    QTimer poll;
    const auto until = std::chrono::steady_clock::now() + limit;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (result.wait_for(std::chrono::seconds(0)) == std::future_status::ready ||
            std::chrono::steady_clock::now() > until)
            loop.quit();
    });
    poll.start(2);
    loop.exec();
    return result.get();
}

} // namespace zolbin::test
