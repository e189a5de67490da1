// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispatch/SocketErrors.h"

#include "platform/Codepage.h"
#include "platform/Net.h"

#include <cerrno>
#include <map>

namespace zolbin {

namespace {

// A system error's number: the numbers of the table where the error has one, 10000 + errno otherwise.
int numberOfErrno(int err)
{
    switch (err) {
    case EINTR:
        return 10004;
    case EBADF:
        return 10009;
    case EACCES:
    case EPERM:
        return 10013;
    case EFAULT:
        return 10014;
    case EINVAL:
        return 10022;
    case EMFILE:
    case ENFILE:
        return 10024;
    case EAGAIN:
        return 10035;
    case EINPROGRESS:
        return 10036;
    case EALREADY:
        return 10037;
    case ENOTSOCK:
        return 10038;
    case EDESTADDRREQ:
        return 10039;
    case EMSGSIZE:
        return 10040;
    case EPROTOTYPE:
        return 10041;
    case ENOPROTOOPT:
        return 10042;
    case EPROTONOSUPPORT:
        return 10043;
    case EOPNOTSUPP:
        return 10045;
    case EPFNOSUPPORT:
        return 10046;
    case EAFNOSUPPORT:
        return 10047;
    case EADDRINUSE:
        return 10048;
    case EADDRNOTAVAIL:
        return 10049;
    case ENETDOWN:
        return 10050;
    case ENETUNREACH:
        return 10051;
    case ENETRESET:
        return 10052;
    case ECONNABORTED:
        return 10053;
    case ECONNRESET:
    case EPIPE:
        return 10054;
    case ENOBUFS:
    case ENOMEM:
        return 10055;
    case EISCONN:
        return 10056;
    case ENOTCONN:
        return 10057;
    case ESHUTDOWN:
        return 10058;
    case ETIMEDOUT:
        return 10060;
    case ECONNREFUSED:
        return 10061;
    case EHOSTDOWN:
        return 10064;
    case EHOSTUNREACH:
        return 10065;
    default:
        return 10000 + err;
    }
}

} // namespace

int SocketErrorNumber(std::error_code error)
{
    if (!error)
        return 0;
    if (error.category() == net::LookUpCategory()) {
        switch (static_cast<net::LookUpError>(error.value())) {
        case net::LookUpError::HostNotFound:
            return 11001;
        case net::LookUpError::TryAgain:
            return 11002;
        case net::LookUpError::NoRecovery:
            return 11003;
        case net::LookUpError::NoData:
            return 11004;
        }
        return 11001;
    }
    return numberOfErrno(error.default_error_condition().value());
}

std::string SocketErrorText(std::error_code error)
{
    return SocketErrorText(SocketErrorNumber(error));
}

std::string SocketErrorText(int code)
{
    static const std::map<int, const char*> texts = {
        {10004, "Неожиданное прерывание."},
        {10013, "Доступ запрещен."},
        {10014, "Неправильный адрес."},
        {10022, "Неверный аргумент."},
        {10024, "Слишком много открытых файлов."},
        {10035, "Ресурс временно недоступен."},
        {10036, "Операция уже выполняется."},
        {10037, "Операция уже выполняется."},
        {10038, "Недопустимая сетевая операция."},
        {10039, "Требуется удаленный адрес."},
        {10040, "Сообщение очень длинное."},
        {10041, "Выбранный порт не соответствует протоколу."},
        {10042, "Неизвестный параметр протокола."},
        {10045, "Сервис не поддерживается."},
        {10046, "Требуемый сетевой протокол не установлен."},
        {10047, "Семейство адресов не поддерживается данным протоколом."},
        {10048, "Адрес уже используется."},
        {10049, "Не могу назначить требуемый адрес."},
        {10050, "Проблемы с сетью."},
        {10051, "Сеть недоступна."},
        {10052, "Истекло время ожидания соединения."},
        {10053, "Программа вынуждена прервать операцию."},
        {10054, "Соединение закрыто удаленным хостом."},
        {10055, "Не хватает буферной памяти."},
        {10056, "Соединение уже установлено."},
        {10057, "Соединение не установлено."},
        {10058, "Соединение закрыто."},
        {10060, "Время ожидания истекло."},
        {10061, "Соединение невозможно."},
        {10064, "Проблемы с хостом."},
        {10065, "Нет маршрута к хосту."},
        {11001, "Хост не найден."},
        {11002, "Хост не найден. Попытайтесь в другой раз."},
        {11004, "Ошибка DNS."},
    };
    const auto it = texts.find(code);
    return cp(it != texts.end() ? it->second : "Неизвестная ошибка.");
}

} // namespace zolbin
