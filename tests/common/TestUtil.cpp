#include "TestUtil.h"

#include "app/Startup.h"
#include "app/TfrmCommon.h"
#include "app/TfrmSplash.h"
#include "app/ZendrelApplication.h"
#include "mainwindow/TfrmMain.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QProcess>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QTimer>

namespace TestUtil {

QString programDir() { return QStringLiteral(ZENDREL_PROGRAM_DIR); }
QString encoderPath() { return QStringLiteral(LIBM9S_PATH); }
QString sourceDir() { return QStringLiteral(ZENDREL_SOURCE_DIR); }

static void copyTree(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QString rel = QDir(from).relativeFilePath(it.filePath());
        if (it.fileInfo().isDir())
            QDir().mkpath(to + QLatin1Char('/') + rel);
        else
            QFile::copy(it.filePath(), to + QLatin1Char('/') + rel);
    }
}

QString makeProgramDir(const QTemporaryDir &tmp, bool withEncoder)
{
    const QString dir = tmp.path() + QStringLiteral("/Zendrel");
    copyTree(programDir(), dir);
    QFile::remove(dir + QStringLiteral("/config.ini"));
    QFile::remove(dir + QStringLiteral("/logFile.txt"));
    QFile::remove(dir + QStringLiteral("/zendrel"));
    QFile::remove(dir + QStringLiteral("/libm9s.exe"));
    if (withEncoder) {
        QFile::copy(encoderPath(), dir + QStringLiteral("/libm9s.exe"));
        QFile::setPermissions(dir + QStringLiteral("/libm9s.exe"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                  QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    }
    return dir + QLatin1Char('/');
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool run(const QString &program, const QStringList &args, QByteArray *out, int timeoutMs)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return false;
    }
    if (out)
        *out = p.readAll();
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

void setBox(QComboBox *box, const QString &text)
{
    if (box->isEditable()) {
        box->setEditText(text);
        return;
    }
    box->clear();
    if (!text.isEmpty()) {
        box->addItem(text);
        box->setCurrentIndex(0);
    }
}

ErrorRecorder::ErrorRecorder()
{
    ZendrelApplication::errorSink() = [this](const QString &t) { texts << t; };
}

ErrorRecorder::~ErrorRecorder()
{
    installDefaultErrorSink();
}

void installDefaultErrorSink()
{
    ZendrelApplication::errorSink() = [](const QString &t) { qWarning("error box: %s", qPrintable(t)); };
}

void answerNextModal(const QString &button, std::function<void(QWidget *)> check)
{
    auto *timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, button, check] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        timer->stop();
        timer->deleteLater();
        if (check)
            check(modal);
        const auto buttons = modal->findChildren<QAbstractButton *>();
        for (QAbstractButton *b : buttons) {
            QString text = b->text();
            text.remove(QLatin1Char('&'));
            if (text == button || b->objectName() == button) {
                QTest::mouseClick(b, Qt::LeftButton);
                return;
            }
        }
        if (button == QLatin1String("close")) {
            modal->close();
            return;
        }
        qWarning("answerNextModal: no button %s", qPrintable(button));
        modal->close();
    });
    timer->start();
}

void showMainWindowAgain()
{
    frmMain->hide();
    frmMain->show();
    QVERIFY(QTest::qWaitForWindowExposed(frmMain));
    frmMain->showMinimized();
    frmMain->showNormal();
    frmMain->repaint();
}

void startProgram(const QString &dir)
{
    TfrmCommon::setProgramDirOverride(dir);
    TfrmSplash::FadeMilliseconds = 0;
    Startup::CreateWindows();
}

void stopProgram()
{
    Startup::DestroyWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace TestUtil
