// Help, web links and the updater of the shared-services object.
#include "app/TfrmCommon.h"

#include "app/WebAddresses.h"
#include "mainwindow/TfrmMain.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

void TfrmCommon::OpenLocalHelp() const
{
    ShellOpen(HelpFile);
}

void TfrmCommon::OpenHomePage() const
{
    ShellOpen(HomePageURL);
}

void TfrmCommon::OpenSupportMail() const
{
    ShellOpen(SupportAddress);
}

void TfrmCommon::OpenFeedbackPage() const
{
    ShellOpen(FeedbackURL);
}

void TfrmCommon::OpenWebHelp() const
{
    // Zendrel keeps no user record, so the name stays empty.
    const QString userName;
    ShellOpen(OnlineHelpURL + QStringLiteral("?user=") + userName);
}

QString TfrmCommon::ProductPageURL(int number) const
{
    if (number < 1 || number > 7)
        return {};
    // Decided at each call, so the language set in force is the one used.
    if (LanguageIndex == 1)
        return QString::fromLatin1(WebAddresses::ChineseSite);
    switch (number) {
    case 3:
    case 4:
        return QString::fromLatin1(WebAddresses::EnglishSite);
    case 1:
    case 7:
        return QString::fromLatin1(WebAddresses::EnglishProductA);
    default: // 2, 5, 6
        return QString::fromLatin1(WebAddresses::EnglishProductB);
    }
}

void TfrmCommon::OpenProductPage(int number) const
{
    const QString url = ProductPageURL(number);
    if (!url.isEmpty())
        ShellOpen(url);
}

void TfrmCommon::RunUpdater() const
{
    // Fire and forget: a missing or broken updater changes nothing below.
    QProcess::startDetached(ProgramDir + QStringLiteral("update.EXE"), {});

    if (quitHook()) {
        quitHook()();
        return;
    }

    // The usual shutdown first, so a running encoder is stopped and the
    // temporary script removed; then leave the main loop.
    if (frmMain)
        frmMain->close();
    QCoreApplication::exit(0);
    // A nested wait (a running job, a modal box) would keep the program
    // alive after exit(); the first event it handles ends the process.
    QTimer::singleShot(0, [] {
        std::fflush(nullptr);
        ::_exit(0);
    });
}
