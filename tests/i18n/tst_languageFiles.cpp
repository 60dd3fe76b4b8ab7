// The shipped language files: exactly the keys of the tables, complete,
// UTF-8, usable templates and keyboard accelerators, and captions that fit
// their controls in every skin.
#include "TestUtil.h"

#include "app/IniFile.h"
#include "app/TfrmCommon.h"
#include "i18n/LanguageKeys.h"
#include "mainwindow/TfrmMain.h"
#include "queue/TFrmBatchAdd.h"
#include "queue/TFrmDirectory.h"
#include "run/TfrmOverWrite.h"
#include "run/TfrmUnSupportFormat.h"
#include "ui/TfrmHelpDialog.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QRegularExpression>
#include <QStringDecoder>

namespace {

struct Entry
{
    QString section, key;
    QByteArray value; // as the settings layer reads it
    int line;
};

// Reads a language file line by line; anything that is neither a section,
// a key, a comment nor blank is reported.
QList<Entry> parseFile(const QString &path, QStringList &problems)
{
    QList<Entry> out;
    const QByteArray data = TestUtil::readFile(path);
    if (data.isEmpty())
        problems << QStringLiteral("%1 is missing or empty").arg(path);
    if (data.startsWith("\xEF\xBB\xBF"))
        problems << QStringLiteral("%1 starts with a byte order mark").arg(path);
    QStringDecoder utf8(QStringDecoder::Utf8);
    (void)utf8.decode(data);
    if (utf8.hasError())
        problems << QStringLiteral("%1 is not UTF-8").arg(path);
    QString section;
    int number = 0;
    for (QByteArray line : data.split('\n')) {
        ++number;
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(';'))
            continue;
        if (line.startsWith('[') && line.endsWith(']')) {
            section = QString::fromUtf8(line.mid(1, line.size() - 2));
            continue;
        }
        const int eq = line.indexOf('=');
        if (eq <= 0 || section.isEmpty()) {
            problems << QStringLiteral("line %1: %2").arg(number).arg(QString::fromUtf8(line));
            continue;
        }
        const QString key = QString::fromUtf8(line.left(eq).trimmed());
        out << Entry{section, key, Ini::readBytes(path, section, key), number};
    }
    return out;
}

QString shipped(const QString &name)
{
    return TestUtil::programDir() + QStringLiteral("/language/") + name;
}

QString valueOf(const QString &file, const QString &key, const QString &section = QStringLiteral("frmMain"))
{
    return Ini::readString(shipped(file), section, key);
}

// The letter after the one "&" of a caption ("&&" is a literal ampersand),
// or an empty text when the caption has none or several.
QString mnemonic(const QString &caption)
{
    QString letter;
    int count = 0;
    for (int i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&'))
            continue;
        if (caption[i + 1] == QLatin1Char('&')) {
            ++i;
            continue;
        }
        ++count;
        letter = caption[i + 1].toLower();
    }
    return count == 1 ? letter : QString();
}

QString withoutMnemonic(QString caption)
{
    caption.replace(QRegularExpression(QStringLiteral("\\(&(.)\\)")), QStringLiteral("(\\1)"));
    caption.replace(QRegularExpression(QStringLiteral("&(.)")), QStringLiteral("\\1"));
    return caption;
}

bool hasCjk(const QString &text)
{
    for (QChar c : text)
        if (c.unicode() >= 0x3400 && c.unicode() <= 0x9FFF)
            return true;
    return false;
}

} // namespace

class TestLanguageFiles : public QObject
{
    Q_OBJECT

private slots:
    // The tables themselves: seven sections with their number of keys,
    // no key twice (names compare without regard to case).
    void tables()
    {
        const QList<QPair<QString, int>> expected = {
            {"App", 1},          {"frmMain", 79},           {"frmDirectory", 4},  {"frmBatchAdd", 7},
            {"frmOverWrite", 6}, {"frmUnSupportFormat", 11}, {"frmHelpDialog", 6},
        };
        QStringList sections;
        for (const auto &s : expected)
            sections << s.first;
        QCOMPARE(LanguageKeys::sections(), sections);
        QSet<QString> seen;
        for (const auto &s : expected) {
            int n = 0;
            for (const LanguageKeys::Row &row : LanguageKeys::rows()) {
                if (row.section != s.first)
                    continue;
                ++n;
                const QString id = (row.section + QLatin1Char('/') + row.key).toLower();
                QVERIFY2(!seen.contains(id), qPrintable(id));
                seen << id;
            }
            QVERIFY2(n == s.second, qPrintable(QStringLiteral("%1: %2 keys").arg(s.first).arg(n)));
        }
    }

    void exactlyTheKeys_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("en.ini") << "en.ini";
        QTest::newRow("gb.ini") << "gb.ini";
    }
    // Every key of the tables once, spelled as in the tables, with a text;
    // no other key.
    void exactlyTheKeys()
    {
        QFETCH(QString, file);
        QStringList problems;
        const QList<Entry> entries = parseFile(shipped(file), problems);
        QStringList found;
        for (const Entry &e : entries) {
            const QString id = e.section + QLatin1Char('/') + e.key;
            if (found.contains(id))
                problems << QStringLiteral("line %1: %2 twice").arg(e.line).arg(id);
            found << id;
            if (e.value.isEmpty())
                problems << QStringLiteral("line %1: %2 is empty").arg(e.line).arg(id);
            if (e.value.size() >= Ini::MaxValueBytes)
                problems << QStringLiteral("line %1: %2 is too long").arg(e.line).arg(id);
        }
        QStringList wanted;
        for (const LanguageKeys::Row &row : LanguageKeys::rows())
            wanted << row.section + QLatin1Char('/') + row.key;
        for (const QString &id : wanted)
            if (!found.contains(id))
                problems << QStringLiteral("missing %1").arg(id);
        for (const QString &id : found)
            if (!wanted.contains(id))
                problems << QStringLiteral("not in the tables: %1").arg(id);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
    }

    void languageOfTheTexts()
    {
        QStringList problems;
        const QSet<QString> names = {"N_Skin5", "N_Skin6", "N_Skin7", "N_Skin8"}; // skin names kept as they are
        for (const Entry &e : parseFile(shipped("gb.ini"), problems))
            if (!names.contains(e.key) && !hasCjk(QString::fromUtf8(e.value)))
                problems << QStringLiteral("gb.ini %1/%2 has no Chinese text").arg(e.section, e.key);
        for (const Entry &e : parseFile(shipped("en.ini"), problems))
            if (hasCjk(QString::fromUtf8(e.value)))
                problems << QStringLiteral("en.ini %1/%2 is not English").arg(e.section, e.key);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
    }

    void templates_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        for (const char *file : {"en.ini", "gb.ini"}) {
            QTest::addRow("%s msgStatusRun", file) << file << "frmMain" << "msgStatusRun";
            QTest::addRow("%s msgUnSupportFormat", file) << file << "frmUnSupportFormat" << "msgUnSupportFormat";
        }
    }
    // The two templates take exactly one "%s" and no other conversion.
    void templates()
    {
        QFETCH(QString, file);
        QFETCH(QString, section);
        QFETCH(QString, key);
        const QString text = valueOf(file, key, section);
        QCOMPARE(text.count(QStringLiteral("%s")), 1);
        QCOMPARE(text.count(QLatin1Char('%')), 1);
    }

    void accelerators_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("keys");
        const QStringList menuBar = {"N_1", "N_Skin", "N_Tools", "N_Help"};
        const QStringList groups[] = {
            menuBar,
            {"ActionFileAdd", "ActionFileBatchAdd", "ActionFileDelete", "ActionFileClearAll", "ActionFileMoveUp",
             "ActionFileMoveDown", "ActionConvertNow", "ActionExit"},
            {"N_LocalHelp", "N_HomePage", "N_Support", "N_FeedBack", "N_Update"},
            {"N_OtherProducts"},
            // Alt+letter in the main window: the menu bar and the buttons.
            menuBar + QStringList{"ActionFileAdd", "ActionFileDelete", "ActionFileClearAll", "ActionFileMoveUp",
                                  "ActionFileMoveDown", "ActionSetDirectory", "ActionConvertNow"},
            menuBar + QStringList{"StringStartCaption"},
            menuBar + QStringList{"StringStopCaption"},
            {"frmOverWrite/buttonOverWrite", "frmOverWrite/buttonIgnore", "frmOverWrite/buttonAutoName"},
            {"frmUnSupportFormat/ButtonDownloadCodecs", "frmUnSupportFormat/ButtonCancel",
             "frmUnSupportFormat/ButtonSendErrorReport"},
            {"frmHelpDialog/ButtonYes", "frmHelpDialog/ButtonNo"},
        };
        for (const char *file : {"en.ini", "gb.ini"})
            for (const QStringList &keys : groups)
                QTest::addRow("%s %s", file, qPrintable(keys.join(' '))) << file << keys;
    }
    // Menus and the buttons a desktop user reaches by keyboard carry one
    // accelerator each, and no two of one window or menu share a letter.
    void accelerators()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, keys);
        QHash<QString, QString> used;
        for (const QString &k : keys) {
            const QStringList parts = k.split(QLatin1Char('/'));
            const QString text = parts.size() == 2 ? valueOf(file, parts[1], parts[0]) : valueOf(file, k);
            const QString letter = mnemonic(text);
            QVERIFY2(!letter.isEmpty(), qPrintable(QStringLiteral("%1: \"%2\"").arg(k, text)));
            QVERIFY2(!used.contains(letter), qPrintable(QStringLiteral("%1 and %2 share %3").arg(used[letter], k, letter)));
            used.insert(letter, k);
        }
    }

    // The splash bitmap of each language: 420 x 300, 24 bits, transparent
    // grey only outside its rounded frame.
    void splashBitmaps_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("English") << "splash-en.bmp";
        QTest::newRow("Chinese") << "splash-gb.bmp";
    }
    void splashBitmaps()
    {
        QFETCH(QString, file);
        const QByteArray bytes = TestUtil::readFile(TestUtil::programDir() + QLatin1Char('/') + file);
        QVERIFY(bytes.startsWith("BM"));
        QCOMPARE(int(uchar(bytes[28]) | uchar(bytes[29]) << 8), 24); // bits per pixel
        const QImage image = QImage::fromData(bytes, "BMP");
        QCOMPARE(image.size(), QSize(420, 300));
        const QRgb grey = qRgb(128, 128, 128);
        QCOMPARE(image.pixel(0, 0), grey);
        QCOMPARE(image.pixel(419, 299), grey);
        int inner = 0;
        for (int y = 24; y < 276; ++y)
            for (int x = 24; x < 396; ++x)
                inner += image.pixel(x, y) == grey;
        QCOMPARE(inner, 0);
    }

    void captionsFit_data()
    {
        QTest::addColumn<int>("language");
        QTest::newRow("English") << 2;
        QTest::newRow("Chinese") << 1;
    }
    // In every skin each caption fits its control, so no text is cut.
    void captionsFit()
    {
        QFETCH(int, language);
        QTemporaryDir tmp;
        const QString dir = TestUtil::makeProgramDir(tmp, false);
        TestUtil::writeFile(dir + "config.ini",
                            QStringLiteral("[common]\r\nlanguage=%1\r\n[setting]\r\ndisplayHelpDialog=0\r\n").arg(language).toUtf8());
        TestUtil::ErrorRecorder errors;
        TestUtil::startProgram(dir);
        frmMain->show();
        QVERIFY(QTest::qWaitForWindowExposed(frmMain));
        QStringList problems;
        const QList<QWidget *> windows = {frmMain, FrmDirectory, FrmBatchAdd, frmOverWrite, frmUnSupportFormat, frmHelpDialog};
        for (int skin = 1; skin <= 18; ++skin) {
            frmCommon->ApplySkin(skin);
            const QString where = TfrmCommon::SkinFileName(skin);
            for (QWidget *window : windows) {
                for (QWidget *w : window->findChildren<QWidget *>()) {
                    if (window == frmMain && qobject_cast<QDialog *>(w->window()) && w->window() != frmMain)
                        continue;
                    w->ensurePolished();
                    const QString name = where + QLatin1Char(' ') + w->objectName();
                    if (auto *l = qobject_cast<QLabel *>(w)) {
                        if (l->text().isEmpty())
                            continue;
                        if (l->wordWrap()) {
                            if (l->heightForWidth(l->width()) > l->height())
                                problems << QStringLiteral("%1: \"%2\" needs %3 px of height, has %4")
                                                .arg(name, l->text()).arg(l->heightForWidth(l->width())).arg(l->height());
                        } else if (l->fontMetrics().horizontalAdvance(l->text()) > l->contentsRect().width()) {
                            problems << QStringLiteral("%1: \"%2\" needs %3 px, has %4")
                                            .arg(name, l->text())
                                            .arg(l->fontMetrics().horizontalAdvance(l->text()))
                                            .arg(l->contentsRect().width());
                        }
                    } else if (auto *b = qobject_cast<QAbstractButton *>(w); b && !b->text().isEmpty()) {
                        // Text, icon and the skin's padding and border.
                        const int need = b->fontMetrics().horizontalAdvance(withoutMnemonic(b->text())) +
                                         (b->icon().isNull() ? 0 : b->iconSize().width() + 4) +
                                         (qobject_cast<QCheckBox *>(b) ? 20 : 6);
                        if (need > b->width())
                            problems << QStringLiteral("%1: \"%2\" needs %3 px, has %4").arg(name, b->text()).arg(need).arg(b->width());
                    } else if (auto *g = qobject_cast<QGroupBox *>(w)) {
                        const int need = g->fontMetrics().horizontalAdvance(g->title()) + 20;
                        if (!g->title().isEmpty() && need > g->width())
                            problems << QStringLiteral("%1: \"%2\" needs %3 px").arg(name, g->title()).arg(need);
                    }
                }
            }
            QHeaderView *header = frmMain->listViewFiles->header();
            for (int c = 0; c < 3; ++c) {
                const int need = header->sectionSizeHint(c);
                if (need > header->sectionSize(c))
                    problems << QStringLiteral("%1 column %2: needs %3 px, has %4").arg(where).arg(c).arg(need).arg(header->sectionSize(c));
            }
        }
        TestUtil::stopProgram();
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
        QVERIFY2(errors.texts.isEmpty(), qPrintable(errors.texts.join('\n')));
    }
};

ZENDREL_TEST_MAIN(TestLanguageFiles)
#include "tst_languageFiles.moc"
