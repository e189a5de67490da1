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

// OpenSSL's reason (ASCII) as it gives it.
Failure tlsFailure(const std::string& reason)
{
    return Failure{FailureCode::Tls, tx("Tls", "Ошибка TLS: %1").arg(reason)};
}

// Waits for what OpenSSL asked for after a call that gave `sslError`. 1 go on, 0 deadline passed, -1
// failed (with the error).
int waitFor(int socket, int sslError, SteadyClock::time_point deadline, std::error_code& error)
{
    const int left = MsLeft(deadline);
    if (left == 0)
        return 0;
    return WaitReady(socket, sslError == SSL_ERROR_WANT_WRITE, left, error);
}

// After a read or write that did not complete: waits until the socket lets it go on. False, with the
// error, when it cannot (the connection failed, or the deadline passed).
bool resumeAfter(int socket, int sslError, SteadyClock::time_point deadline, std::error_code& error)
{
    if (sslError != SSL_ERROR_WANT_READ && sslError != SSL_ERROR_WANT_WRITE) {
        ERR_clear_error();
        error = std::make_error_code(std::errc::connection_reset);
        return false;
    }
    const int ready = waitFor(socket, sslError, deadline, error);
    if (ready == 0)
        error = std::make_error_code(std::errc::timed_out);
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
    error_.clear();
    ERR_clear_error();
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(deadlineMs);
    ctx_ = SSL_CTX_new(TLS_client_method());
    if (ctx_ == nullptr)
        return tlsFailure(openSslReason());
    SSL_CTX_ctrl(ctx_, SSL_CTRL_SET_MIN_PROTO_VERSION, TLS1_2_VERSION, nullptr);
    // A server that closes without close_notify ends the connection like a plain one would.
    SSL_CTX_set_options(ctx_, SSL_OP_IGNORE_UNEXPECTED_EOF);
    SSL_CTX_set_verify(ctx_, SSL_VERIFY_PEER, nullptr);
    if (SSL_CTX_set_default_verify_paths(ctx_) != 1)
        return tlsFailure(openSslReason());
    if (!caFile.empty() && SSL_CTX_load_verify_locations(ctx_, caFile.c_str(), nullptr) != 1) {
        ERR_clear_error();
        return Failure{FailureCode::Tls, tx("Tls", "Не удалось прочитать файл сертификатов: %1").arg(caFile)};
    }
    ssl_ = SSL_new(ctx_);
    if (ssl_ == nullptr || SSL_set_fd(ssl_, socket) != 1)
        return tlsFailure(openSslReason());
    socket_ = socket;
    if (InetAddr(hostName) != InaddrNone) {
        if (X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(ssl_), hostName.c_str()) != 1)
            return tlsFailure(openSslReason());
    } else {
        if (SSL_ctrl(ssl_, SSL_CTRL_SET_TLSEXT_HOSTNAME, TLSEXT_NAMETYPE_host_name,
                     const_cast<char*>(hostName.c_str())) != 1 ||
            SSL_set1_host(ssl_, hostName.c_str()) != 1)
            return tlsFailure(openSslReason());
    }

    for (;;) {
        const int r = SSL_connect(ssl_);
        if (r == 1)
            break;
        const int error = SSL_get_error(ssl_, r);
        if (error == SSL_ERROR_WANT_READ || error == SSL_ERROR_WANT_WRITE) {
            const int ready = waitFor(socket, error, deadline, error_);
            if (ready == 0)
                return socketFailure(std::errc::timed_out);
            if (ready < 0)
                return Failure{FailureCode::Tls, {}};
            continue;
        }
        const long verified = SSL_get_verify_result(ssl_);
        if (verified != X509_V_OK) {
            ERR_clear_error();
            return Failure{FailureCode::Tls, tx("Tls", "Сертификат сервера не подтверждён: %1")
                                                 .arg(X509_verify_cert_error_string(verified))};
        }
        if (error == SSL_ERROR_SYSCALL && ERR_peek_error() == 0)
            return socketFailure(std::errc::connection_reset);
        return tlsFailure(openSslReason());
    }
    established_ = true;
    return {};
}

Failure TlsSession::socketFailure(std::errc code)
{
    error_ = std::make_error_code(code);
    return Failure{FailureCode::Tls, {}};
}

int TlsSession::Send(const char* data, int length, int sendMs, std::error_code& error)
{
    if (!Active()) {
        error = std::make_error_code(std::errc::not_a_socket);
        return -1;
    }
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(sendMs);
    int sent = 0;
    while (sent < length) {
        std::size_t n = 0;
        ERR_clear_error();
        if (SSL_write_ex(ssl_, data + sent, static_cast<std::size_t>(length - sent), &n) == 1) {
            sent += static_cast<int>(n);
            continue;
        }
        if (!resumeAfter(socket_, SSL_get_error(ssl_, 0), deadline, error))
            return -1;
    }
    return sent;
}

int TlsSession::Recv(char* buffer, int length, int waitMs, std::error_code& error)
{
    if (!Active()) {
        error = std::make_error_code(std::errc::not_a_socket);
        return -1;
    }
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        std::size_t n = 0;
        ERR_clear_error();
        if (SSL_read_ex(ssl_, buffer, static_cast<std::size_t>(length), &n) == 1)
            return static_cast<int>(n);
        const int sslError = SSL_get_error(ssl_, 0);
        if (sslError == SSL_ERROR_ZERO_RETURN)
            return 0;
        if (!resumeAfter(socket_, sslError, deadline, error))
            return -1;
    }
}

int Link::Send(const char* data, int length)
{
    return tls != nullptr && tls->Active() ? tls->Send(data, length, sendMs, error)
                                           : net::Send(socket, data, length, sendMs, error);
}

int Link::Recv(char* buffer, int length, int waitMs)
{
    return tls != nullptr && tls->Active() ? tls->Recv(buffer, length, waitMs, error)
                                           : net::Recv(socket, buffer, length, waitMs, error);
}

} // namespace zolbin::net
