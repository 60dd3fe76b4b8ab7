#include "app/ZendrelApplication.h"

#include "app/Errors.h"

#include <QMessageBox>

namespace {
QString &titleText()
{
    static QString t = QStringLiteral("Zendrel");
    return t;
}
} // namespace

ZendrelApplication::ZendrelApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Zendrel"));
    setQuitOnLastWindowClosed(true);
}

bool ZendrelApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const ZError &e) {
        showError(e.message());
    } catch (const std::exception &e) {
        showError(QString::fromUtf8(e.what()));
    }
    return false;
}

QString ZendrelApplication::title()
{
    return titleText();
}

void ZendrelApplication::setTitle(const QString &title)
{
    titleText() = title;
    setApplicationDisplayName(title);
}

std::function<void(const QString &)> &ZendrelApplication::errorSink()
{
    static std::function<void(const QString &)> sink;
    return sink;
}

void ZendrelApplication::showError(const QString &text)
{
    if (errorSink()) {
        errorSink()(text);
        return;
    }
    QMessageBox box(QMessageBox::Critical, titleText(), text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}
