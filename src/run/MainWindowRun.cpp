// The job runner and the progress display of the main window.
#include "mainwindow/TfrmMain.h"

#include "app/Errors.h"
#include "app/TextHelpers.h"
#include "app/TfrmCommon.h"
#include "app/ZendrelApplication.h"
#include "i18n/Templates.h"
#include "run/TConsoleIO.h"
#include "run/TfrmUnSupportFormat.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>

#include <cerrno>
#include <cmath>
#include <fcntl.h>
#include <limits>
#include <unistd.h>

namespace {

// Linux has no 8.3 names: an existing file keeps its path, a missing one
// has no short form at all.
QString ShortPathName(const QString &path)
{
    return QFileInfo::exists(path) ? path : QString();
}

// The extension of a path's file name from its last dot, dot included.
QString FileExtension(const QString &path)
{
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot);
}

// The input's file name with its extension replaced by the output's.
QString OutputFileName(const QString &inputPath, const QString &extension)
{
    QString name = inputPath.mid(inputPath.lastIndexOf(QLatin1Char('/')) + 1);
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0)
        name.truncate(dot);
    return name + QLatin1Char('.') + extension;
}

// Creates or empties the file and writes the placeholder text into it.
void WritePlaceholder(const QString &path)
{
    static const char text[] = "temp\r\n";
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        throw Errors::inOut(Errors::ioCodeFromErrno(errno));
    const ssize_t wrote = ::write(fd, text, sizeof text - 1);
    const int writeErrno = errno;
    if (::close(fd) != 0 && wrote == ssize_t(sizeof text - 1))
        throw Errors::inOut(Errors::ioCodeFromErrno(errno));
    if (wrote != ssize_t(sizeof text - 1))
        throw Errors::inOut(Errors::ioCodeFromErrno(wrote < 0 ? writeErrno : ENOSPC));
}

// The encoder's time value, always with "." as its decimal separator.
double TimeValue(const QString &text)
{
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double v = c.toDouble(text, &ok);
    if (!ok || !std::isfinite(v))
        throw ZError(QStringLiteral("'%1' is not a valid floating point value").arg(text), ZError::Convert);
    return v;
}

// Nearest whole number, halves to the even neighbour, kept inside 64 bits.
qint64 RoundHalfEven(double v)
{
    const double r = std::nearbyint(v);
    if (r >= 9.2e18)
        return std::numeric_limits<qint64>::max();
    if (r <= -9.2e18)
        return std::numeric_limits<qint64>::min();
    return static_cast<qint64>(r);
}

// Whatever way a run ends (finished, stopped, or abandoned by an error that
// goes on to the general handler), the window is ready for the next one.
struct RunScope
{
    TfrmMain *w;
    explicit RunScope(TfrmMain *window) : w(window) { w->RunActive = true; }
    ~RunScope()
    {
        w->RunActive = false;
        w->TimerRunTime->stop();
        if (!w->ConsoleIO->IsRunning() && !w->listViewFiles->isEnabled())
            w->SetIdleState(true);
    }
    RunScope(const RunScope &) = delete;
    RunScope &operator=(const RunScope &) = delete;
};

} // namespace

void TfrmMain::ActionConvertNowExecute()
{
    if (listViewFiles->topLevelItemCount() == 0)
        return;
    if (ConsoleIO->IsRunning())
        StopConversion();
    else if (!RunActive) // between two jobs of a run: never a second run
        StartConversion();
}

void TfrmMain::StartConversion()
{
    RunScope scope(this);
    DeleteLogFile();
    QString folder = editOutputFolder->text();
    const int count = listViewFiles->topLevelItemCount();
    QString failedFormats;

    for (int i = 0; i < count; ++i) {
        // Closing the window empties the queue: the run ends at once.
        if (i >= listViewFiles->topLevelItemCount()) {
            KeepRunning = true;
            return;
        }
        RunTicks = 0;
        TimerRunTime->start();
        MaxTimeSeconds = 0;
        InputDurationSeconds = 0;

        QTreeWidgetItem *item = listViewFiles->topLevelItem(i);
        listViewFiles->clearSelection();
        listViewFiles->setCurrentItem(item);
        item->setSelected(true);

        const QString longInput = item->text(0);
        const QString shortInput = ShortPathName(longInput);
        const QString startTime = item->text(1);
        const QString duration = item->text(2);

        if (!folder.endsWith(QLatin1Char('/')))
            folder += QLatin1Char('/');
        const QString output = ResolveOutputPath(folder + OutputFileName(longInput, CurrentExtension), longInput);
        if (output.isEmpty())
            continue; // passed over: not a failure

        WritePlaceholder(output);
        const QString shortOutput = ShortPathName(output);
        if (shortOutput.isEmpty())
            continue;

        const QString command = BuildJobCommand(shortInput, shortOutput, startTime, duration);
        bool started = false;
        if (!command.isEmpty()) {
            ConsoleIO->StartProcess(LastJobArguments, QString(), false);
            started = true;
        }
        // Everything else of the run (progress, the timer, Stop, closing the
        // window) happens in here.
        while (ConsoleIO->IsRunning())
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        TimerRunTime->stop();

        // The encoder's own verdict decides; a short job is no failed job.
        if (!started || !ConsoleIO->LastExitSucceeded())
            failedFormats += FileExtension(shortInput) + QLatin1Char(',');

        if (!KeepRunning || listViewFiles->topLevelItemCount() <= i) {
            KeepRunning = true;
            return;
        }
    }

    ResetStatus();
    KeepRunning = true;
    if (!failedFormats.isEmpty()) {
        failedFormats.chop(1);
        if (frmUnSupportFormat) {
            frmUnSupportFormat->UnsupportedFormats = failedFormats;
            frmUnSupportFormat->showModeless();
        }
        return;
    }
    QMessageBox box(QMessageBox::Question, ZendrelApplication::title(),
                    msgFolderView + QStringLiteral("\r\n\r\n") + msgFinishInfo, QMessageBox::Yes | QMessageBox::No,
                    this);
    if (box.exec() == QMessageBox::Yes)
        OpenFolder(folder);
}

void TfrmMain::StopConversion()
{
    KeepRunning = false;
    ResetStatus();
    try {
        ConsoleIO->SendLine(QStringLiteral("q"));
    } catch (...) {
        // The child no longer reads its input; it must still not outlive the
        // stop. The write error is shown all the same.
        ConsoleIO->StopProcess();
        throw;
    }
    ConsoleIO->StopProcess();
}

void TfrmMain::SetIdleState(bool enabled)
{
    for (QWidget *w : {static_cast<QWidget *>(listViewFiles), static_cast<QWidget *>(buttonAdd),
                       static_cast<QWidget *>(buttonDelete), static_cast<QWidget *>(buttonClearAll),
                       static_cast<QWidget *>(buttonMoveUp), static_cast<QWidget *>(buttonMoveDown),
                       static_cast<QWidget *>(ComboBoxFormatSelect), static_cast<QWidget *>(ComboBoxVideoCodec),
                       static_cast<QWidget *>(comboBoxVideoBitrate), static_cast<QWidget *>(comboBoxFrameRate),
                       static_cast<QWidget *>(comboBoxVideoSize), static_cast<QWidget *>(ComboBoxAudioCodec),
                       static_cast<QWidget *>(comboBoxAudioBitrate), static_cast<QWidget *>(comboBoxSampleRate),
                       static_cast<QWidget *>(comboBoxChannel), static_cast<QWidget *>(ComboBoxAspect)})
        w->setEnabled(enabled);
    for (QAction *a : {ActionFileAdd, ActionFileDelete, ActionFileClearAll, ActionFileMoveUp, ActionFileMoveDown,
                       ActionSetDirectory, ActionFileBatchAdd})
        a->setEnabled(enabled);
    editOutputFolder->setEnabled(enabled);
    BitBtnOutput->setEnabled(enabled);
    ActionConvertNow->setText(enabled ? StringStartCaption : StringStopCaption);
}

void TfrmMain::ConsoleIOProcessStatusChange(bool isRunning)
{
    SetIdleState(!isRunning);
}

void TfrmMain::ResetStatus()
{
    labelCurrentInfo->setText(msgStatusReady);
    labelCurrentInfo->setToolTip(msgStatusReady);
    progressBarCurrent->setValue(0);
}

void TfrmMain::OpenFolder(const QString &path)
{
    if (frmCommon)
        frmCommon->ShellOpen(path);
}

void TfrmMain::TimerRunTimeTimer()
{
    ++RunTicks;
}

void TfrmMain::ConsoleIOReceiveOutput(const QString &cmd)
{
    if (frmCommon && frmCommon->ReadLogFileSetting())
        AppendLog(cmd);
    ParseEncoderOutput(cmd);
}

void TfrmMain::ConsoleIOReceiveError(const QString &cmd)
{
    ConsoleIOReceiveOutput(cmd); // both streams are read alike
}

void TfrmMain::ParseEncoderOutput(const QString &text)
{
    using namespace TextHelpers;
    QTreeWidgetItem *item = nullptr;
    const QList<QTreeWidgetItem *> selected = listViewFiles->selectedItems();
    if (selected.isEmpty())
        return;
    item = selected.first();
    const QString inputPath = item->text(0);
    const QString startText = item->text(1);
    const QString durationText = item->text(2);

    const QString d = Trim(ExtractBetween(QStringLiteral("ffmpeg_release_duration="),
                                          QStringLiteral("=ffmpeg_release_duration"), text));
    if (!d.isEmpty())
        InputDurationSeconds = ClockTextToSeconds(d);

    const QString t = Trim(ExtractBetween(QStringLiteral("ffmpeg_release_time="), QStringLiteral("=ffmpeg_release_time"), text));
    qint64 current = MaxTimeSeconds;
    if (!t.isEmpty()) {
        current = RoundHalfEven(TimeValue(t));
        if (current > MaxTimeSeconds)
            MaxTimeSeconds = current;
    }

    const qint64 u = ClockTextToSeconds(startText + QStringLiteral(".0"));
    qint64 w = durationText.isEmpty() ? InputDurationSeconds - u : ClockTextToSeconds(durationText + QStringLiteral(".0"));
    if (w == 0)
        w = 1;
    const QString endText = SecondsToClockText(u + w);

    const double percent = std::nearbyint(double(current) / double(w) * 100.0);
    progressBarCurrent->setValue(percent > 99 ? 99 : percent < 0 ? 0 : int(percent));

    const QString counter = QString::asprintf("%d/%d", listViewFiles->indexOfTopLevelItem(item) + 1,
                                              listViewFiles->topLevelItemCount());
    const QString status = Templates::format(msgStatusRun, counter) +
                           QStringLiteral(" [%1-%2]").arg(startText, endText) + QLatin1Char(' ') + inputPath;
    labelCurrentInfo->setText(status);
    labelCurrentInfo->setToolTip(status);
}
