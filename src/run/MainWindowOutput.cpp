// Output naming, the overwrite policy and the encoder log of the main window.
#include "mainwindow/TfrmMain.h"

#include "app/Errors.h"
#include "app/TfrmCommon.h"
#include "run/TfrmOverWrite.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

// Anything already at the path takes the name: a file, a folder, or a link
// (even one that points nowhere), so an automatic name is really free.
bool pathTaken(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// True when both paths lead to one existing file, however they are spelt:
// links, "..", hard links.
bool sameFile(const QString &a, const QString &b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
#ifdef Q_OS_UNIX
    struct stat sa, sb;
    if (::stat(QFile::encodeName(a).constData(), &sa) != 0 || ::stat(QFile::encodeName(b).constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
#else
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca.compare(QFileInfo(b).canonicalFilePath(), Qt::CaseInsensitive) == 0;
#endif
}

// Where the folder part of a path ends (the index after its last separator).
qsizetype fileNameStart(const QString &path)
{
#ifdef Q_OS_WIN
    const qsizetype sep = qMax(path.lastIndexOf(QLatin1Char('\\')),
                               qMax(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char(':'))));
#else
    const qsizetype sep = path.lastIndexOf(QLatin1Char('/'));
#endif
    return sep + 1;
}

std::FILE *openForAppend(const QString &path)
{
#ifdef Q_OS_WIN
    return ::_wfopen(reinterpret_cast<const wchar_t *>(path.utf16()), L"ab");
#else
    return std::fopen(QFile::encodeName(path).constData(), "ab");
#endif
}

} // namespace

QString TfrmMain::ResolveOutputPath(const QString &path, const QString &inputPath)
{
    if (!pathTaken(path))
        return path;

    // Writing the placeholder would destroy the input before the encoder
    // reads it, whatever the user answered.
    if (sameFile(path, inputPath))
        return AutoNamePath(path);

    if (OverwriteChoice == 0) {
        if (!frmOverWrite)
            frmOverWrite = new TfrmOverWrite(this);
        OverwriteChoice = frmOverWrite->ask();
    }

    switch (OverwriteChoice) {
    case 3:
        OverwriteChoice = 0;
        return path;
    case 4:
        return path;
    case 5:
        OverwriteChoice = 0;
        return AutoNamePath(path);
    case 6:
        return AutoNamePath(path);
    case 0:
    case 2:
    default:
        return QString();
    }
}

QString TfrmMain::AutoNamePath(const QString &path)
{
    QString candidate = path;
    while (pathTaken(candidate)) {
        const qsizetype nameStart = fileNameStart(candidate);
        qsizetype dot = candidate.lastIndexOf(QLatin1Char('.'));
        if (dot < nameStart)
            dot = candidate.size(); // a dot in a folder name is no extension
        candidate = candidate.left(dot) + QLatin1String("(1)") + candidate.mid(dot);
    }
    return candidate;
}

QString TfrmMain::LogFilePath() const
{
    return (frmCommon ? frmCommon->ProgramDir : QString()) + QStringLiteral("logFile.txt");
}

void TfrmMain::AppendLog(const QString &text)
{
    // Opened and closed per record, so the log is complete whenever the
    // encoder or the program stops.
    const QByteArray record = text.toUtf8() + "\r\n";
    errno = 0;
    std::FILE *file = openForAppend(LogFilePath());
    if (!file)
        throw Errors::inOut(Errors::ioCodeFromErrno(errno));
    const bool written = std::fwrite(record.constData(), 1, size_t(record.size()), file) == size_t(record.size());
    int err = written ? 0 : errno;
    if (std::fclose(file) != 0 && err == 0)
        err = errno ? errno : EIO;
    if (!written || err != 0)
        throw Errors::inOut(Errors::ioCodeFromErrno(err ? err : EIO));
}

void TfrmMain::DeleteLogFile()
{
    QFile::remove(LogFilePath());
}
