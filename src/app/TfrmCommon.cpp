#include "app/TfrmCommon.h"

#include "app/IniFile.h"
#include "app/WebAddresses.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QUrl>

#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

TfrmCommon *frmCommon = nullptr;

namespace {
QString &programDirOverride()
{
    static QString dir;
    return dir;
}
} // namespace

TfrmCommon::TfrmCommon(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmCommon"));
    InitCommon(); // the creation handler
}

TfrmCommon::~TfrmCommon()
{
    if (frmCommon == this)
        frmCommon = nullptr;
}

void TfrmCommon::setProgramDirOverride(const QString &dir)
{
    programDirOverride() = dir;
}

std::function<void(const QString &)> &TfrmCommon::shellOpenHook()
{
    static std::function<void(const QString &)> hook;
    return hook;
}

std::function<void()> &TfrmCommon::quitHook()
{
    static std::function<void()> hook;
    return hook;
}

void TfrmCommon::InitCommon()
{
    QString dir = programDirOverride().isEmpty() ? QCoreApplication::applicationDirPath() : programDirOverride();
    dir = QDir::toNativeSeparators(QDir(dir).absolutePath());
    if (!dir.endsWith(QDir::separator()))
        dir += QDir::separator();
    ProgramDir = dir;
    ConfigFile = ProgramDir + QStringLiteral("config.ini");
    LanguageIndex = Ini::readInteger(ConfigFile, QStringLiteral("common"), QStringLiteral("language"), 2);

    const bool chinese = LanguageIndex == 1;
    const QString site = QString::fromLatin1(chinese ? WebAddresses::ChineseSite : WebAddresses::EnglishSite);
    LanguageFile = ProgramDir + (chinese ? QStringLiteral("language/gb.ini") : QStringLiteral("language/en.ini"));
    SplashFile = ProgramDir + (chinese ? QStringLiteral("splash-gb.bmp") : QStringLiteral("splash-en.bmp"));
    HelpFile = ProgramDir + (chinese ? QStringLiteral("Zendrel_gb.chm") : QStringLiteral("Zendrel.chm"));
    HomePageURL = site;
    SupportAddress = QString::fromLatin1(chinese ? WebAddresses::ChineseSupportMail : WebAddresses::EnglishSupportMail);
    FeedbackURL = site + (chinese ? QStringLiteral("/contactus.htm") : QStringLiteral("/feedback.htm"));
    OnlineHelpURL = site + QStringLiteral("/help-video-converter.php");
    CodecsURL = site + QStringLiteral("/codecs.php");
    ErrorReportURL = site + QStringLiteral("/bug_report_submit.php");
}

int TfrmCommon::ReadSkinIndex() const
{
    return Ini::readInteger(ConfigFile, QStringLiteral("skin"), QStringLiteral("skin"), 10);
}

void TfrmCommon::WriteSkinIndex(int index) const
{
    Ini::writeInteger(ConfigFile, QStringLiteral("skin"), QStringLiteral("skin"), index);
}

bool TfrmCommon::ReadDisplayHelpDialog() const
{
    return Ini::readInteger(ConfigFile, QStringLiteral("setting"), QStringLiteral("displayHelpDialog"), 1) == 1;
}

void TfrmCommon::WriteDisplayHelpDialog(int value) const
{
    Ini::writeInteger(ConfigFile, QStringLiteral("setting"), QStringLiteral("displayHelpDialog"), value);
}

bool TfrmCommon::ReadLogFileSetting() const
{
    return Ini::readInteger(ConfigFile, QStringLiteral("setting"), QStringLiteral("logfile"), 0) == 1;
}

bool TfrmCommon::ExtractEncoder(const QString &carrierPath, const QString &targetPath)
{
    QFile carrier(carrierPath);
    if (!carrier.open(QIODevice::ReadOnly))
        return false;
    const qint64 size = carrier.size();
    if (size < 4 || !carrier.seek(size - 4))
        return false;
    unsigned char le[4];
    if (carrier.read(reinterpret_cast<char *>(le), 4) != 4)
        return false;
    const qint32 n = static_cast<qint32>(quint32(le[0]) | quint32(le[1]) << 8 | quint32(le[2]) << 16 | quint32(le[3]) << 24);
    // An empty payload (N = 4) installs nothing.
    if (n <= 4 || n > size || !carrier.seek(size - n))
        return false;
    const QByteArray payload = carrier.read(n - 4);
    carrier.close();
    if (payload.size() != n - 4)
        return false;

    // Write beside the target first, so a failed write never leaves a
    // half-written encoder behind.
    const QByteArray target = QFile::encodeName(targetPath);
    const QByteArray temp = target + ".part";
    const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0755);
    if (fd < 0)
        return false;
    qint64 written = 0;
    while (written < payload.size()) {
        const ssize_t w = ::write(fd, payload.constData() + written, size_t(payload.size() - written));
        if (w <= 0)
            break;
        written += w;
    }
    const bool ok = written == payload.size() && ::fchmod(fd, 0755) == 0;
    if (::close(fd) != 0 || !ok || ::rename(temp.constData(), target.constData()) != 0) {
        ::unlink(temp.constData());
        return false;
    }
    return true;
}

void TfrmCommon::ShellOpen(const QString &target) const
{
    if (shellOpenHook()) {
        shellOpenHook()(target);
        return;
    }
    const QUrl url = target.contains(QStringLiteral("://")) || target.startsWith(QStringLiteral("mailto:"))
                         ? QUrl(target)
                         : QUrl::fromLocalFile(target);
    QDesktopServices::openUrl(url);
}
