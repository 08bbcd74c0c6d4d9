#pragma once

// hscSCALE: the zoom bar of the main window. A plain horizontal scroll bar, except that the
// arrow keys move it as its arrow buttons do (Qt turns them round on scroll bars, whose
// controls are inverted for vertical scrolling), and that it shows a focus mark when it
// holds the focus, so that a keyboard user sees where the arrow keys will act.

#include <QScrollBar>

namespace app {

class ZoomBar : public QScrollBar {
    Q_OBJECT
public:
    explicit ZoomBar(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

} // namespace app
