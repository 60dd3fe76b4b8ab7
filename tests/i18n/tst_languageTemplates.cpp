// Message templates of the language file take one "%s". A faulty template
// is shown as it stands (the argument placed once at most); nothing in a
// template can make the program read past its argument.
#include "TestUtil.h"

#include "i18n/Templates.h"

class TestLanguageTemplates : public QObject
{
    Q_OBJECT

private slots:
    void format_data()
    {
        QTest::addColumn<QString>("templ");
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("expected");
        QTest::newRow("one %s") << "Converting file %s" << "2/5" << "Converting file 2/5";
        QTest::newRow("at the start") << "%s done" << "3/3" << "3/3 done";
        QTest::newRow("Chinese") << "正在转换 %s" << "1/4" << "正在转换 1/4";
        QTest::newRow("no placeholder") << "Converting" << "2/5" << "Converting";
        QTest::newRow("empty template") << "" << "2/5" << "";
        QTest::newRow("two %s") << "%s and %s" << "x" << "x and %s";
        QTest::newRow("%d") << "file %d of %d" << "2/5" << "file %d of %d";
        QTest::newRow("%d then %s") << "%d: %s" << "avi" << "%d: avi";
        QTest::newRow("width") << "[%10s]" << "avi" << "[%10s]";
        QTest::newRow("pointer and count") << "%p %n %x" << "avi" << "%p %n %x";
        QTest::newRow("lone % at the end") << "100%" << "avi" << "100%";
        QTest::newRow("%%") << "100%% of %s" << "avi" << "100% of avi";
        QTest::newRow("%% before s") << "%%s %s" << "avi" << "%s avi";
        QTest::newRow("argument holds %s") << "[%s] %s" << "%s%d" << "[%s%d] %s";
        QTest::newRow("empty argument") << "formats: %s." << "" << "formats: .";
    }
    void format()
    {
        QFETCH(QString, templ);
        QFETCH(QString, argument);
        QFETCH(QString, expected);
        QCOMPARE(Templates::format(templ, argument), expected);
    }
};

ZENDREL_TEST_MAIN(TestLanguageTemplates)
#include "tst_languageTemplates.moc"
