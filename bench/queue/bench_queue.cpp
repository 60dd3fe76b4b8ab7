// Walks generated folder trees of 10,000 and 20,000 supported files into the
// queue of the shown main window and prints both times and their ratio.
// Usage: bench_queue PROGRAM_DIR WORK_DIR
#include "app/Startup.h"
#include "app/TfrmCommon.h"
#include "app/TfrmSplash.h"
#include "app/ZendrelApplication.h"
#include "mainwindow/TfrmMain.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <cstdio>

// files spread over folders of 100 files, two levels deep, with a mix of
// supported extensions and a few files the queue turns away.
static QString makeTree(const QString &root, int files)
{
    static const char *const exts[] = {"avi", "mp4", "MKV", "mov", "flv", "wmv", "mp3", "mpg"};
    for (int i = 0; i < files; ++i) {
        const QString dir = QStringLiteral("%1/group %2/folder %3").arg(root).arg(i / 2000).arg(i / 100);
        if (i % 100 == 0) {
            QDir().mkpath(dir);
            QFile notes(dir + QStringLiteral("/notes.txt"));
            notes.open(QIODevice::WriteOnly);
        }
        QFile f(QStringLiteral("%1/clip %2.%3").arg(dir).arg(i).arg(QLatin1String(exts[i % 8])));
        if (!f.open(QIODevice::WriteOnly)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(f.fileName()));
            std::exit(1);
        }
    }
    return root;
}

static double walkMs(const QString &root, int expected)
{
    double best = 1e18;
    for (int round = 0; round < 3; ++round) {
        frmMain->ClearQueue();
        QCoreApplication::processEvents();
        QElapsedTimer t;
        t.start();
        frmMain->AddFolderToQueue(root, true, QStringLiteral("*"));
        const double ms = t.nsecsElapsed() / 1e6;
        if (frmMain->listViewFiles->topLevelItemCount() != expected) {
            std::fprintf(stderr, "walk of %s gave %d rows, not %d\n", qPrintable(root),
                         frmMain->listViewFiles->topLevelItemCount(), expected);
            std::exit(1);
        }
        best = std::min(best, ms);
    }
    return best;
}

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_queue PROGRAM_DIR WORK_DIR\n");
        return 2;
    }
    ZendrelApplication app(argc, argv);
    ZendrelApplication::errorSink() = [](const QString &t) { std::fprintf(stderr, "error: %s\n", qPrintable(t)); };
    TfrmCommon::setProgramDirOverride(QString::fromLocal8Bit(argv[1]));
    TfrmSplash::FadeMilliseconds = 0;
    Startup::CreateWindows();
    frmMain->show();
    while (!frmMain->FirstPaintDone)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);

    const QString work = QString::fromLocal8Bit(argv[2]);
    const QString small = makeTree(work + QStringLiteral("/t10000"), 10000);
    const QString large = makeTree(work + QStringLiteral("/t20000"), 20000);
    const double ms10 = walkMs(small, 10000);
    const double ms20 = walkMs(large, 20000);
    std::printf("queue walk, 10000 files: %.0f ms (target <= 2000 ms)\n", ms10);
    std::printf("queue walk, 20000 files: %.0f ms\n", ms20);
    std::printf("queue walk ratio 20000/10000: %.2f (target <= 2.5)\n", ms20 / ms10);
    frmMain->ClearQueue();
    Startup::DestroyWindows();
    return 0;
}
