#pragma once
// The application object. Its notify() is the one place where an exception
// that leaves an event handler is caught: the text is shown in a message box
// captioned with the application title, and the program goes on.

#include <QApplication>
#include <QString>
#include <functional>

class ZendrelApplication : public QApplication
{
    Q_OBJECT
public:
    ZendrelApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

    // The application title (App/Title of the language file): caption of
    // every message box and the program's name on the task bar.
    static QString title();
    static void setTitle(const QString &title);

    // Shows an error text the way the general handler does.
    static void showError(const QString &text);

    // Tests replace the error box with a sink that records the texts.
    static std::function<void(const QString &)> &errorSink();
};
