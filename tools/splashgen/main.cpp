// Draws Zendrel's two splash bitmaps (English and Simplified Chinese),
// 420 x 300, 24 bits per pixel. The splash window shows pixels of the grey
// 128/128/128 as transparent: that grey fills the area outside the rounded
// frame and nothing inside it.

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>
#include <QtMath>

#include <cstdio>

namespace {

constexpr int Width = 420;
constexpr int Height = 300;
const QColor Transparent(128, 128, 128);

struct Texts
{
    QString file;
    QString subtitle;
    QString tagline;
    QString footer;
    QString status;
};

QFont font(int pixels, int weight = QFont::Normal)
{
    QFont f(QStringLiteral("WenQuanYi Micro Hei"));
    f.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("DejaVu Sans")});
    f.setPixelSize(pixels);
    f.setWeight(QFont::Weight(weight));
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

// The mark: a play triangle inside a ring whose two arcs turn into arrows,
// one medium becoming another.
void drawMark(QPainter &p, QPointF centre, qreal radius)
{
    QRadialGradient glow(centre, radius * 1.6);
    glow.setColorAt(0, QColor(120, 200, 255, 90));
    glow.setColorAt(1, QColor(120, 200, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(centre, radius * 1.6, radius * 1.6);

    QLinearGradient disc(centre - QPointF(radius, radius), centre + QPointF(radius, radius));
    disc.setColorAt(0, QColor(255, 176, 59));
    disc.setColorAt(1, QColor(238, 94, 48));
    p.setBrush(disc);
    p.drawEllipse(centre, radius, radius);

    const qreal ring = radius * 0.72;
    QPen arc(QColor(255, 255, 255, 235), radius * 0.11, Qt::SolidLine, Qt::RoundCap);
    p.setPen(arc);
    p.setBrush(Qt::NoBrush);
    const QRectF box(centre - QPointF(ring, ring), QSizeF(2 * ring, 2 * ring));
    for (int half = 0; half < 2; ++half) {
        const int start = half * 180 + 20;
        p.drawArc(box, start * 16, 140 * 16);
        // Arrow head at the end of the arc, pointing along it.
        const qreal endAngle = qDegreesToRadians(qreal(start + 140));
        const QPointF tip = centre + QPointF(ring * qCos(endAngle), -ring * qSin(endAngle));
        const QPointF along(-qSin(endAngle), -qCos(endAngle));
        const QPointF out(qCos(endAngle), -qSin(endAngle));
        const qreal s = radius * 0.2;
        QPainterPath head;
        head.moveTo(tip + along * s);
        head.lineTo(tip - along * s * 0.4 + out * s);
        head.lineTo(tip - along * s * 0.4 - out * s);
        head.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 235));
        p.drawPath(head);
        p.setPen(arc);
        p.setBrush(Qt::NoBrush);
    }
    QPainterPath play;
    const qreal t = radius * 0.34;
    play.moveTo(centre + QPointF(-t * 0.7, -t));
    play.lineTo(centre + QPointF(t * 1.1, 0));
    play.lineTo(centre + QPointF(-t * 0.7, t));
    play.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(play);
}

// A strip of film along an edge, with its sprocket holes.
void drawFilmStrip(QPainter &p, qreal y)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(8, 14, 30, 150));
    p.drawRect(QRectF(0, y, Width, 22));
    p.setBrush(QColor(255, 255, 255, 40));
    for (qreal x = 10; x < Width; x += 20)
        p.drawRoundedRect(QRectF(x, y + 6, 10, 10), 2, 2);
}

// Soft waves of sound across the lower part.
void drawWaves(QPainter &p)
{
    const QColor colours[] = {QColor(80, 190, 255, 70), QColor(255, 150, 70, 60), QColor(150, 110, 255, 55)};
    for (int w = 0; w < 3; ++w) {
        QPainterPath path;
        const qreal base = 214 + w * 9;
        path.moveTo(0, base);
        for (int x = 0; x <= Width; x += 4)
            path.lineTo(x, base + qSin((x + w * 60) / (38.0 + w * 9)) * (10 - w * 2) * qSin(x / 140.0 + w));
        p.setPen(QPen(colours[w], 2.2));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    }
}

QImage draw(const Texts &t)
{
    QImage image(Width, Height, QImage::Format_RGB32);
    image.fill(Transparent);

    QPainterPath frame;
    frame.addRoundedRect(QRectF(0.5, 0.5, Width - 1, Height - 1), 22, 22);

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setClipPath(frame);

    QLinearGradient sky(0, 0, Width, Height);
    sky.setColorAt(0, QColor(24, 42, 86));
    sky.setColorAt(0.55, QColor(32, 74, 140));
    sky.setColorAt(1, QColor(18, 116, 156));
    p.fillRect(image.rect(), sky);

    QRadialGradient light(QPointF(330, 40), 260);
    light.setColorAt(0, QColor(255, 255, 255, 60));
    light.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(image.rect(), light);

    drawFilmStrip(p, 0);
    drawFilmStrip(p, Height - 22);
    drawWaves(p);
    drawMark(p, QPointF(88, 118), 44);

    p.setPen(Qt::white);
    p.setFont(font(46, QFont::Bold));
    p.drawText(QRectF(150, 62, 260, 56), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Zendrel"));
    p.setPen(QColor(255, 196, 110));
    p.setFont(font(22));
    p.drawText(QRectF(152, 118, 260, 32), Qt::AlignLeft | Qt::AlignVCenter, t.subtitle);

    p.setPen(QColor(220, 235, 255));
    p.setFont(font(14));
    p.drawText(QRectF(30, 172, Width - 60, 26), Qt::AlignCenter, t.tagline);

    p.setPen(QColor(200, 220, 245));
    p.setFont(font(12));
    p.drawText(QRectF(26, 246, 200, 24), Qt::AlignLeft | Qt::AlignVCenter, t.footer);
    p.drawText(QRectF(Width - 226, 246, 200, 24), Qt::AlignRight | Qt::AlignVCenter, t.status);

    p.setClipping(false);
    p.setPen(QPen(QColor(170, 200, 240), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(frame);
    p.end();

    // Nothing inside the frame may be read as transparent.
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x)
            if (image.pixelColor(x, y) == Transparent && frame.contains(QPointF(x + 0.5, y + 0.5)))
                image.setPixelColor(x, y, QColor(129, 129, 129));
    return image.convertToFormat(QImage::Format_RGB888);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: splashgen <data folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const Texts sets[] = {
        {QStringLiteral("splash-en.bmp"), QStringLiteral("Video Converter"),
         QStringLiteral("Convert your videos and music to the formats you need"), QStringLiteral("Version 1.0"),
         QStringLiteral("Starting...")},
        {QStringLiteral("splash-gb.bmp"), QStringLiteral("视频转换器"), QStringLiteral("轻松把视频和音乐转换成您需要的格式"),
         QStringLiteral("版本 1.0"), QStringLiteral("正在启动…")},
    };
    for (const Texts &t : sets) {
        const QString path = folder + QLatin1Char('/') + t.file;
        if (!draw(t).save(path, "BMP")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        std::printf("%s\n", qPrintable(path));
    }
    return 0;
}
