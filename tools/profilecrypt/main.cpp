// profilecrypt: writes the enciphered form of a plain profile line, or the
// plain form of an enciphered one.
//
//   profilecrypt [INPUT [OUTPUT]]      encipher
//   profilecrypt -d [INPUT [OUTPUT]]   decipher
//
// INPUT and OUTPUT default to standard input and output ("-" names them
// too). Only the first line of the input is used, read the way the program
// reads a profile file. A line the program would not accept as a profile is
// refused, so the tool cannot produce a file that fails to load.
#include "app/Errors.h"
#include "profiles/ProfileCipher.h"
#include "profiles/TVideoProfile.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

#include <cstdio>

namespace {

int usage()
{
    std::fputs("usage: profilecrypt [-d] [INPUT [OUTPUT]]\n"
               "  enciphers the first line of INPUT (a plain profile line);\n"
               "  with -d, deciphers it. \"-\" or nothing means standard input/output.\n",
               stderr);
    return 2;
}

bool readAll(const QString &name, QByteArray &bytes)
{
    QFile f;
    const bool ok = name == QLatin1String("-") ? f.open(stdin, QIODevice::ReadOnly) : (f.setFileName(name), f.open(QIODevice::ReadOnly));
    if (!ok)
        return false;
    bytes = f.readAll();
    return true;
}

bool writeAll(const QString &name, const QByteArray &bytes)
{
    QFile f;
    const bool ok = name == QLatin1String("-") ? f.open(stdout, QIODevice::WriteOnly) : (f.setFileName(name), f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    return ok && f.write(bytes) == bytes.size() && f.flush();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool decipher = !args.isEmpty() && args.first() == QLatin1String("-d");
    if (decipher)
        args.removeFirst();
    if (args.size() > 2 || (!args.isEmpty() && args.first().startsWith(QLatin1Char('-')) && args.first() != QLatin1String("-")))
        return usage();
    const QString input = args.value(0, QStringLiteral("-"));
    const QString output = args.value(1, QStringLiteral("-"));

    QByteArray bytes;
    if (!readAll(input, bytes)) {
        std::fprintf(stderr, "profilecrypt: cannot read %s\n", qPrintable(input));
        return 1;
    }
    const QByteArray line = TVideoProfile::FirstLine(bytes);
    QByteArray result;
    try {
        if (decipher) {
            result = ProfileCipher::Decipher(line);
        } else {
            if (!line.contains("[KESTRUN]"))
                throw ZError(QStringLiteral("the line holds no \"[KESTRUN]\": not a plain profile line"));
            result = ProfileCipher::Encipher(line);
        }
        // Whichever way, the plain side must load as a profile.
        TVideoProfile check;
        check.LoadFromLine(decipher ? result : line);
    } catch (const ZError &e) {
        std::fprintf(stderr, "profilecrypt: %s\n", e.what());
        return 1;
    }
    result.append('\n');
    if (!writeAll(output, result)) {
        std::fprintf(stderr, "profilecrypt: cannot write %s\n", qPrintable(output));
        return 1;
    }
    return 0;
}
