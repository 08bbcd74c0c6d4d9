#pragma once

// Layout properties a window's controls must keep, whatever their exact places: each lies
// inside the window, no two overlap (a control and the ones it contains aside), and no
// caption is cut off. A list of faults, empty when the layout holds. Pairs the window's design
// lays over each other on purpose are named in `designOverlaps`.

#include <QAbstractButton>
#include <QFontMetrics>
#include <QLabel>
#include <QList>
#include <QPair>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace testsupport {

using WidgetPair = QPair<const QWidget*, const QWidget*>;

inline QStringList LayoutFaults(const QWidget& window, const QList<const QWidget*>& controls,
                                const QList<WidgetPair>& designOverlaps = {}) {
    QStringList faults;
    const QRect inside = window.rect();
    auto place = [&](const QWidget* w) {
        return QRect(w->mapTo(&window, QPoint(0, 0)), w->size());
    };
    for (const QWidget* w : controls) {
        const QString name = w->objectName();
        if (!inside.contains(place(w))) {
            faults << name + QStringLiteral(" lies outside the window");
        }
        QString caption;
        int room = w->contentsRect().width();
        if (const auto* label = qobject_cast<const QLabel*>(w)) {
            caption = label->text();
            if (label->wordWrap() && !caption.isEmpty() &&
                label->heightForWidth(label->width()) > label->height()) {
                faults << name + QStringLiteral(" cuts its caption off at the bottom");
            }
            if (label->wordWrap() || label->textFormat() == Qt::RichText) {
                caption.clear();
            }
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
            caption = button->text().remove(u'&');
            room -= 8; // the button's frame
            if (qobject_cast<const QAbstractButton*>(w)->inherits("QRadioButton")) {
                room -= 20; // the round mark before the caption
            }
        }
        for (const QString& line : caption.split(u'\n')) {
            // The ink, not the advance: a full stop's trailing spacing may pass the edge.
            if (!line.isEmpty() &&
                QFontMetrics(w->font()).tightBoundingRect(line).right() + 1 > room) {
                faults << name + QStringLiteral(" cuts its caption off: ") + line;
            }
        }
    }
    for (qsizetype i = 0; i < controls.size(); ++i) {
        for (qsizetype j = i + 1; j < controls.size(); ++j) {
            const QWidget* a = controls[i];
            const QWidget* b = controls[j];
            if (a->isAncestorOf(b) || b->isAncestorOf(a) ||
                designOverlaps.contains(WidgetPair(a, b)) ||
                designOverlaps.contains(WidgetPair(b, a))) {
                continue;
            }
            if (place(a).intersects(place(b))) {
                faults << a->objectName() + QStringLiteral(" overlaps ") + b->objectName();
            }
        }
    }
    return faults;
}

} // namespace testsupport
