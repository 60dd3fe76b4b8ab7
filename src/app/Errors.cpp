#include "app/Errors.h"

#include <cerrno>

namespace Errors {

ZError inOut(int code)
{
    if (code == 2)
        return ZError(QStringLiteral("File not found"), ZError::InOut);
    return ZError(QStringLiteral("I/O error %1").arg(code), ZError::InOut);
}

ZError unableToWrite(const QString &path)
{
    return ZError(QStringLiteral("Unable to write to %1").arg(path), ZError::Ini);
}

ZError listIndex(int index)
{
    return ZError(QStringLiteral("List index out of bounds (%1)").arg(index), ZError::ListIndex);
}

ZError convert(const QString &text)
{
    return ZError(QStringLiteral("'%1' is not a valid integer value").arg(text), ZError::Convert);
}

int ioCodeFromErrno(int err)
{
    switch (err) {
    case ENOENT:
    case ENOTDIR:
        return 2; // file not found
    case EACCES:
    case EPERM:
    case EROFS:
        return 5; // access denied
    case EISDIR:
        return 5;
    case ENOSPC:
        return 112;
    case EBUSY:
    case ETXTBSY:
        return 32; // sharing violation
    default:
        return err > 0 ? err : 103;
    }
}

} // namespace Errors
