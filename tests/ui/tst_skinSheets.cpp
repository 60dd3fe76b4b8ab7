// The eighteen shipped skins: each is a style sheet that Qt takes without a
// warning, styles every kind of control the program uses, keeps every text
// readable, and looks unlike every other skin.
#include "TestUtil.h"

#include "app/TfrmCommon.h"
#include "ui/TsuiSkinEngine.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextEdit>
#include <QToolTip>
#include <QTreeWidget>
#include <algorithm>
#include <cmath>

namespace {

QStringList &captured()
{
    static QStringList messages;
    return messages;
}

void captureWarnings(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtDebugMsg || type == QtInfoMsg)
        return;
    if ((context.category && QByteArray(context.category).startsWith("qt.qpa")) ||
        text.startsWith(QLatin1String("This plugin does not support")))
        return; // the offscreen platform's own notes
    captured() << text;
}

QString skinPath(int k)
{
    return TestUtil::programDir() + QStringLiteral("/skins/") + TfrmCommon::SkinFileName(k);
}

// Relative luminance and contrast ratio as the web accessibility
// guidelines define them.
double luminance(QRgb c)
{
    auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
}

double contrastRatio(QRgb a, QRgb b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Renders a text of solid blocks and the same place without it; the median
// contrast of the pixels the text covers against what lies under them.
double textContrast(const std::function<QImage()> &render, const std::function<void(const QString &)> &setText)
{
    setText(QStringLiteral("\u2588\u2588\u2588\u2588"));
    const QImage with = render().convertToFormat(QImage::Format_RGB32);
    setText(QStringLiteral("    "));
    const QImage without = render().convertToFormat(QImage::Format_RGB32);
    // Popups and tool tips fit their size to the text: compare the common part.
    const int width = std::min(with.width(), without.width()), height = std::min(with.height(), without.height());
    std::vector<double> ratios;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (with.pixel(x, y) != without.pixel(x, y))
                ratios.push_back(contrastRatio(with.pixel(x, y), without.pixel(x, y)));
    if (ratios.size() < 20)
        return 0; // the text did not show
    std::nth_element(ratios.begin(), ratios.begin() + ratios.size() / 2, ratios.end());
    return ratios[ratios.size() / 2];
}

// One of every control kind the program uses, as its windows hold them.
struct Gallery
{
    QMainWindow window;
    QMenu *menu = nullptr;
    QAction *menuEntry = nullptr, *menuEntry2 = nullptr;
    QLabel *label = nullptr;
    QGroupBox *group = nullptr;
    QPushButton *button = nullptr, *disabledButton = nullptr;
    QComboBox *list = nullptr, *editable = nullptr;
    QLineEdit *edit = nullptr, *readOnly = nullptr, *masked = nullptr;
    QTreeWidget *tree = nullptr;
    QProgressBar *progress = nullptr;
    QCheckBox *check = nullptr, *checked = nullptr;
    QTextEdit *text = nullptr;
    QDialog dialog;
    QLabel *dialogLabel = nullptr;

    Gallery()
    {
        menu = window.menuBar()->addMenu(QStringLiteral("&File"));
        window.menuBar()->setNativeMenuBar(false);
        window.menuBar()->addMenu(QStringLiteral("&Skin"));
        menuEntry = menu->addAction(QStringLiteral("&Add..."));
        menu->addSeparator();
        menuEntry2 = menu->addAction(QStringLiteral("E&xit"));
        auto *c = new QWidget;
        c->setFixedSize(472, 300);
        window.setCentralWidget(c);
        tree = new QTreeWidget(c);
        tree->setGeometry(2, 2, 463, 100);
        tree->setColumnCount(3);
        tree->setHeaderLabels({QStringLiteral("File"), QStringLiteral("Start Time"), QStringLiteral("Duration")});
        tree->setRootIsDecorated(false);
        for (int i = 0; i < 12; ++i)
            new QTreeWidgetItem(tree, {QStringLiteral("/home/user/Videos/clip%1.avi").arg(i), QStringLiteral("00:00:00"), QString()});
        tree->setCurrentItem(tree->topLevelItem(1));
        group = new QGroupBox(QStringLiteral("Settings"), c);
        group->setGeometry(2, 104, 463, 190);
        label = new QLabel(QStringLiteral("Codec:"), group);
        label->setGeometry(13, 20, 65, 15);
        list = new QComboBox(group);
        list->setGeometry(82, 17, 120, 21);
        list->addItems({QStringLiteral("mpeg4"), QStringLiteral("h264")});
        editable = new QComboBox(group);
        editable->setGeometry(82, 40, 120, 21);
        editable->setEditable(true);
        editable->addItem(QStringLiteral("auto"));
        edit = new QLineEdit(QStringLiteral("/home/user"), group);
        edit->setGeometry(82, 63, 120, 21);
        readOnly = new QLineEdit(QStringLiteral("/home/user"), group);
        readOnly->setGeometry(82, 86, 120, 21);
        readOnly->setReadOnly(true);
        masked = new QLineEdit(group);
        masked->setGeometry(82, 109, 56, 19);
        masked->setInputMask(QStringLiteral("09:99:99;_"));
        masked->setText(QStringLiteral("00:00:00"));
        button = new QPushButton(QStringLiteral("&Add..."), group);
        button->setGeometry(220, 17, 66, 25);
        disabledButton = new QPushButton(QStringLiteral("&Remove"), group);
        disabledButton->setGeometry(290, 17, 66, 25);
        disabledButton->setEnabled(false);
        progress = new QProgressBar(group);
        progress->setGeometry(220, 50, 230, 17);
        progress->setValue(42);
        check = new QCheckBox(QStringLiteral("Include subfolders"), group);
        check->setGeometry(220, 75, 200, 21);
        checked = new QCheckBox(QStringLiteral("Don't ask again"), group);
        checked->setGeometry(220, 98, 200, 21);
        checked->setChecked(true);
        text = new QTextEdit(group);
        text->setGeometry(220, 122, 230, 60);
        text->setPlainText(QStringLiteral("ffmpeg_release_time=12.36=ffmpeg_release_time\n").repeated(8));
        dialogLabel = new QLabel(QStringLiteral("Remove all files from the list?"), &dialog);
        dialogLabel->setGeometry(10, 10, 250, 20);
        dialog.resize(270, 60);
    }

    void show()
    {
        window.show();
        dialog.show();
        QTest::qWait(10);
    }
    // A tool tip over the window; returns its label.
    QLabel *showTip()
    {
        QToolTip::showText(window.mapToGlobal(QPoint(20, 20)), QStringLiteral("Ready"), &window);
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->inherits("QTipLabel") && w->isVisible())
                return static_cast<QLabel *>(w);
        return nullptr;
    }
    // The open File menu with its first entry chosen.
    void popUp()
    {
        QToolTip::hideText();
        menu->popup(window.mapToGlobal(QPoint(0, 0)));
        menu->setActiveAction(menuEntry);
        QTest::qWait(10);
    }
    // Draws everything once, the drop-down list of a combo box included.
    void drawAll()
    {
        show();
        if (QLabel *tip = showTip())
            tip->grab();
        popUp();
        window.grab();
        dialog.grab();
        menu->grab();
        menu->hide();
        editable->showPopup();
        QTest::qWait(10);
        editable->view()->window()->grab();
        editable->hidePopup();
    }
    void hide()
    {
        menu->hide();
        QToolTip::hideText();
        dialog.hide();
        window.hide();
    }
};

// Comments out, then "selectors { declarations }" in order.
struct Rule
{
    QStringList selectors;
    QList<QPair<QString, QString>> declarations;
};

QList<Rule> parseSheet(QString text, QStringList &problems)
{
    text.remove(QRegularExpression(QStringLiteral("/\\*.*?\\*/"), QRegularExpression::DotMatchesEverythingOption));
    QList<Rule> rules;
    int pos = 0;
    while (true) {
        const int open = text.indexOf(QLatin1Char('{'), pos);
        if (open < 0) {
            if (!text.mid(pos).trimmed().isEmpty())
                problems << QStringLiteral("text after the last rule: %1").arg(text.mid(pos).trimmed());
            break;
        }
        const int close = text.indexOf(QLatin1Char('}'), open);
        if (close < 0 || text.mid(open + 1, close - open - 1).contains(QLatin1Char('{'))) {
            problems << QStringLiteral("unbalanced braces after %1").arg(text.mid(pos, open - pos).trimmed());
            break;
        }
        Rule rule;
        for (const QString &s : text.mid(pos, open - pos).split(QLatin1Char(',')))
            rule.selectors << s.simplified();
        for (const QString &d : text.mid(open + 1, close - open - 1).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            if (d.trimmed().isEmpty())
                continue;
            const int colon = d.indexOf(QLatin1Char(':'));
            if (colon < 0) {
                problems << QStringLiteral("no value in \"%1\"").arg(d.trimmed());
                continue;
            }
            rule.declarations << qMakePair(d.left(colon).trimmed(), d.mid(colon + 1).trimmed());
        }
        rules << rule;
        pos = close + 1;
    }
    return rules;
}

} // namespace

class TestSkinSheets : public QObject
{
    Q_OBJECT

    Gallery *gallery = nullptr;
    TsuiSkinEngine engine;

    void skins_data()
    {
        QTest::addColumn<int>("index");
        for (int k = 1; k <= 18; ++k)
            QTest::addRow("%s", qPrintable(TfrmCommon::SkinFileName(k))) << k;
    }

private slots:
    void initTestCase() { gallery = new Gallery; }
    void cleanupTestCase()
    {
        delete gallery;
        qApp->setStyleSheet(QString());
    }

    // Qt takes every sheet without a warning while it draws every control
    // kind in it, popups and tool tips included.
    void takenWithoutWarnings_data() { skins_data(); }
    void takenWithoutWarnings()
    {
        QFETCH(int, index);
        captured().clear();
        const QtMessageHandler previous = qInstallMessageHandler(captureWarnings);
        engine.setSkinFile(skinPath(index));
        gallery->drawAll();
        gallery->hide();
        qInstallMessageHandler(previous);
        QCOMPARE(engine.LoadedFile(), skinPath(index));
        QVERIFY2(!qApp->styleSheet().isEmpty(), "no sheet applied");
        QVERIFY2(captured().isEmpty(), qPrintable(captured().join('\n')));
    }

    // The net above catches what Qt says about a faulty sheet.
    void faultySheetIsNoticed_data()
    {
        QTest::addColumn<QByteArray>("sheet");
        QTest::newRow("unbalanced") << QByteArray("QPushButton { color: red; ");
        QTest::newRow("unknown property") << QByteArray("QPushButton { colour: red; }");
    }
    void faultySheetIsNoticed()
    {
        QFETCH(QByteArray, sheet);
        QTemporaryDir tmp;
        const QString path = tmp.path() + QStringLiteral("/Faulty.ssk");
        TestUtil::writeFile(path, sheet);
        captured().clear();
        const QtMessageHandler previous = qInstallMessageHandler(captureWarnings);
        engine.setSkinFile(path);
        gallery->drawAll();
        gallery->hide();
        qInstallMessageHandler(previous);
        QVERIFY(!captured().isEmpty());
    }

    // Well formed, only properties Qt knows, named after its file, and a
    // rule for every control kind and state the program shows.
    void everyControlKindStyled_data() { skins_data(); }
    void everyControlKindStyled()
    {
        QFETCH(int, index);
        static const QSet<QString> known = {
            "alternate-background-color", "background", "background-clip", "background-color", "border",
            "border-bottom", "border-color", "border-left", "border-radius", "border-right", "border-style",
            "border-top", "border-width", "color", "font-family", "font-size", "font-weight", "height", "left",
            "margin", "margin-top", "min-height", "min-width", "outline", "padding", "padding-left",
            "padding-top", "selection-background-color", "selection-color", "spacing", "subcontrol-origin",
            "subcontrol-position", "text-align", "width",
        };
        static const QStringList required = {
            "QMainWindow", "QDialog", "QLabel", "QToolTip", "QMenuBar", "QMenuBar::item:selected", "QMenu",
            "QMenu::item:selected", "QMenu::separator", "QGroupBox", "QGroupBox::title", "QPushButton",
            "QPushButton:hover", "QPushButton:pressed", "QPushButton:disabled", "QComboBox", "QComboBox:editable",
            "QComboBox:disabled", "QComboBox::down-arrow", "QComboBox QAbstractItemView", "QLineEdit",
            "QLineEdit:read-only", "QLineEdit:disabled", "QTextEdit", "QTreeView", "QTreeView::item:selected",
            "QTreeWidget::item", "QHeaderView::section", "QProgressBar", "QProgressBar::chunk", "QCheckBox",
            "QCheckBox::indicator", "QCheckBox::indicator:checked", "QScrollBar:vertical",
            "QScrollBar::handle:vertical", "QScrollBar:horizontal",
        };
        const QString text = QString::fromUtf8(TestUtil::readFile(skinPath(index)));
        QStringList problems;
        const QList<Rule> rules = parseSheet(text, problems);
        QSet<QString> selectors;
        for (const Rule &rule : rules) {
            for (const QString &s : rule.selectors)
                selectors << s;
            for (const auto &d : rule.declarations)
                if (!known.contains(d.first))
                    problems << QStringLiteral("unknown property %1").arg(d.first);
        }
        for (const QString &s : required)
            if (!selectors.contains(s))
                problems << QStringLiteral("no rule for %1").arg(s);
        const QRegularExpressionMatch title = QRegularExpression(QStringLiteral("Zendrel skin \"([^\"]+)\"")).match(text);
        const QString base = TfrmCommon::SkinFileName(index).chopped(4);
        if (!title.hasMatch() || QString(title.captured(1)).remove(QLatin1Char(' ')) != base)
            problems << QStringLiteral("the sheet does not name itself %1").arg(base);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
    }

    // Every text the program shows stands out from what lies under it.
    void textsReadable_data() { skins_data(); }
    void textsReadable()
    {
        QFETCH(int, index);
        engine.setSkinFile(skinPath(index));
        Gallery &g = *gallery;
        g.show();
        QStringList problems;
        if (QLabel *tip = g.showTip()) {
            const double ratio = textContrast([tip] { return tip->grab().toImage(); }, [tip](const QString &t) { tip->setText(t); });
            if (ratio < 4.5)
                problems << QStringLiteral("tool tip: contrast %1").arg(ratio, 0, 'f', 2);
        } else {
            problems << QStringLiteral("no tool tip shown");
        }
        g.popUp();
        QTreeWidgetItem *plainItem = g.tree->topLevelItem(3);
        QTreeWidgetItem *selectedItem = g.tree->topLevelItem(1);
        g.tree->setCurrentItem(selectedItem);
        // Drawn within its window, so a transparent control shows what lies under it.
        auto grabOf = [](QWidget *w) {
            return [w] { return w->window()->grab(QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size())).toImage(); };
        };
        const QList<std::tuple<const char *, std::function<QImage()>, std::function<void(const QString &)>>> texts = {
            {"dialog label", grabOf(&g.dialog), [&g](const QString &t) { g.dialogLabel->setText(t); }},
            {"label in a group", grabOf(g.group), [&g](const QString &t) { g.label->setText(t); }},
            {"group title", grabOf(g.group), [&g](const QString &t) { g.group->setTitle(t); }},
            {"button", grabOf(g.button), [&g](const QString &t) { g.button->setText(t); }},
            {"check box", grabOf(g.check), [&g](const QString &t) { g.check->setText(t); }},
            {"drop-down list", grabOf(g.list), [&g](const QString &t) { g.list->setItemText(0, t); }},
            {"editable combo box", grabOf(g.editable), [&g](const QString &t) { g.editable->setEditText(t); }},
            {"edit box", grabOf(g.edit), [&g](const QString &t) { g.edit->setText(t); }},
            {"read-only edit box", grabOf(g.readOnly), [&g](const QString &t) { g.readOnly->setText(t); }},
            {"list row", grabOf(g.tree->viewport()), [plainItem](const QString &t) { plainItem->setText(0, t); }},
            {"selected row", grabOf(g.tree->viewport()), [selectedItem](const QString &t) { selectedItem->setText(0, t); }},
            {"column head", grabOf(g.tree->header()), [&g](const QString &t) { g.tree->headerItem()->setText(1, t); }},
            {"menu bar", grabOf(g.window.menuBar()), [&g](const QString &t) { g.window.menuBar()->actions().at(1)->setText(t); }},
            {"menu entry", grabOf(g.menu), [&g](const QString &t) { g.menuEntry2->setText(t); }},
            {"chosen menu entry", grabOf(g.menu), [&g](const QString &t) { g.menuEntry->setText(t); }},
            {"text box", grabOf(g.text->viewport()), [&g](const QString &t) { g.text->setPlainText(t); }},
        };
        for (const auto &[what, render, set] : texts) {
            const double ratio = textContrast(render, set);
            if (ratio < 4.5)
                problems << QStringLiteral("%1: contrast %2").arg(QLatin1String(what)).arg(ratio, 0, 'f', 2);
        }
        g.hide();
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
    }

    // Each skin looks unlike every other: the same window drawn in two
    // skins differs in much of its area.
    void distinctLooks()
    {
        QList<QImage> shots;
        for (int k = 1; k <= 18; ++k) {
            engine.setSkinFile(skinPath(k));
            gallery->window.show();
            shots << gallery->window.grab().toImage().convertToFormat(QImage::Format_RGB32);
            gallery->window.hide();
        }
        QStringList problems;
        for (int a = 0; a < shots.size(); ++a) {
            for (int b = a + 1; b < shots.size(); ++b) {
                const QImage &x = shots[a], &y = shots[b];
                if (x.size() != y.size())
                    continue;
                qint64 differing = 0;
                for (int py = 0; py < x.height(); ++py)
                    for (int px = 0; px < x.width(); ++px) {
                        const QRgb p = x.pixel(px, py), q = y.pixel(px, py);
                        if (std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q)) > 30)
                            ++differing;
                    }
                const double share = double(differing) / (x.width() * x.height());
                if (share < 0.25)
                    problems << QStringLiteral("%1 and %2 differ in %3% of the window")
                                    .arg(TfrmCommon::SkinFileName(a + 1), TfrmCommon::SkinFileName(b + 1))
                                    .arg(share * 100, 0, 'f', 1);
            }
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
    }
};

ZENDREL_TEST_MAIN(TestSkinSheets)
#include "tst_skinSheets.moc"
