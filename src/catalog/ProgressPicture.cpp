#include "catalog/ProgressPicture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <array>

namespace catalog {

namespace {

// The scene is laid out on a 480 x 136 grid and scaled to the size asked for.
constexpr double kGridWidth = 480.0;
constexpr double kGridHeight = 136.0;
// Top of the rails; wheels stand on it.
constexpr double kRailTop = 119.0;

void paintSky(QPainter& p) {
    QLinearGradient sky(0, 0, 0, 104);
    sky.setColorAt(0.0, QColor(14, 18, 52));
    sky.setColorAt(0.55, QColor(58, 44, 92));
    sky.setColorAt(0.82, QColor(168, 84, 78));
    sky.setColorAt(1.0, QColor(236, 150, 72));
    p.fillRect(QRectF(0, 0, kGridWidth, 104), sky);

    // A few fixed stars high up, where the heading does not cover them.
    static constexpr std::array<QPointF, 14> stars{{{12, 6},
                                                    {37, 19},
                                                    {71, 4},
                                                    {118, 27},
                                                    {149, 8},
                                                    {204, 52},
                                                    {262, 56},
                                                    {330, 5},
                                                    {367, 24},
                                                    {402, 11},
                                                    {441, 31},
                                                    {466, 7},
                                                    {23, 44},
                                                    {455, 50}}};
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(230, 230, 255, 200));
    for (const QPointF& star : stars) {
        p.drawEllipse(star, 0.8, 0.8);
    }

    QRadialGradient glow(QPointF(392, 100), 40);
    glow.setColorAt(0.0, QColor(255, 214, 120, 220));
    glow.setColorAt(1.0, QColor(255, 180, 90, 0));
    p.setBrush(glow);
    p.drawEllipse(QPointF(392, 100), 40, 40);
    p.setBrush(QColor(255, 200, 96));
    p.drawEllipse(QPointF(392, 100), 11, 11);
}

void paintLand(QPainter& p) {
    p.setPen(Qt::NoPen);
    QPolygonF farHills;
    farHills << QPointF(0, 104) << QPointF(0, 92) << QPointF(40, 86) << QPointF(95, 90)
             << QPointF(150, 82) << QPointF(215, 91) << QPointF(270, 87) << QPointF(330, 93)
             << QPointF(380, 95) << QPointF(430, 88) << QPointF(480, 91) << QPointF(480, 104);
    p.setBrush(QColor(52, 36, 70));
    p.drawPolygon(farHills);

    QLinearGradient ground(0, 101, 0, kGridHeight);
    ground.setColorAt(0.0, QColor(40, 44, 38));
    ground.setColorAt(1.0, QColor(22, 26, 20));
    p.fillRect(QRectF(0, 101, kGridWidth, kGridHeight - 101), ground);

    // Ballast bank under the track.
    QPolygonF bank;
    bank << QPointF(0, 126) << QPointF(0, 120) << QPointF(480, 120) << QPointF(480, 126);
    p.setBrush(QColor(86, 78, 70));
    p.drawPolygon(bank);
    p.setBrush(QColor(60, 46, 36));
    for (double x = 2; x < kGridWidth; x += 7) {
        p.drawRect(QRectF(x, 120.5, 4, 2));
    }
    p.setBrush(QColor(170, 168, 160));
    p.drawRect(QRectF(0, kRailTop, kGridWidth, 1.2));

    // Telegraph poles and their sagging wire along the line.
    QPen pole(QColor(24, 18, 22), 1.4);
    p.setPen(pole);
    for (double x = 20; x < kGridWidth; x += 92) {
        p.drawLine(QPointF(x, 97), QPointF(x, 119));
        p.drawLine(QPointF(x - 3, 99), QPointF(x + 3, 99));
    }
    p.setPen(QPen(QColor(24, 18, 22, 160), 0.6));
    p.setBrush(Qt::NoBrush);
    for (double x = 20; x + 92 < kGridWidth + 92; x += 92) {
        QPainterPath wire(QPointF(x, 99));
        wire.quadTo(QPointF(x + 46, 103), QPointF(x + 92, 99));
        p.drawPath(wire);
    }
}

void paintWheels(QPainter& p, double left, double length) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(18, 16, 16));
    const std::array<double, 4> at{left + 5, left + 11, left + length - 11, left + length - 5};
    for (double x : at) {
        p.drawEllipse(QPointF(x, kRailTop - 2.6), 2.6, 2.6);
    }
    p.setBrush(QColor(30, 28, 28));
    p.drawRect(QRectF(left + 1, kRailTop - 7, length - 2, 2));
}

void paintLocomotive(QPainter& p, double left) {
    constexpr double length = 62;
    paintWheels(p, left, length);
    p.setPen(QPen(QColor(20, 20, 24), 0.8));
    // Long hood diesel: low hood, taller cab near the front (left).
    p.setBrush(QColor(196, 120, 32));
    p.drawRect(QRectF(left + 2, kRailTop - 19, length - 4, 12));
    p.setBrush(QColor(206, 132, 40));
    p.drawRect(QRectF(left + 8, kRailTop - 27, 14, 9));
    p.setBrush(QColor(250, 226, 140));
    p.drawRect(QRectF(left + 11, kRailTop - 25, 4, 3));
    p.drawRect(QRectF(left + 16, kRailTop - 25, 4, 3));
    p.setBrush(QColor(60, 44, 30));
    p.drawRect(QRectF(left + 26, kRailTop - 21, length - 30, 2));
    p.setBrush(QColor(255, 240, 180));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(left + 2.5, kRailTop - 15), 1.4, 1.4);
}

void paintBoxcar(QPainter& p, double left, QColor colour) {
    constexpr double length = 48;
    paintWheels(p, left, length);
    p.setPen(QPen(QColor(20, 16, 16), 0.8));
    p.setBrush(colour);
    p.drawRect(QRectF(left + 1, kRailTop - 24, length - 2, 17));
    p.setPen(QPen(colour.darker(150), 0.8));
    for (double x = left + 6; x < left + length - 2; x += 5) {
        p.drawLine(QPointF(x, kRailTop - 23), QPointF(x, kRailTop - 8));
    }
    p.setPen(QPen(QColor(24, 20, 20), 0.8));
    p.setBrush(colour.darker(125));
    p.drawRect(QRectF(left + 18, kRailTop - 22, 12, 14));
}

void paintTankWagon(QPainter& p, double left) {
    constexpr double length = 44;
    paintWheels(p, left, length);
    p.setPen(QPen(QColor(10, 10, 12), 0.8));
    p.setBrush(QColor(44, 46, 52));
    p.drawRoundedRect(QRectF(left + 1, kRailTop - 20, length - 2, 12), 5, 5);
    p.drawRect(QRectF(left + 19, kRailTop - 23, 6, 3));
    p.setPen(QPen(QColor(120, 124, 132), 0.6));
    p.drawLine(QPointF(left + 4, kRailTop - 17), QPointF(left + length - 4, kRailTop - 17));
}

void paintHopper(QPainter& p, double left) {
    constexpr double length = 46;
    paintWheels(p, left, length);
    p.setPen(QPen(QColor(16, 16, 16), 0.8));
    p.setBrush(QColor(120, 122, 118));
    QPolygonF body;
    body << QPointF(left + 1, kRailTop - 21) << QPointF(left + length - 1, kRailTop - 21)
         << QPointF(left + length - 6, kRailTop - 8) << QPointF(left + 6, kRailTop - 8);
    p.drawPolygon(body);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 20, 22));
    QPainterPath load(QPointF(left + 2, kRailTop - 21));
    load.quadTo(QPointF(left + length / 2, kRailTop - 28),
                QPointF(left + length - 2, kRailTop - 21));
    p.drawPath(load);
}

void paintFlatWithContainer(QPainter& p, double left) {
    constexpr double length = 52;
    paintWheels(p, left, length);
    p.setPen(QPen(QColor(16, 16, 16), 0.8));
    p.setBrush(QColor(64, 60, 56));
    p.drawRect(QRectF(left + 1, kRailTop - 10, length - 2, 3));
    p.setBrush(QColor(28, 94, 140));
    p.drawRect(QRectF(left + 4, kRailTop - 24, length - 8, 14));
    p.setPen(QPen(QColor(18, 64, 98), 0.7));
    for (double x = left + 8; x < left + length - 5; x += 4) {
        p.drawLine(QPointF(x, kRailTop - 23), QPointF(x, kRailTop - 11));
    }
}

void paintTrain(QPainter& p) {
    double x = 34;
    paintLocomotive(p, x);
    x += 64;
    paintBoxcar(p, x, QColor(128, 48, 36));
    x += 50;
    paintTankWagon(p, x);
    x += 46;
    paintHopper(p, x);
    x += 48;
    paintFlatWithContainer(p, x);
    x += 54;
    paintBoxcar(p, x, QColor(150, 112, 52));
    x += 50;
    paintHopper(p, x);
    x += 48;
    paintBoxcar(p, x, QColor(110, 40, 40));
}

} // namespace

QImage PaintGoodsTrainScene(QSize size) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::black);
    if (size.isEmpty()) {
        return picture;
    }
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size.width() / kGridWidth, size.height() / kGridHeight);
    paintSky(p);
    paintLand(p);
    paintTrain(p);
    return picture;
}

QImage ProgressBackgroundPicture() {
    // The build renders the sample train into this picture; the painted scene stands in
    // when a build has none.
    const QImage rendered(QStringLiteral(":/pictelle/ProgressPicture.png"));
    if (rendered.size() == kProgressPictureSize)
        return rendered;
    return PaintGoodsTrainScene(kProgressPictureSize);
}

} // namespace catalog
