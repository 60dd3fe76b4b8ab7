// The error report against a real HTTP server on loopback: the exact
// request, the form encoding, the answer handling and the failures, and
// the dialog's Send button around it.
#include "TestUtil.h"

#include "app/Errors.h"
#include "app/TfrmCommon.h"
#include "run/TfrmUnSupportFormat.h"

#include <QLabel>
#include <QMessageBox>
#include <QMutex>
#include <QSemaphore>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

namespace {

// One received request, split at the blank line after the headers.
struct Request
{
    QByteArray requestLine;
    QList<QByteArray> headers;
    QByteArray body;

    QByteArray header(const QByteArray &name) const
    {
        for (const QByteArray &h : headers) {
            const qsizetype colon = h.indexOf(':');
            if (colon > 0 && h.left(colon).trimmed().compare(name, Qt::CaseInsensitive) == 0)
                return h.mid(colon + 1).trimmed();
        }
        return {};
    }
    int headerCount(const QByteArray &name) const
    {
        int n = 0;
        for (const QByteArray &h : headers)
            n += h.startsWith(name + ':') ? 1 : 0;
        return n;
    }
};

// A blocking HTTP server in a thread of its own: the report is sent by a
// blocking call on the main thread, so the server cannot share its loop.
// It reads one whole request per connection, answers with the bytes it is
// given and closes the connection (HTTP/1.0).
class LoopbackServer : public QThread
{
public:
    explicit LoopbackServer(QByteArray response) : m_response(std::move(response))
    {
        start();
        m_ready.acquire();
    }
    ~LoopbackServer() override
    {
        m_stop.storeRelaxed(1);
        wait();
    }

    QString url(const QString &path = QStringLiteral("/bug_report_submit.php")) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(path);
    }
    QList<Request> requests() const
    {
        QMutexLocker lock(&m_mutex);
        return m_requests;
    }

protected:
    void run() override
    {
        QTcpServer server;
        server.listen(QHostAddress::LocalHost, 0);
        m_port = server.serverPort();
        m_ready.release();
        while (!m_stop.loadRelaxed()) {
            if (!server.waitForNewConnection(50))
                continue;
            QTcpSocket *socket = server.nextPendingConnection();
            const Request request = readRequest(socket);
            {
                QMutexLocker lock(&m_mutex);
                m_requests << request;
            }
            socket->write(m_response);
            socket->waitForBytesWritten(5000);
            socket->disconnectFromHost();
            if (socket->state() != QAbstractSocket::UnconnectedState)
                socket->waitForDisconnected(5000);
            delete socket;
        }
    }

private:
    static Request readRequest(QTcpSocket *socket)
    {
        QByteArray data;
        qsizetype headerEnd = -1;
        qsizetype length = 0;
        while (true) {
            if (headerEnd < 0) {
                headerEnd = data.indexOf("\r\n\r\n");
                if (headerEnd >= 0) {
                    for (const QByteArray &line : data.left(headerEnd).split('\n')) {
                        if (line.toLower().startsWith("content-length:"))
                            length = line.mid(15).trimmed().toLongLong();
                    }
                }
            }
            if (headerEnd >= 0 && data.size() >= headerEnd + 4 + length)
                break;
            if (!socket->waitForReadyRead(5000))
                break;
            data += socket->readAll();
        }
        Request r;
        const QList<QByteArray> lines = data.left(headerEnd).split('\n');
        for (qsizetype i = 0; i < lines.size(); ++i) {
            QByteArray line = lines[i];
            if (line.endsWith('\r'))
                line.chop(1);
            if (i == 0)
                r.requestLine = line;
            else
                r.headers << line;
        }
        r.body = data.mid(headerEnd + 4);
        return r;
    }

    QByteArray m_response;
    quint16 m_port = 0;
    QSemaphore m_ready;
    QAtomicInt m_stop;
    mutable QMutex m_mutex;
    QList<Request> m_requests;
};

QByteArray okAnswer(const QByteArray &body)
{
    return "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n" + body;
}

// A port nobody listens on.
quint16 closedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

} // namespace

class TestErrorReport : public QObject
{
    Q_OBJECT

    QTemporaryDir tmp;
    QString dir;

    void writeLanguageCaption(const QByteArray &caption)
    {
        TestUtil::writeFile(frmCommon->LanguageFile, "[frmMain]\r\ncaption=" + caption + "\r\n");
    }

private slots:
    void initTestCase()
    {
        // The report goes straight to loopback, whatever the machine's proxy.
        for (const char *name : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"})
            qunsetenv(name);
        QVERIFY(tmp.isValid());
        dir = TestUtil::makeProgramDir(tmp, false);
        TestUtil::startProgram(dir);
        QVERIFY(frmCommon && frmUnSupportFormat);
    }
    void cleanupTestCase() { TestUtil::stopProgram(); }

    void init()
    {
        writeLanguageCaption("Zendrel Video Converter");
        frmUnSupportFormat->hide();
        frmUnSupportFormat->EditUserName->clear();
        frmUnSupportFormat->EditUserEmail->clear();
        frmUnSupportFormat->EditOrderID->clear();
        frmUnSupportFormat->RichEditErrorMsg->clear();
    }

    // The example report: a two-word name, an empty order number, two lines.
    void exactRequest()
    {
        LoopbackServer server(okAnswer("\r\nThank you"));
        frmCommon->ErrorReportURL = server.url();
        const QString answer = frmCommon->SendErrorReport(QStringLiteral("ab cd"), QStringLiteral("me.x-y@mail.example"),
                                                          QString(), QStringLiteral("line one\r\nline two"));
        QCOMPARE(answer, QStringLiteral("Thank you"));

        const QList<Request> requests = server.requests();
        QCOMPARE(requests.size(), 1);
        const Request &r = requests.first();
        QCOMPARE(r.requestLine, QByteArray("POST /bug_report_submit.php HTTP/1.0"));
        QCOMPARE(r.header("Content-Type"), QByteArray("application/x-www-form-urlencoded"));
        QCOMPARE(r.headerCount("Content-Type"), 1);
        QCOMPARE(r.body, QByteArray("user_name=ab+cd&"
                                    "user_email=me%2Ex%2Dy%40mail%2Eexample&"
                                    "order_id=&"
                                    "debug_info=line+one%0D%0Aline+two&"
                                    "product_name=Zendrel+Video+Converter&"));
        QCOMPARE(r.header("Content-Length"), QByteArray::number(r.body.size()));
    }

    // Only letters and digits stay; every other byte of the UTF-8 text is
    // "%XX" in upper case, a blank "+".
    void valueEncoding_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("encoded");
        QTest::newRow("letters and digits") << QStringLiteral("AZaz09") << QByteArray("AZaz09");
        QTest::newRow("empty stays empty") << QString() << QByteArray();
        QTest::newRow("blanks") << QStringLiteral(" a  b ") << QByteArray("+a++b+");
        QTest::newRow("unreserved marks too") << QStringLiteral(".-_~*") << QByteArray("%2E%2D%5F%7E%2A");
        QTest::newRow("form syntax") << QStringLiteral("a=1&b=%+") << QByteArray("a%3D1%26b%3D%25%2B");
        QTest::newRow("line breaks and tab") << QStringLiteral("\r\n\t") << QByteArray("%0D%0A%09");
        QTest::newRow("non-ASCII bytes") << QStringLiteral("é中") << QByteArray("%C3%A9%E4%B8%AD");
    }
    void valueEncoding()
    {
        QFETCH(QString, value);
        QFETCH(QByteArray, encoded);
        LoopbackServer server(okAnswer("ok"));
        frmCommon->ErrorReportURL = server.url();
        frmCommon->SendErrorReport(value, QStringLiteral("e"), QStringLiteral("o"), QStringLiteral("d"));
        const QList<Request> requests = server.requests();
        QCOMPARE(requests.size(), 1);
        QVERIFY2(requests.first().body.startsWith("user_name=" + encoded + "&user_email=e&order_id=o&debug_info=d&"),
                 requests.first().body.constData());
    }

    // The language file is read at every report; no file gives an empty name.
    void productNameReadAfresh()
    {
        LoopbackServer server(okAnswer("ok"));
        frmCommon->ErrorReportURL = server.url();
        writeLanguageCaption("First");
        QCOMPARE(frmCommon->ReadProductName(), QStringLiteral("First"));
        frmCommon->SendErrorReport({}, QStringLiteral("e"), {}, {});
        writeLanguageCaption("Second");
        frmCommon->SendErrorReport({}, QStringLiteral("e"), {}, {});
        QFile::remove(frmCommon->LanguageFile);
        QCOMPARE(frmCommon->ReadProductName(), QString());
        frmCommon->SendErrorReport({}, QStringLiteral("e"), {}, {});

        const QList<Request> requests = server.requests();
        QCOMPARE(requests.size(), 3);
        QVERIFY(requests[0].body.endsWith("&product_name=First&"));
        QVERIFY(requests[1].body.endsWith("&product_name=Second&"));
        QVERIFY(requests[2].body.endsWith("&product_name=&"));
    }

    // What the server answers becomes the text shown, or an error.
    void answers_data()
    {
        QTest::addColumn<QByteArray>("response");
        QTest::addColumn<QString>("text");  // the answer shown
        QTest::addColumn<QString>("error"); // or the error raised
        QTest::newRow("blank line, then text") << okAnswer("\r\nThank you") << QStringLiteral("Thank you") << QString();
        QTest::newRow("blanks and controls at both ends")
            << okAnswer(" \t\x01Got it.\r\n\x1f ") << QStringLiteral("Got it.") << QString();
        QTest::newRow("inner line break kept") << okAnswer("a\r\nb\n") << QStringLiteral("a\r\nb") << QString();
        QTest::newRow("empty body") << okAnswer("") << QStringLiteral("Error") << QString();
        QTest::newRow("UTF-8 answer") << okAnswer("谢谢") << QStringLiteral("谢谢") << QString();
        QTest::newRow("error status")
            << QByteArray("HTTP/1.0 500 Internal Server Error\r\n\r\nboom") << QString()
            << QStringLiteral("HTTP error 500 Internal Server Error");
        QTest::newRow("not found") << QByteArray("HTTP/1.0 404 Not Found\r\n\r\n") << QString()
                                   << QStringLiteral("HTTP error 404 Not Found");
        QTest::newRow("redirect is not followed")
            << QByteArray("HTTP/1.0 302 Found\r\nLocation: /elsewhere.php\r\n\r\n") << QString()
            << QStringLiteral("HTTP error 302 Found");
    }
    void answers()
    {
        QFETCH(QByteArray, response);
        QFETCH(QString, text);
        QFETCH(QString, error);
        LoopbackServer server(response);
        frmCommon->ErrorReportURL = server.url();
        try {
            const QString answer = frmCommon->SendErrorReport(QStringLiteral("n"), QStringLiteral("e"), {}, {});
            QVERIFY2(error.isEmpty(), "no error raised");
            QCOMPARE(answer, text);
        } catch (const ZError &e) {
            QCOMPARE(e.message(), error);
        }
        // Exactly one request: a redirect leads nowhere else.
        QCOMPARE(server.requests().size(), 1);
    }

    void refusedConnectionRaises()
    {
        frmCommon->ErrorReportURL = QStringLiteral("http://127.0.0.1:%1/bug_report_submit.php").arg(closedPort());
        try {
            frmCommon->SendErrorReport(QStringLiteral("n"), QStringLiteral("e"), {}, {});
            QFAIL("no error raised");
        } catch (const ZError &e) {
            QVERIFY2(e.message().contains(QStringLiteral("connect"), Qt::CaseInsensitive), qPrintable(e.message()));
        }
    }

    // The Send button: the box's lines go out separated by CR LF, the answer
    // is shown with the application title and the dialog is hidden.
    void sendButtonShowsAnswerAndHides()
    {
        LoopbackServer server(okAnswer("\r\nThank you"));
        frmCommon->ErrorReportURL = server.url();
        frmUnSupportFormat->showModeless();
        frmUnSupportFormat->EditUserName->setText(QStringLiteral("ab cd"));
        frmUnSupportFormat->EditUserEmail->setText(QStringLiteral("a@b.example"));
        frmUnSupportFormat->RichEditErrorMsg->setPlainText(QStringLiteral("line one\nline two"));

        QString shown, caption;
        TestUtil::answerNextModal(QStringLiteral("OK"), [&](QWidget *box) {
            caption = box->windowTitle();
            if (auto *mb = qobject_cast<QMessageBox *>(box))
                shown = mb->text();
        });
        QTest::mouseClick(frmUnSupportFormat->ButtonSendErrorReport, Qt::LeftButton);
        QCOMPARE(shown, QStringLiteral("Thank you"));
        QCOMPARE(caption, ZendrelApplication::title());
        QVERIFY(!frmUnSupportFormat->isVisible());

        const QList<Request> requests = server.requests();
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests.first().body, QByteArray("user_name=ab+cd&user_email=a%40b%2Eexample&order_id=&"
                                                   "debug_info=line+one%0D%0Aline+two&"
                                                   "product_name=Zendrel+Video+Converter&"));
        // The entries stay for the next showing.
        QCOMPARE(frmUnSupportFormat->EditUserName->text(), QStringLiteral("ab cd"));
    }

    // An empty e-mail box: the message, the focus on the box, nothing sent.
    void emptyEmailSendsNothing()
    {
        LoopbackServer server(okAnswer("Thank you"));
        frmCommon->ErrorReportURL = server.url();
        frmUnSupportFormat->msgPleaseInputEmail = QStringLiteral("Please enter your e-mail address.");
        frmUnSupportFormat->showModeless();
        frmUnSupportFormat->EditUserName->setText(QStringLiteral("ab"));
        frmUnSupportFormat->EditUserName->setFocus();

        QString shown;
        TestUtil::answerNextModal(QStringLiteral("OK"), [&](QWidget *box) {
            if (auto *mb = qobject_cast<QMessageBox *>(box))
                shown = mb->text();
        });
        QTest::mouseClick(frmUnSupportFormat->ButtonSendErrorReport, Qt::LeftButton);
        QCOMPARE(shown, frmUnSupportFormat->msgPleaseInputEmail);
        QCOMPARE(frmUnSupportFormat->focusWidget(), frmUnSupportFormat->EditUserEmail);
        QVERIFY(frmUnSupportFormat->isVisible());
        QTest::qWait(100);
        QCOMPARE(server.requests().size(), 0);
    }

    // A failed delivery reaches the general error handler; no answer box,
    // and the dialog stays open with its entries for another try.
    void failedDeliveryKeepsDialog_data()
    {
        QTest::addColumn<bool>("refused");
        QTest::newRow("error status") << false;
        QTest::newRow("refused connection") << true;
    }
    void failedDeliveryKeepsDialog()
    {
        QFETCH(bool, refused);
        LoopbackServer server(QByteArray("HTTP/1.0 500 Internal Server Error\r\n\r\n"));
        frmCommon->ErrorReportURL =
            refused ? QStringLiteral("http://127.0.0.1:%1/bug_report_submit.php").arg(closedPort()) : server.url();
        frmUnSupportFormat->showModeless();
        frmUnSupportFormat->EditUserName->setText(QStringLiteral("ab cd"));
        frmUnSupportFormat->EditUserEmail->setText(QStringLiteral("a@b.example"));
        frmUnSupportFormat->EditOrderID->setText(QStringLiteral("42"));
        frmUnSupportFormat->RichEditErrorMsg->setPlainText(QStringLiteral("log"));

        TestUtil::ErrorRecorder errors;
        QTest::mouseClick(frmUnSupportFormat->ButtonSendErrorReport, Qt::LeftButton);
        QCOMPARE(errors.texts.size(), 1);
        if (refused)
            QVERIFY2(errors.texts.first().contains(QStringLiteral("connect"), Qt::CaseInsensitive),
                     qPrintable(errors.texts.first()));
        else
            QCOMPARE(errors.texts.first(), QStringLiteral("HTTP error 500 Internal Server Error"));
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(frmUnSupportFormat->isVisible());
        QCOMPARE(frmUnSupportFormat->EditUserName->text(), QStringLiteral("ab cd"));
        QCOMPARE(frmUnSupportFormat->EditUserEmail->text(), QStringLiteral("a@b.example"));
        QCOMPARE(frmUnSupportFormat->EditOrderID->text(), QStringLiteral("42"));
        QCOMPARE(frmUnSupportFormat->RichEditErrorMsg->toPlainText(), QStringLiteral("log"));

        // The next try goes through.
        LoopbackServer working(okAnswer("Thank you"));
        frmCommon->ErrorReportURL = working.url();
        TestUtil::answerNextModal(QStringLiteral("OK"));
        QTest::mouseClick(frmUnSupportFormat->ButtonSendErrorReport, Qt::LeftButton);
        QCOMPARE(errors.texts.size(), 1);
        QVERIFY(!frmUnSupportFormat->isVisible());
        QCOMPARE(working.requests().size(), 1);
        QVERIFY(working.requests().first().body.startsWith("user_name=ab+cd&user_email=a%40b%2Eexample&order_id=42&"
                                                           "debug_info=log&"));
    }
};

ZENDREL_TEST_MAIN(TestErrorReport)
#include "tst_errorreport.moc"
