// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/IoError.h"

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

Text ioErrorText(int code)
{
    switch (code) {
    case IoCode::FileNotFound:
        return tx("IoError", "Файл не найден");
    case IoCode::PathNotFound:
        return tx("IoError", "Неверное иимя файла");
    case IoCode::TooManyOpenFiles:
        return tx("IoError", "Слишком много открытых файлов");
    case IoCode::AccessDenied:
        return tx("IoError", "File access denied");
    case IoCode::ReadBeyondEnd:
        return tx("IoError", "Read beyond end of file");
    case IoCode::DiskFull:
        return tx("IoError", "Нет места на диске");
    case IoCode::InvalidNumericInput:
        return tx("IoError", "Invalid numeric input");
    default:
        return tx("IoError", "Ошибка ввода/вывода %1").arg(code);
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
