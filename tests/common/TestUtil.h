#pragma once
// Shared helpers for the Qt Test programs.

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

class QComboBox;

namespace TestUtil {

// The assembled program folder of the build, and the built encoder program.
QString programDir();
QString encoderPath();
QString sourceDir();

// A fresh copy of the program folder (language, profile, skins, bitmaps,
// plug.exe; libm9s.exe too when withEncoder) in a temporary folder.
// Returns its path with a trailing "/".
QString makeProgramDir(const QTemporaryDir &tmp, bool withEncoder = true);

// Writes bytes to a file, creating folders; fails the test on error.
void writeFile(const QString &path, const QByteArray &bytes);
QByteArray readFile(const QString &path);

// Records the texts the general error handler would show.
struct ErrorRecorder
{
    ErrorRecorder();
    ~ErrorRecorder();
    QStringList texts;
};

// Runs a program to its end (killed after timeoutMs); true for exit code 0.
// Standard output and error, merged, go to *out when given.
bool run(const QString &program, const QStringList &args, QByteArray *out = nullptr, int timeoutMs = 60000);

// Puts a text into a setting box the way a user or a profile would leave it:
// typed into an editable box, the only item of a pick-only one (an empty
// text leaves a pick-only box without items).
void setBox(QComboBox *box, const QString &text);

// Installed by ZENDREL_TEST_MAIN: an error box nobody expected is printed
// as a warning instead of waiting for a click that never comes.
void installDefaultErrorSink();

// Presses a button of the next modal dialog or message box that opens,
// chosen by its text or object name; runs a check on it first when given.
void answerNextModal(const QString &buttonTextOrName, std::function<void(QWidget *)> check = {});

// Shows an already painted main window again every way a user can: hidden
// and shown, minimised and restored, repainted.
void showMainWindowAgain();

// Creates every window the way start-up does (with the splash fades cut
// short) for the program folder dir, and destroys them again.
void startProgram(const QString &dir);
void stopProgram();

} // namespace TestUtil

// Like QTEST_MAIN, with Zendrel's application object (its general error
// handler) in place of QApplication.
#include "app/ZendrelApplication.h"
#include <QTest>
#define ZENDREL_TEST_MAIN(TestObject)                                  \
    int main(int argc, char **argv)                                    \
    {                                                                  \
        qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM")); \
        ZendrelApplication app(argc, argv);                            \
        app.setAttribute(Qt::AA_Use96Dpi, true);                       \
        TestUtil::installDefaultErrorSink();                           \
        TestObject tc;                                                 \
        QTEST_SET_MAIN_SOURCE_PATH                                     \
        return QTest::qExec(&tc, argc, argv);                          \
    }
