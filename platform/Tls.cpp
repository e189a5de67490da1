// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Tls.h"

#include "platform/Codepage.h"
#include "platform/Deadline.h"
#include "platform/Net.h"

#include <array>
#include <chrono>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509_vfy.h>

namespace zolbin::net {

namespace {

// OpenSSL's reason for the oldest error in its queue (ASCII), the queue emptied.
std::string openSslReason()
{
    std::string reason;
    if (const unsigned long code = ERR_get_error(); code != 0) {
        std::array<char, 256> text{};
        ERR_error_string_n(code, text.data(), text.size());
        reason = text.data();
    }
    ERR_clear_error();
    return reason.empty() ? std::string("connection broken") : reason;
}

Failure tlsFailure(const std::string& utf8Prefix, const std::string& reason)
{
    return Failure{FailureCode::Tls, cp(utf8Prefix.c_str()) + reason};
}

Failure socketFailure(int code)
{
    Winsock::SetLastError(code);
    return Failure{code, {}};
}

// Waits for what OpenSSL asked for after a call that gave `error`. 1 go on, 0 deadline passed, -1 failed.
int waitFor(int socket, int error, SteadyClock::time_point deadline)
{
    const int left = MsLeft(deadline);
    if (left == 0)
        return 0;
    return WaitReady(socket, error == SSL_ERROR_WANT_WRITE, left);
}

// After a read or write that did not complete: waits until the socket lets it go on. False, with the
// WinSock error set, when it cannot (the connection failed, or the deadline passed).
bool resumeAfter(int socket, int error, SteadyClock::time_point deadline)
{
    if (error != SSL_ERROR_WANT_READ && error != SSL_ERROR_WANT_WRITE) {
        ERR_clear_error();
        Winsock::SetLastError(Wsa::ConnectionReset);
        return false;
    }
    const int ready = waitFor(socket, error, deadline);
    if (ready == 0)
        Winsock::SetLastError(Wsa::TimedOut);
    return ready > 0;
}

} // namespace

TlsSession::TlsSession() = default;

TlsSession::~TlsSession()
{
    release();
}

void TlsSession::release()
{
    if (ssl_ != nullptr)
        SSL_free(ssl_);
    if (ctx_ != nullptr)
        SSL_CTX_free(ctx_);
    ssl_ = nullptr;
    ctx_ = nullptr;
    established_ = false;
}

Status TlsSession::Handshake(int socket, const std::string& hostName, const std::string& caFile,
                             int deadlineMs)
{
    release();
    ERR_clear_error();
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(deadlineMs);
    ctx_ = SSL_CTX_new(TLS_client_method());
    if (ctx_ == nullptr)
        return tlsFailure("Ошибка TLS: ", openSslReason());
    SSL_CTX_ctrl(ctx_, SSL_CTRL_SET_MIN_PROTO_VERSION, TLS1_2_VERSION, nullptr);
    // A server that closes without close_notify ends the connection like a plain one would.
    SSL_CTX_set_options(ctx_, SSL_OP_IGNORE_UNEXPECTED_EOF);
    SSL_CTX_set_verify(ctx_, SSL_VERIFY_PEER, nullptr);
    if (SSL_CTX_set_default_verify_paths(ctx_) != 1)
        return tlsFailure("Ошибка TLS: ", openSslReason());
    if (!caFile.empty() && SSL_CTX_load_verify_locations(ctx_, caFile.c_str(), nullptr) != 1) {
        ERR_clear_error();
        return Failure{FailureCode::Tls, cp("Не удалось прочитать файл сертификатов: ") + caFile};
    }
    ssl_ = SSL_new(ctx_);
    if (ssl_ == nullptr || SSL_set_fd(ssl_, socket) != 1)
        return tlsFailure("Ошибка TLS: ", openSslReason());
    socket_ = socket;
    if (InetAddr(hostName) != InaddrNone) {
        if (X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(ssl_), hostName.c_str()) != 1)
            return tlsFailure("Ошибка TLS: ", openSslReason());
    } else {
        if (SSL_ctrl(ssl_, SSL_CTRL_SET_TLSEXT_HOSTNAME, TLSEXT_NAMETYPE_host_name,
                     const_cast<char*>(hostName.c_str())) != 1 ||
            SSL_set1_host(ssl_, hostName.c_str()) != 1)
            return tlsFailure("Ошибка TLS: ", openSslReason());
    }

    for (;;) {
        const int r = SSL_connect(ssl_);
        if (r == 1)
            break;
        const int error = SSL_get_error(ssl_, r);
        if (error == SSL_ERROR_WANT_READ || error == SSL_ERROR_WANT_WRITE) {
            const int ready = waitFor(socket, error, deadline);
            if (ready == 0)
                return socketFailure(Wsa::TimedOut);
            if (ready < 0)
                return socketFailure(Winsock::LastError());
            continue;
        }
        const long verified = SSL_get_verify_result(ssl_);
        if (verified != X509_V_OK) {
            ERR_clear_error();
            return tlsFailure("Сертификат сервера не подтверждён: ", X509_verify_cert_error_string(verified));
        }
        if (error == SSL_ERROR_SYSCALL && ERR_peek_error() == 0)
            return socketFailure(Wsa::ConnectionReset);
        return tlsFailure("Ошибка TLS: ", openSslReason());
    }
    established_ = true;
    return {};
}

int TlsSession::Send(const char* data, int length)
{
    if (!Active()) {
        Winsock::SetLastError(Wsa::NotSocket);
        return -1;
    }
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(CurrentDeadlines().sendMs);
    int sent = 0;
    while (sent < length) {
        std::size_t n = 0;
        ERR_clear_error();
        if (SSL_write_ex(ssl_, data + sent, static_cast<std::size_t>(length - sent), &n) == 1) {
            sent += static_cast<int>(n);
            continue;
        }
        if (!resumeAfter(socket_, SSL_get_error(ssl_, 0), deadline))
            return -1;
    }
    return sent;
}

int TlsSession::Recv(char* buffer, int length, int waitMs)
{
    if (!Active()) {
        Winsock::SetLastError(Wsa::NotSocket);
        return -1;
    }
    const int timeout = waitMs < 0 ? CurrentDeadlines().replyMs : waitMs;
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(timeout);
    for (;;) {
        std::size_t n = 0;
        ERR_clear_error();
        if (SSL_read_ex(ssl_, buffer, static_cast<std::size_t>(length), &n) == 1)
            return static_cast<int>(n);
        const int error = SSL_get_error(ssl_, 0);
        if (error == SSL_ERROR_ZERO_RETURN)
            return 0;
        if (!resumeAfter(socket_, error, deadline))
            return -1;
    }
}

int Link::Send(const char* data, int length)
{
    const int n = tls != nullptr && tls->Active() ? tls->Send(data, length) : net::Send(socket, data, length);
    if (n < 0)
        error = Winsock::LastError();
    return n;
}

int Link::Recv(char* buffer, int length, int waitMs)
{
    const int n = tls != nullptr && tls->Active() ? tls->Recv(buffer, length, waitMs)
                                                  : net::Recv(socket, buffer, length, waitMs);
    if (n < 0)
        error = Winsock::LastError();
    return n;
}

} // namespace zolbin::net
