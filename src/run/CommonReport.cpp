// The codecs page and the error report of the shared-services object.
#include "app/TfrmCommon.h"

#include "app/Errors.h"
#include "app/IniFile.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>

namespace {

// The report page expects exactly this form encoding: letters and digits
// as they are, a blank as "+", every other byte as "%XX" in upper case.
QByteArray formEncode(const QString &value)
{
    static const char hex[] = "0123456789ABCDEF";
    const QByteArray bytes = value.toUtf8();
    QByteArray out;
    out.reserve(bytes.size() * 3);
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
            out += char(c);
        } else if (c == ' ') {
            out += '+';
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 0x0F];
        }
    }
    return out;
}

QByteArray formField(const char *name, const QString &value)
{
    return QByteArray(name) + '=' + formEncode(value) + '&';
}

// Blanks and control characters go from both ends.
QString trimControls(const QString &text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && text.at(begin).unicode() <= 0x20)
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= 0x20)
        --end;
    return text.mid(begin, end - begin);
}

size_t collectBody(char *data, size_t size, size_t count, void *user)
{
    static_cast<QByteArray *>(user)->append(data, qsizetype(size * count));
    return size * count;
}

// The reason phrase of the last status line, for the error text.
size_t collectStatusLine(char *data, size_t size, size_t count, void *user)
{
    const QByteArray line = QByteArray(data, qsizetype(size * count)).trimmed();
    if (line.startsWith("HTTP/"))
        *static_cast<QByteArray *>(user) = line;
    return size * count;
}

void initCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// A dead server must not hold the window for ever.
constexpr long ReportTimeoutSeconds = 60;

} // namespace

void TfrmCommon::OpenCodecsPage(const QString &formats) const
{
    // The formats go into the query as they are: the page reads ".avi,.MPE".
    ShellOpen(CodecsURL + QStringLiteral("?format=") + formats);
}

QString TfrmCommon::SendErrorReport(const QString &userName, const QString &userEmail, const QString &orderId,
                                    const QString &debugInfo) const
{
    const QByteArray body = formField("user_name", userName) + formField("user_email", userEmail) +
                            formField("order_id", orderId) + formField("debug_info", debugInfo) +
                            formField("product_name", ReadProductName());

    initCurlOnce();
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), &curl_easy_cleanup);
    if (!curl)
        throw ZError(QStringLiteral("Cannot start the HTTP client"), ZError::Http);

    curl_slist *headerList = curl_slist_append(nullptr, "Content-Type: application/x-www-form-urlencoded");
    headerList = curl_slist_append(headerList, "Expect:");
    std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> headers(headerList, &curl_slist_free_all);

    const QByteArray url = ErrorReportURL.toUtf8();
    QByteArray answer;
    QByteArray statusLine;
    char errorText[CURL_ERROR_SIZE] = {};

    CURL *h = curl.get();
    curl_easy_setopt(h, CURLOPT_URL, url.constData());
    curl_easy_setopt(h, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_0));
    curl_easy_setopt(h, CURLOPT_POST, 1L);
    curl_easy_setopt(h, CURLOPT_POSTFIELDS, body.constData());
    curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(body.size()));
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(h, CURLOPT_TIMEOUT, ReportTimeoutSeconds);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &collectBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &answer);
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, &collectStatusLine);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &statusLine);

    const CURLcode rc = curl_easy_perform(h);
    if (rc != CURLE_OK) {
        const QString detail = QString::fromUtf8(errorText).trimmed();
        throw ZError(detail.isEmpty() ? QString::fromUtf8(curl_easy_strerror(rc)) : detail, ZError::Http);
    }

    // Only a 2xx answer means the report arrived; a redirect is not followed,
    // so it did not.
    long status = 0;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
    if (status < 200 || status > 299) {
        // "HTTP/1.0 500 Internal Server Error" -> "500 Internal Server Error"
        const qsizetype blank = statusLine.indexOf(' ');
        const QString reason = blank >= 0 ? QString::fromUtf8(statusLine.mid(blank + 1)) : QString::number(status);
        throw ZError(QStringLiteral("HTTP error ") + reason, ZError::Http);
    }

    const QString text = answer.isEmpty() ? QStringLiteral("Error") : QString::fromUtf8(answer);
    return trimControls(text);
}

QString TfrmCommon::ReadProductName() const
{
    return Ini::readString(LanguageFile, QStringLiteral("frmMain"), QStringLiteral("caption"));
}
