// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/IoError.h"

#include "platform/Codepage.h"
#include "platform/Result.h"

#include <cerrno>

namespace zolbin {

int ioCodeFromErrno(int err)
{
    switch (err) {
    case ENOENT:
        return IoCode::FileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
    case ELOOP:
        return IoCode::PathNotFound;
    case EMFILE:
    case ENFILE:
        return IoCode::TooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
    case EBUSY:
        return IoCode::AccessDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return IoCode::DiskFull;
    default:
        return 1000 + err;
    }
}

std::string ioErrorText(int code)
{
    switch (code) {
    case IoCode::FileNotFound:
        return cp("Файл не найден");
    case IoCode::PathNotFound:
        return cp("Неверное иимя файла");
    case IoCode::TooManyOpenFiles:
        return cp("Слишком много открытых файлов");
    case IoCode::AccessDenied:
        return "File access denied";
    case IoCode::ReadBeyondEnd:
        return "Read beyond end of file";
    case IoCode::DiskFull:
        return cp("Нет места на диске");
    case IoCode::InvalidNumericInput:
        return "Invalid numeric input";
    default:
        return cp("Ошибка ввода/вывода ") + std::to_string(code);
    }
}

Failure Failure::io(int ioCode)
{
    return {ioCode, ioErrorText(ioCode)};
}

Failure Failure::fromErrno(int err)
{
    return io(ioCodeFromErrno(err));
}

} // namespace zolbin
