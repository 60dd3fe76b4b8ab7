#include "app/TfrmSplash.h"

#include "app/TfrmCommon.h"
#include "app/ZendrelApplication.h"

#include <QBitmap>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QImageReader>
#include <QPixmap>
#include <QScreen>
#include <QThread>

TfrmSplash *frmSplash = nullptr;
int TfrmSplash::FadeMilliseconds = 1000;

TfrmSplash::TfrmSplash(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setFixedSize(420, 300);
    imageSplash = new QLabel(this);
    imageSplash->setObjectName(QStringLiteral("imageSplash"));
    imageSplash->setGeometry(0, 0, 420, 300);
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

TfrmSplash::~TfrmSplash()
{
    if (frmSplash == this)
        frmSplash = nullptr;
}

void TfrmSplash::fade(double from, double to)
{
    // Blocking, but painting goes on so the fade is seen.
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        const qint64 t = clock.elapsed();
        const double f = FadeMilliseconds > 0 ? qMin(1.0, double(t) / FadeMilliseconds) : 1.0;
        setWindowOpacity(from + (to - from) * f);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (f >= 1.0)
            break;
        QThread::msleep(15);
    }
}

void TfrmSplash::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    setWindowOpacity(0.0);
    fade(0.0, 1.0);
    update(); // every control is repainted with the window
    activateWindow();
    loadBitmap();
}

void TfrmSplash::loadBitmap()
{
    const QString path = frmCommon ? frmCommon->SplashFile : QString();
    QFile file(path);
    QString reason;
    if (!file.open(QIODevice::ReadOnly)) {
        reason = file.errorString();
    } else {
        QImageReader reader(&file);
        const QImage image = reader.read();
        if (image.isNull()) {
            reason = reader.errorString();
        } else {
            QPixmap pixmap = QPixmap::fromImage(image);
            imageSplash->setPixmap(pixmap);
            // Grey 128/128/128 is transparent.
            setMask(pixmap.createMaskFromColor(QColor(128, 128, 128), Qt::MaskInColor));
            return;
        }
    }
    ZendrelApplication::showError(QStringLiteral("Cannot open file \"%1\". %2").arg(path, reason));
}

void TfrmSplash::closeEvent(QCloseEvent *event)
{
    fade(windowOpacity(), 0.0);
    event->accept(); // hidden, not destroyed
}
