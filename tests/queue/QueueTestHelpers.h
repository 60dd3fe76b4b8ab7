#pragma once
// Helpers shared by the queue's test programs.

#include <QApplication>
#include <QTimer>
#include <functional>

namespace QueueTest {

// Runs act on the next modal dialog of type T once it is open (act must
// close it); the caller then opens the dialog.
template <typename T = QWidget>
void onNextModal(std::function<void(T *)> act)
{
    auto *timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        auto *modal = qobject_cast<T *>(QApplication::activeModalWidget());
        if (!modal)
            return;
        timer->stop();
        timer->deleteLater();
        act(modal);
    });
    timer->start();
}

} // namespace QueueTest
