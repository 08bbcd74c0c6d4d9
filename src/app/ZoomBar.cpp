#include "app/ZoomBar.h"

#include <QKeyEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace app {

ZoomBar::ZoomBar(QWidget* parent) : QScrollBar(Qt::Horizontal, parent) {
    setObjectName(QStringLiteral("hscSCALE"));
    setFocusPolicy(Qt::StrongFocus);
}

void ZoomBar::keyPressEvent(QKeyEvent* event) {
    const bool leftToRight = layoutDirection() == Qt::LeftToRight;
    switch (event->key()) {
    case Qt::Key_Left:
        triggerAction(leftToRight ? SliderSingleStepSub : SliderSingleStepAdd);
        event->accept();
        return;
    case Qt::Key_Right:
        triggerAction(leftToRight ? SliderSingleStepAdd : SliderSingleStepSub);
        event->accept();
        return;
    default:
        QScrollBar::keyPressEvent(event);
    }
}

void ZoomBar::paintEvent(QPaintEvent* event) {
    QScrollBar::paintEvent(event);
    if (!hasFocus())
        return;
    QStylePainter painter(this);
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = rect().adjusted(1, 1, -1, -1);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
}

} // namespace app
