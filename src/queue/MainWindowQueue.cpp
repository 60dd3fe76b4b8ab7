// The conversion queue of the main window: adding, removing, moving and
// trimming rows; the sources of files; the output folder.
#include "mainwindow/TfrmMain.h"

#include "app/TextHelpers.h"
#include "app/ZendrelApplication.h"
#include "queue/TFrmBatchAdd.h"
#include "queue/TFrmDirectory.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QRegularExpression>
#include <QUrl>

// Keeps m_queuedPaths (path -> number of rows holding it) in step with the
// rows, so the duplicate test need not scan them.
class QueueBookkeeping
{
public:
    static bool inStep(const TfrmMain &w) { return w.m_queuedPaths.size() == w.listViewFiles->topLevelItemCount(); }

    // Rows changed behind the queue's back: count them afresh.
    static void resync(TfrmMain &w)
    {
        w.m_queuedPaths.clear();
        for (int i = 0, n = w.listViewFiles->topLevelItemCount(); i < n; ++i)
            ++w.m_queuedPaths[w.listViewFiles->topLevelItem(i)->text(0)];
    }

    static void added(TfrmMain &w, const QString &path) { ++w.m_queuedPaths[path]; }

    static void removed(TfrmMain &w, const QString &path)
    {
        auto it = w.m_queuedPaths.find(path);
        if (it != w.m_queuedPaths.end() && --it.value() <= 0)
            w.m_queuedPaths.erase(it);
    }
};

namespace {

const QString ZeroTime = QStringLiteral("00:00:00");
const char *const InvalidTimeText = "Invalid input value.  Use escape key to abandon changes";
const char *const ResetTextProperty = "zendrelResetText";

// The last path component, for the extension test.
QString finalComponent(const QString &path)
{
    qsizetype cut = path.lastIndexOf(QLatin1Char('/'));
    if (QDir::separator() != QLatin1Char('/'))
        cut = qMax(cut, path.lastIndexOf(QDir::separator()));
    return path.mid(cut + 1);
}

// Only the letters A to Z change.
QString lowerAsciiLetters(QString text)
{
    for (QChar &c : text)
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    return text;
}

bool hasSupportedExtension(const QString &path)
{
    const QString name = finalComponent(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return false;
    // A plain substring search, as the list is one text.
    static const QString supported = TfrmMain::SupportedExtensions();
    return supported.contains(lowerAsciiLetters(name.mid(dot)));
}

// ---- time fields ----------------------------------------------------------

QChar blankChar(const QLineEdit *field)
{
    const QString mask = field->inputMask();
    const qsizetype semi = mask.lastIndexOf(QLatin1Char(';'));
    return semi >= 0 && semi + 1 < mask.size() ? mask.at(semi + 1) : QLatin1Char(' ');
}

// The position of the first required character left blank, or -1.
int firstBlankRequired(const QLineEdit *field)
{
    QString mask = field->inputMask();
    mask.truncate(mask.lastIndexOf(QLatin1Char(';')) < 0 ? mask.size() : mask.lastIndexOf(QLatin1Char(';')));
    const QString shown = field->displayText();
    const QChar blank = blankChar(field);
    int pos = 0;
    for (qsizetype i = 0; i < mask.size(); ++i) {
        const QChar m = mask.at(i);
        if (m == QLatin1Char('>') || m == QLatin1Char('<') || m == QLatin1Char('!'))
            continue;
        if (m == QLatin1Char('\\')) { // an escaped literal
            ++i;
            ++pos;
            continue;
        }
        if (QStringLiteral("ANX9DHB").contains(m) && (pos >= shown.size() || shown.at(pos) == blank))
            return pos;
        ++pos;
    }
    return -1;
}

// The text of a time field with blanks and control characters trimmed.
QString timeFieldText(const QLineEdit *field)
{
    QString shown = field->displayText();
    shown.replace(blankChar(field), QLatin1Char(' '));
    return TextHelpers::Trim(shown);
}

// Shows a stored time; one stored without its first hour digit gets that
// position blank again.
void setTimeField(QLineEdit *field, const QString &text)
{
    static const QRegularExpression shortHour(QStringLiteral("^\\d:\\d\\d:\\d\\d$"));
    field->setText(shortHour.match(text).hasMatch() ? blankChar(field) + text : text);
    field->setProperty(ResetTextProperty, field->displayText());
}

// A changed field with a required digit blank cannot be left: beep, keep the
// focus there, put the cursor on the gap and say so.
bool validateTimeField(QLineEdit *field)
{
    if (!field->isModified())
        return true;
    const int gap = firstBlankRequired(field);
    if (gap < 0)
        return true;
    QApplication::beep();
    field->setFocus(Qt::OtherFocusReason);
    field->setCursorPosition(gap);
    ZendrelApplication::showError(QString::fromLatin1(InvalidTimeText));
    return false;
}

// The duration field takes digits and backspace; keys that type nothing
// (cursor movement) and Delete and Tab are not typed characters.
bool durationKeyAllowed(const QKeyEvent *key)
{
    switch (key->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return true;
    default:
        break;
    }
    const QString text = key->text();
    if (text.isEmpty())
        return true;
    return text.size() == 1 && text.at(0) >= QLatin1Char('0') && text.at(0) <= QLatin1Char('9');
}

// ---- folder walk ----------------------------------------------------------

// Windows-style wildcard match of a folder entry name, without regard to
// case: "*" any run, "?" one character (none at the very end), and a final
// ".*" also matches a name without a dot, so "*.*" matches every name.
QRegularExpression entryPattern(const QString &pattern)
{
    QString body = pattern;
    bool optionalDotTail = false;
    if (body.endsWith(QLatin1String(".*"))) {
        body.chop(2);
        optionalDotTail = true;
    }
    qsizetype trailingMarks = 0;
    while (trailingMarks < body.size() && body.at(body.size() - 1 - trailingMarks) == QLatin1Char('?'))
        ++trailingMarks;
    body.chop(trailingMarks);
    QString rx = QStringLiteral("\\A");
    for (const QChar c : std::as_const(body)) {
        if (c == QLatin1Char('*'))
            rx += QLatin1String(".*");
        else if (c == QLatin1Char('?'))
            rx += QLatin1Char('.');
        else
            rx += QRegularExpression::escape(QString(c));
    }
    if (trailingMarks > 0)
        rx += QStringLiteral(".{0,%1}").arg(trailingMarks);
    if (optionalDotTail)
        rx += QLatin1String("(\\..*)?");
    rx += QLatin1String("\\z");
    return QRegularExpression(rx, QRegularExpression::CaseInsensitiveOption |
                                      QRegularExpression::DotMatchesEverythingOption);
}

// Lets pending events through during a walk. Each pass repaints the list, so
// passes are spaced about a frame apart: the window stays responsive and
// shows the rows as they come, and the walk's cost stays linear.
class EventPump
{
public:
    explicit EventPump(const QWidget *window) : m_window(window), m_watchClose(window->isVisible()) {}

    void afterEntry()
    {
        if (m_clock.isValid() && m_clock.elapsed() < IntervalMs)
            return;
        QCoreApplication::processEvents();
        m_clock.start();
    }

    // The main window was closed during the walk: the program is ending.
    bool windowClosed() const { return m_watchClose && (!m_window || !m_window->isVisible()); }

private:
    static constexpr qint64 IntervalMs = 15;
    QPointer<const QWidget> m_window;
    bool m_watchClose;
    QElapsedTimer m_clock;
};

// A folder entered by the walk: a real folder (no link to one) that is not
// hidden. Links are not followed, so a tree with a link loop ends.
bool isPlainFolder(const QFileInfo &entry)
{
    return !entry.isSymLink() && entry.isDir() && !entry.isHidden();
}

void walkFolder(TfrmMain &w, const QString &folder, bool includeSubFolders, const QRegularExpression &pattern,
                EventPump &pump)
{
    // A place outside the file system has no path to list. (Qt reads a
    // leading ":" as its own resources, which are no place of the user's.)
    if (folder.startsWith(QLatin1Char(':')) || !QDir::isAbsolutePath(folder))
        return;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        if (!pattern.match(name).hasMatch())
            continue;
        const QString path = folder + QDir::separator() + name;
        if (includeSubFolders && isPlainFolder(it.fileInfo()))
            walkFolder(w, path, includeSubFolders, pattern, pump);
        else
            w.AddFileToQueue(path);
        pump.afterEntry();
        if (pump.windowClosed())
            return;
    }
}

// "desc|patterns|desc|patterns..." to Qt's "desc (pattern pattern)" entries.
QStringList qtNameFilters(const QString &windowsFilter)
{
    const QStringList parts = windowsFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts.at(i + 1);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << parts.at(i) + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters;
}

QComboBox *fileTypeCombo(QFileDialog *dialog)
{
    return dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
}

// ---- drops ----------------------------------------------------------------

QStringList localPaths(const QMimeData *data)
{
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    const QList<QUrl> urls = data->urls();
    for (const QUrl &url : urls) {
        if (!url.isLocalFile())
            continue;
        QString path = url.toLocalFile();
        // A folder's URL may end in a separator; its path as a name does not.
        while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
            path.chop(1);
        if (!path.isEmpty())
            paths << QDir::toNativeSeparators(path);
    }
    return paths;
}

} // namespace

// ---- the queue --------------------------------------------------------------

QString TfrmMain::SupportedExtensions()
{
    return QStringLiteral("*.3gp;*.3g2;*.avi;*.dv;*.dif;*.mov;*.qt;*.swf;*.mp2;*.mp3;*.ogg;*.aac;*.m4a;*.nut;*.ac3;"
                          "*.h261;*.h264;*.m4v;*.yuv;*.mp4;*.flv;") +
           QStringLiteral("*.rm;*.ra;*.ram;*.rmvb;*.wma;*.wmv;*.asf;*.mpg;*.mpeg;*.mpa;*.vob;*.dat;*.ape;*.cue;*.mkv;"
                          "*.wav;*.aiff;*.au;*.cda;*.avs;*.psp;*.smk;*.nsv;*.mts");
}

void TfrmMain::AddFileToQueue(const QString &path)
{
    if (!QueueBookkeeping::inStep(*this))
        QueueBookkeeping::resync(*this);
    if (IsInQueue(path) || !hasSupportedExtension(path))
        return;
    listViewFiles->addTopLevelItem(new QTreeWidgetItem(QStringList{path, ZeroTime, QString()}));
    QueueBookkeeping::added(*this, path);
    // Shown at the next paint; a synchronous repaint per row would make
    // long walks quadratic.
    listViewFiles->viewport()->update();
}

bool TfrmMain::IsInQueue(const QString &path) const
{
    if (QueueBookkeeping::inStep(*this))
        return m_queuedPaths.contains(path);
    for (int i = 0, n = listViewFiles->topLevelItemCount(); i < n; ++i)
        if (listViewFiles->topLevelItem(i)->text(0) == path)
            return true;
    return false;
}

void TfrmMain::RemoveSelected()
{
    const QList<QTreeWidgetItem *> selected = listViewFiles->selectedItems();
    if (selected.isEmpty())
        return;
    QTreeWidgetItem *row = selected.first();
    const QString path = row->text(0);
    delete row;
    QueueBookkeeping::removed(*this, path);
    // The view would select the next row; a second Remove must not delete it.
    listViewFiles->clearSelection();
    listViewFiles->viewport()->update();
}

void TfrmMain::ActionFileDeleteExecute() { RemoveSelected(); }

void TfrmMain::ActionFileClearAllExecute()
{
    QMessageBox box(QMessageBox::NoIcon, ZendrelApplication::title(), msgClearAll,
                    QMessageBox::Ok | QMessageBox::Cancel, this);
    box.setObjectName(QStringLiteral("msgClearAllBox"));
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Cancel);
    if (box.exec() == QMessageBox::Ok)
        ClearQueue();
}

namespace {
void swapRows(QTreeWidget *list, int from, int to)
{
    QTreeWidgetItem *a = list->topLevelItem(from);
    QTreeWidgetItem *b = list->topLevelItem(to);
    for (int c = 0; c < 3; ++c) {
        const QString t = a->text(c);
        a->setText(c, b->text(c));
        b->setText(c, t);
    }
    list->setCurrentItem(b); // select and focus: the selection follows the entry
    list->viewport()->update();
}
} // namespace

void TfrmMain::MoveSelectedUp()
{
    const QList<QTreeWidgetItem *> selected = listViewFiles->selectedItems();
    if (selected.isEmpty())
        return;
    const int i = listViewFiles->indexOfTopLevelItem(selected.first());
    if (i <= 0)
        return;
    swapRows(listViewFiles, i, i - 1);
}

void TfrmMain::MoveSelectedDown()
{
    const QList<QTreeWidgetItem *> selected = listViewFiles->selectedItems();
    if (selected.isEmpty())
        return;
    const int i = listViewFiles->indexOfTopLevelItem(selected.first());
    if (i < 0 || i >= listViewFiles->topLevelItemCount() - 1)
        return;
    swapRows(listViewFiles, i, i + 1);
}

void TfrmMain::ActionFileMoveUpExecute() { MoveSelectedUp(); }
void TfrmMain::ActionFileMoveDownExecute() { MoveSelectedDown(); }

void TfrmMain::ClearQueue()
{
    listViewFiles->clear();
    m_queuedPaths.clear();
}

// ---- the edit panel ---------------------------------------------------------

void TfrmMain::listViewFilesMouseUp(Qt::MouseButton button, const QPoint &pos)
{
    if (button != Qt::LeftButton)
        return;
    const QList<QTreeWidgetItem *> selected = listViewFiles->selectedItems();
    if (selected.isEmpty())
        return;
    const QTreeWidgetItem *row = selected.first();
    LabelEditItemFileName->setText(row->text(0));
    setTimeField(MaskEditFileStartTime, row->text(1));
    setTimeField(MaskEditItemFileDuration, row->text(2).isEmpty() ? ZeroTime : row->text(2));
    GroupBoxEditItem->move(GroupBoxEditItem->x(), listViewFiles->y() + pos.y());
    GroupBoxEditItem->show();
    GroupBoxEditItem->raise();
}

void TfrmMain::ButtonEditItemOKClick()
{
    // A changed field with a gap is not stored; the panel stays open on it.
    if (!validateTimeField(MaskEditFileStartTime) || !validateTimeField(MaskEditItemFileDuration))
        return;
    const QList<QTreeWidgetItem *> selected = listViewFiles->selectedItems();
    if (!selected.isEmpty()) {
        QTreeWidgetItem *row = selected.first();
        row->setText(1, timeFieldText(MaskEditFileStartTime));
        const QString duration = timeFieldText(MaskEditItemFileDuration);
        row->setText(2, duration == ZeroTime ? QString() : duration);
    }
    GroupBoxEditItem->hide();
}

void TfrmMain::ButtonEditItemCancelClick() { GroupBoxEditItem->hide(); }

bool TfrmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == listViewFiles->viewport()) {
        if (event->type() == QEvent::MouseButtonRelease) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            listViewFilesMouseUp(mouse->button(), listViewFiles->viewport()->mapTo(listViewFiles, mouse->position().toPoint()));
        }
        return QMainWindow::eventFilter(watched, event);
    }

    auto *field = qobject_cast<QLineEdit *>(watched);
    if (!field || (field != MaskEditFileStartTime && field != MaskEditItemFileDuration))
        return QMainWindow::eventFilter(watched, event);

    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Escape && field->isModified()) {
            // Abandon the changes.
            field->setText(field->property(ResetTextProperty).toString());
            return true;
        }
        if (field == MaskEditItemFileDuration && !durationKeyAllowed(key))
            return true;
        break;
    }
    case QEvent::FocusIn:
        if (!field->isModified())
            field->setProperty(ResetTextProperty, field->displayText());
        break;
    case QEvent::FocusOut: {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason || reason == Qt::MenuBarFocusReason)
            break;
        // OK checks the fields itself; Cancel abandons them.
        const QWidget *next = QApplication::focusWidget();
        if (next == ButtonEditItemOK || next == ButtonEditItemCancel || GroupBoxEditItem->isHidden() ||
            !GroupBoxEditItem->isVisible())
            break;
        validateTimeField(field);
        break;
    }
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---- adding files -----------------------------------------------------------

QString TfrmMain::OpenDialogFilter()
{
    static const char *const entries[][2] = {
        {"3GPP Files (*.3gp)", "*.3gp"},
        {"3GPP2 Files (*.3g2)", "*.3g2"},
        {"AVI Files (*.avi)", "*.avi"},
        {"DV Video Files (*.dv;*.dif)", "*.dv;*.dif"},
        {"Quick Time Files (*.mov;*.qt)", "*.mov;*.qt"},
        {"Macromedia Flash Files (*.swf)", "*.swf"},
        {"MP2 Files (*.mp2)", "*.mp2"},
        {"MP2 Files (*.mp3)", "*.mp3"},
        {"OGG Vorbis Files (*.ogg)", "*.ogg"},
        {"AAC Files (*.aac)", "*.aac"},
        {"MPEG-4 Audio Files (*.m4a)", "*.m4a"},
        {"MPEG-4 Files (*.mp4)", "*.mp4"},
        {"NUT Files (*.nut)", "*.nut"},
        {"Raw AC3 Files (*.ac3)", "*.ac3"},
        {"Raw H261 Files (*.h261)", "*.h261"},
        {"Raw H264 Files (*.h261;*.h264)", "*.h261;*.h264"},
        {"Raw MPEG-4 Video Files (*.m4v)", "*.m4v"},
        {"Raw Video Files (*.yuv)", "*.yuv"},
        {"MPEG-4 Files (*.mp4)", "*.mp4"},
        {"Real Media Files (*.rm;*.ra;*.ram;*.rmvb)", "*.rm;*.ra;*.ram;*.rmvb"},
        {"Windows Media Files (*.wma;*.wmv;*.asf)", "*.wma;*.wmv;*.asf"},
        {"MPEG Files (*.mpg;*.mpeg;*.mpa)", "*.mpg;*.mpeg;*.mpa"},
        {"DVD and VCD Files (*.vob;*.dat)", "*.vob;*.dat"},
        {"Monkey's Audio Files (*.ape;*.cue)", "*.ape;*.cue"},
        {"MKV Video Files (*.mkv)", "*.mkv"},
        {"WAV Files (*.wav;*.aiff)", "*.wav;*.aiff"},
        {"Sun Au Audio Files (*.au)", "*.au"},
        {"CD Audio (*.cda)", "*.cda"},
        {"Song DV Video (*.mts)", "*.mts"},
        {"FLV Files (*.flv)", "*.flv"},
    };
    QString filter = QStringLiteral("Support files|") + SupportedExtensions() + QLatin1Char('|');
    for (const auto &entry : entries)
        filter += QLatin1String(entry[0]) + QLatin1Char('|') + QLatin1String(entry[1]) + QLatin1Char('|');
    return filter + QStringLiteral("All files (*.*)|*.*");
}

QStringList TfrmMain::lastOpenDialogFilters() const { return m_openDialogFilters; }

void TfrmMain::ActionFileAddExecute()
{
    if (!OpenDialog) {
        OpenDialog = new QFileDialog(this);
        OpenDialog->setObjectName(QStringLiteral("OpenDialog"));
        OpenDialog->setOption(QFileDialog::DontUseNativeDialog, true);
        // The combo box shows the descriptions as they are.
        OpenDialog->setOption(QFileDialog::HideNameFilterDetails, true);
        OpenDialog->setAcceptMode(QFileDialog::AcceptOpen);
        OpenDialog->setFileMode(QFileDialog::ExistingFiles);
        OpenDialog->setSizeGripEnabled(true);
    }
    OpenDialog->setWindowTitle(QStringLiteral("Open video files"));
    m_openDialogFilters = qtNameFilters(OpenDialogFilter());
    OpenDialog->setNameFilters(m_openDialogFilters);
    const int start = qBound(0, m_openDialogFilterIndex, int(m_openDialogFilters.size()) - 1);
    OpenDialog->selectNameFilter(m_openDialogFilters.at(start));
    // Entries 13 and 20 are the same text; pick the very entry.
    QComboBox *types = fileTypeCombo(OpenDialog);
    if (types && start < types->count())
        types->setCurrentIndex(start);
    // An empty file name and no chosen files.
    if (auto *name = OpenDialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
        name->clear();
    for (QAbstractItemView *view : OpenDialog->findChildren<QAbstractItemView *>())
        if (view->selectionModel())
            view->selectionModel()->clearSelection();

    if (OpenDialog->exec() != QDialog::Accepted)
        return;
    const int chosen = types ? types->currentIndex() : int(m_openDialogFilters.indexOf(OpenDialog->selectedNameFilter()));
    if (chosen >= 0)
        m_openDialogFilterIndex = chosen;
    const QStringList files = OpenDialog->selectedFiles();
    for (const QString &file : files) {
        if (file.isEmpty())
            break;
        AddFileToQueue(QDir::toNativeSeparators(file));
    }
}

void TfrmMain::ActionFileBatchAddExecute()
{
    if (!FrmBatchAdd)
        FrmBatchAdd = new TFrmBatchAdd(this);
    FrmBatchAdd->show();
    FrmBatchAdd->raise();
    FrmBatchAdd->activateWindow();
}

void TfrmMain::AddFolderToQueue(const QString &folder, bool includeSubFolders, const QString &extension)
{
    const QString pattern = QStringLiteral("*.") + (extension.isEmpty() ? QStringLiteral("*") : extension);
    EventPump pump(this);
    walkFolder(*this, folder, includeSubFolders, entryPattern(pattern), pump);
}

void TfrmMain::WMDropFiles(const QStringList &paths)
{
    for (const QString &path : paths)
        AddFileToQueue(path);
}

namespace {
// Drags from outside bring files; a drag that starts inside the program is
// only welcome over the list, and its drop changes nothing.
bool acceptsDrag(const QMainWindow *window, const QWidget *list, const QDropEvent *event)
{
    if (event->source())
        return list->rect().contains(list->mapFrom(window, event->position().toPoint()));
    return !localPaths(event->mimeData()).isEmpty();
}
} // namespace

void TfrmMain::dragEnterEvent(QDragEnterEvent *event)
{
    if (acceptsDrag(this, listViewFiles, event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TfrmMain::dragMoveEvent(QDragMoveEvent *event)
{
    if (acceptsDrag(this, listViewFiles, event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TfrmMain::dropEvent(QDropEvent *event)
{
    QMainWindow::dropEvent(event);
    if (event->source()) {
        event->ignore();
        return;
    }
    const QStringList paths = localPaths(event->mimeData());
    if (paths.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    WMDropFiles(paths);
}

// ---- output folder ----------------------------------------------------------

void TfrmMain::ActionSetDirectoryExecute()
{
    if (!FrmDirectory)
        FrmDirectory = new TFrmDirectory(this);
    if (FrmDirectory->exec() == QDialog::Accepted)
        editOutputFolder->setText(FrmDirectory->ChosenFolder);
}

// Runs only when the text really changed (QLineEdit::textChanged).
void TfrmMain::editOutputFolderChange() { WriteOutputFolder(); }
