#include "catalog/frmProgress.h"

#include "catalog/ProgressPicture.h"
#include "shared/Messages.h"
#include "shared/Shell.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QStaticText>
#include <QTimer>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace catalog {

namespace {

// Pictures drawn here are measured at 96 dots an inch whatever the screen says, so that the
// point sizes give the same pixels everywhere.
constexpr int kDotsPerMetre = 3780;

QFont headingFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setPointSize(12);
    font.setBold(true);
    font.setItalic(false);
    return font;
}

QFont stepFont() {
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Liberation Sans")});
    font.setPointSize(8);
    font.setBold(true);
    // The same text is printed over itself at every step; smoothed edges would thicken.
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

QImage blankPicture() {
    QImage picture(frmProgress::ClientWidth, frmProgress::ClientHeight, QImage::Format_RGB32);
    picture.setDotsPerMeterX(kDotsPerMetre);
    picture.setDotsPerMeterY(kDotsPerMetre);
    return picture;
}

} // namespace

void EndProgramNow(int exitCode) {
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

frmProgress::frmProgress(QWidget* mainWindow, const bool& mainWindowReady, ScanJob scan)
    : QDialog(mainWindow), mainWindow_(mainWindow), mainWindowReady_(mainWindowReady),
      scan_(std::move(scan)), endProgram_(&EndProgramNow) {
    setObjectName(QStringLiteral("frmProgress"));
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    setFixedSize(ClientWidth, ClientHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);

    background_ = blankPicture();
    {
        QPainter p(&background_);
        p.drawImage(QRect(0, 0, ClientWidth, ClientHeight), ProgressBackgroundPicture());
    }
    canvas_ = background_;

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, &frmProgress::Timer1_Timer);

    // The load step.
    readyToScan_ = false;
    setWindowTitle(app::LoadMessage(app::MessageId::ScanTitle, {"|1", app::ApplicationTitle}));
    setCursor(Qt::WaitCursor);
    if (mainWindow_ != nullptr) {
        mainWindow_->setCursor(Qt::WaitCursor);
    }
    progressOpen_ = true;
    app::CenterOnScreen(this);
    DrawProgressFrame();
    readyToScan_ = true;
    Timer1->start();
}

frmProgress::~frmProgress() = default;

void frmProgress::setEndProgram(std::function<void(int)> endProgram) {
    endProgram_ = std::move(endProgram);
}

void frmProgress::setBackgroundPicture(const QImage& picture) {
    background_ = blankPicture();
    QPainter p(&background_);
    p.drawImage(QRect(0, 0, ClientWidth, ClientHeight), picture);
    p.end();
    DrawProgressFrame();
}

int frmProgress::centredLeft(const QFont& font, const QString& text) const {
    const QFontMetricsF metrics(font, &canvas_);
    // Halves go to even, as the window system's own rounding does.
    return static_cast<int>(
        std::nearbyint(ClientWidth / 2.0 - metrics.horizontalAdvance(text) / 2.0));
}

void frmProgress::DrawProgressFrame() {
    canvas_ = background_;
    textShown_ = false;
    barRight_ = -1;
    pending_ = rect();
    if (!progressOpen_) {
        update();
        return;
    }
    QPainter p(&canvas_);
    const QFont font = headingFont();
    p.setFont(font);
    p.setPen(QColor::fromRgb(HeadingColour));
    const QFontMetrics metrics(font, &canvas_);
    const QString first = app::LoadMessage(app::MessageId::PleaseWait);
    const QString second = app::LoadMessage(app::MessageId::Loading);
    p.drawText(QPoint(centredLeft(font, first), HeadingTop + metrics.ascent()), first);
    const int secondTop = HeadingTop + metrics.height();
    p.drawText(QPoint(centredLeft(font, second), secondTop + metrics.ascent()), second);

    // Both frames include their corner pixels: (16, 68)-(465, 95) and (17, 69)-(464, 94).
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, 1, Qt::SolidLine));
    p.drawRect(QRect(16, 68, 465 - 16, 95 - 68));
    p.setPen(QPen(QColor::fromRgb(InnerFrameColour), 1, Qt::SolidLine));
    p.drawRect(QRect(17, 69, 464 - 17, 94 - 69));
    p.end();
    update();
}

void frmProgress::ShowProgressStep(const QString& text) {
    if (progressOpen_) {
        // A pass prints the same text at every step: lay it out once. Printing it again
        // where it already stands (the bar ANDed over it keeps its colour) changes nothing.
        if (stepText_ != text) {
            const QFont font = stepFont();
            stepText_ = text;
            stepLayout_ = QStaticText(text);
            stepLayout_.setTextFormat(Qt::PlainText);
            stepLayout_.prepare(QTransform(), font);
            stepLeft_ = centredLeft(font, text);
            textShown_ = false;
        }
        if (!textShown_) {
            QPainter p(&canvas_);
            p.setFont(stepFont());
            p.setPen(QColor::fromRgb(StepTextColour));
            p.drawStaticText(QPoint(stepLeft_, StepTextTop), stepLayout_);
            textShown_ = true;
            pending_ |= FrameArea;
        }
    }
    showChanges();
}

void frmProgress::showChanges() {
    // The screen is brought up to date at once, but only where the drawing changed: a long
    // scan's steps mostly leave the bar at the same pixel.
    if (!pending_.isEmpty()) {
        const QRect changed = pending_;
        pending_ = QRect();
        repaint(changed);
    }
}

void frmProgress::ShowProgressStep(app::MessageId step) {
    ShowProgressStep(app::LoadMessage(step));
}

void frmProgress::DrawProgressBar(qsizetype first, qsizetype last, double current) {
    if (last == 0) {
        return;
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (!progressOpen_ && !mainWindowReady_) {
        endRequested_ = true;
        endProgram_(0);
        return;
    }
    if (current == static_cast<double>(first)) {
        DrawProgressFrame();
    }
    const double width = BarFullWidth / static_cast<double>(last) * current;
    const int right = BarLeft + static_cast<int>(std::nearbyint(width));
    // ANDing again over pixels already ANDed changes nothing, so only a longer bar draws.
    if (progressOpen_ && width > 0.0 && right > barRight_) {
        QPainter p(&canvas_);
        p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        p.fillRect(QRect(QPoint(BarLeft, BarTop), QPoint(right, BarBottom)),
                   QColor::fromRgb(BarColour));
        barRight_ = right;
        pending_ |= FrameArea;
    }
    showChanges();
}

void frmProgress::Timer1_Timer() {
    if (!readyToScan_ || inTick_) {
        return;
    }
    inTick_ = true;
    if (scan_) {
        try {
            scan_(*this);
        } catch (const std::exception& error) {
            // No failure path: the error box, then the end, as for any unhandled error.
            endRequested_ = true;
            app::ShowFatalError(this, error);
            endProgram_(1);
            return;
        }
    }
    if (endRequested_) {
        // The program is ending; nothing of this window runs any more.
        return;
    }
    if (mainWindow_ != nullptr) {
        mainWindow_->unsetCursor();
    }
    unsetCursor();
    inTick_ = false;
    done(QDialog::Accepted);
}

void frmProgress::done(int result) {
    progressOpen_ = false;
    Timer1->stop();
    QDialog::done(result);
}

void frmProgress::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.drawImage(event->rect(), canvas_, event->rect());
}

} // namespace catalog
