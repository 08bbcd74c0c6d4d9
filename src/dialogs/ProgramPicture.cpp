#include "dialogs/ProgramPicture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace dialogs {

QPixmap DrawProgramPicture(const QSize& size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width();
    const qreal h = size.height();

    // A slanted photo card with a shadow: the "pictelle" itself.
    p.translate(w / 2, h / 2);
    p.rotate(-6);
    p.translate(-w / 2, -h / 2);
    const QRectF card(w * 0.08, h * 0.16, w * 0.84, h * 0.66);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawRoundedRect(card.translated(4, 5), 4, 4);
    p.setBrush(Qt::white);
    p.setPen(QPen(QColor(150, 150, 150), 1));
    p.drawRoundedRect(card, 4, 4);

    const QRectF scene = card.adjusted(6, 6, -6, -6);
    QLinearGradient sky(scene.topLeft(), scene.bottomLeft());
    sky.setColorAt(0, QColor(120, 170, 230));
    sky.setColorAt(1, QColor(225, 238, 250));
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    p.drawRect(scene);
    const qreal groundTop = scene.top() + scene.height() * 0.78;
    p.setBrush(QColor(110, 150, 80));
    p.drawRect(QRectF(scene.left(), groundTop, scene.width(), scene.bottom() - groundTop));

    // Track: sleepers under one rail.
    p.setBrush(QColor(100, 70, 45));
    for (qreal x = scene.left() + 2; x < scene.right() - 4; x += 9)
        p.drawRect(QRectF(x, groundTop + 3, 5, 3));
    p.setBrush(QColor(70, 70, 75));
    p.drawRect(QRectF(scene.left(), groundTop + 1, scene.width(), 2.5));

    // The locomotive, front at the left as in the thumbnails.
    const qreal bodyLeft = scene.left() + scene.width() * 0.08;
    const qreal bodyRight = scene.right() - scene.width() * 0.06;
    const qreal bodyTop = scene.top() + scene.height() * 0.30;
    const qreal bodyBottom = groundTop - 7;
    QPainterPath body;
    body.moveTo(bodyLeft + 14, bodyTop);
    body.lineTo(bodyRight, bodyTop);
    body.lineTo(bodyRight, bodyBottom);
    body.lineTo(bodyLeft, bodyBottom);
    body.lineTo(bodyLeft, bodyTop + 12);
    body.quadTo(bodyLeft, bodyTop, bodyLeft + 14, bodyTop);
    p.setBrush(QColor(200, 30, 35));
    p.setPen(QPen(QColor(90, 10, 15), 1));
    p.drawPath(body);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(245, 200, 40));
    p.drawRect(QRectF(bodyLeft, bodyBottom - 8, bodyRight - bodyLeft, 3));

    // Windscreen and side windows.
    p.setBrush(QColor(40, 60, 90));
    p.drawRect(QRectF(bodyLeft + 4, bodyTop + 5, 9, 8));
    for (qreal x = bodyLeft + 22; x + 10 < bodyRight - 4; x += 16)
        p.drawRect(QRectF(x, bodyTop + 5, 10, 7));

    // Roof and pantograph.
    p.setPen(QPen(QColor(60, 60, 60), 1.5));
    const qreal panX = bodyLeft + (bodyRight - bodyLeft) * 0.55;
    p.drawLine(QPointF(panX - 8, bodyTop), QPointF(panX, bodyTop - 9));
    p.drawLine(QPointF(panX, bodyTop - 9), QPointF(panX + 8, bodyTop));
    p.drawLine(QPointF(panX - 7, bodyTop - 9), QPointF(panX + 7, bodyTop - 9));

    // Bogies.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(35, 35, 35));
    const qreal wheelY = groundTop - 3.5;
    for (qreal x : {bodyLeft + 12, bodyLeft + 24, bodyRight - 24, bodyRight - 12})
        p.drawEllipse(QPointF(x, wheelY), 4.2, 4.2);
    return pixmap;
}

} // namespace dialogs
