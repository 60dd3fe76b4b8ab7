#pragma once
// Zendrel reports failures as exceptions. An exception that leaves an event
// handler reaches ZendrelApplication::notify, which shows its text.

#include <QString>
#include <exception>
#include <string>

class ZError : public std::exception
{
public:
    enum Kind { General, InOut, Convert, ListIndex, Ini, OS, Http, Cipher };

    explicit ZError(QString message, Kind kind = General)
        : m_message(std::move(message)), m_kind(kind), m_utf8(m_message.toStdString()) {}

    const QString &message() const noexcept { return m_message; }
    Kind kind() const noexcept { return m_kind; }
    const char *what() const noexcept override { return m_utf8.c_str(); }

private:
    QString m_message;
    Kind m_kind;
    std::string m_utf8;
};

namespace Errors {
// "File not found" for code 2, otherwise "I/O error %d".
ZError inOut(int code);
// The settings write refusal: "Unable to write to %s".
ZError unableToWrite(const QString &path);
// "List index out of bounds (%d)".
ZError listIndex(int index);
// "'%s' is not a valid integer value" and friends.
ZError convert(const QString &text);
// Maps a failed open/read/write (errno) onto the I/O error codes.
int ioCodeFromErrno(int err);
} // namespace Errors
