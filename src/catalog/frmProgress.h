#pragma once

// The progress window shown while the start-up scan runs.
//
// Its load (the constructor) titles it, turns both its pointer and the main window's to busy,
// centres it and draws the heading and the empty frame over the background picture. Timer1
// then ticks every 100 ms; its first tick runs the scan job, puts the pointers back and closes
// the window. Ticks never nest: a tick arriving while the scan runs (the scan lets the event
// queue run inside DrawProgressBar) does nothing.
//
// Drawing goes into a persistent picture that paintEvent only copies, so what was drawn
// stays until DrawProgressFrame clears it. The bar is ANDed with what lies beneath: the cyan
// step text stays visible under it and drawing it twice changes nothing.
//
// Closing the window while the scan runs, before the main window is ready, ends the program
// at once (the event queue only gets a turn inside DrawProgressBar, which checks for it). An
// error escaping the scan is shown in an error box and ends the program too.

#include "catalog/TrainsetWalk.h"

#include <QDialog>
#include <QImage>
#include <QRect>
#include <QStaticText>
#include <QString>

#include <functional>

class QTimer;

namespace catalog {

class frmProgress : public QDialog, public ScanProgress {
    Q_OBJECT

public:
    // Runs the scan; the window hands itself over as the walk's progress.
    using ScanJob = std::function<void(frmProgress&)>;

    // Client area, the fixed pieces of the drawing and the bar's full width.
    static constexpr int ClientWidth = 480;
    static constexpr int ClientHeight = 136;
    static constexpr int HeadingTop = 10;
    static constexpr int StepTextTop = 75;
    static constexpr QRgb HeadingColour = 0xFFFFFFC0;
    static constexpr QRgb StepTextColour = 0xFF00FFFF;
    static constexpr QRgb InnerFrameColour = 0xFFC0C0C0;
    static constexpr QRgb BarColour = 0xFF00FFFF;
    static constexpr int BarLeft = 18;
    static constexpr int BarTop = 70;
    static constexpr int BarBottom = 93;
    static constexpr double BarFullWidth = 445.0;
    // The outer frame and what it holds.
    static constexpr QRect FrameArea{16, 68, 450, 28};

    // mainWindow owns the window and gets the busy pointer. mainWindowReady is the program's
    // MainWindowReady flag, read when the window closes.
    frmProgress(QWidget* mainWindow, const bool& mainWindowReady, ScanJob scan);
    ~frmProgress() override;

    // Clears the drawing back to the background picture, then (while open) draws the
    // heading and the empty frame.
    void DrawProgressFrame();
    // Prints text centred inside the frame and repaints at once.
    void ShowProgressStep(const QString& text);

    // ScanProgress: what the walk calls.
    bool isOpen() const override { return progressOpen_; }
    void ShowProgressStep(app::MessageId step) override;
    // Lets the event queue run, ends the program when the window was closed meanwhile,
    // redraws the frame on the first step of a range and draws the bar for step current.
    void DrawProgressBar(qsizetype first, qsizetype last, double current) override;
    bool stopRequested() const override { return endRequested_; }

    bool readyToScan() const { return readyToScan_; }
    // What the window shows (the persistent drawing).
    const QImage& picture() const { return canvas_; }
    // Replaces the background picture (scaled to the client area) and redraws the frame.
    void setBackgroundPicture(const QImage& picture);
    // What ending the program means (with its exit code); by default the process ends at
    // once. Tests record it.
    void setEndProgram(std::function<void(int)> endProgram);

    QTimer* Timer1 = nullptr; // first tick runs the catalog scan

public slots:
    // Unloads the window: ProgressOpen becomes false and the timer stops.
    void done(int result) override;

protected:
    void paintEvent(QPaintEvent* event) override;

private slots:
    void Timer1_Timer();

private:
    int centredLeft(const QFont& font, const QString& text) const;
    // Repaints at once what was drawn since the last repaint.
    void showChanges();

    QWidget* mainWindow_;
    const bool& mainWindowReady_;
    ScanJob scan_;
    std::function<void(int)> endProgram_;
    QImage background_;
    QImage canvas_;
    QString stepText_;
    QStaticText stepLayout_;
    int stepLeft_ = 0;
    // Since the frame was last drawn: whether the step text stands in it, and the bar's
    // right edge (-1: no bar).
    bool textShown_ = false;
    int barRight_ = -1;
    QRect pending_;
    bool readyToScan_ = false;
    bool progressOpen_ = false;
    bool inTick_ = false;
    bool endRequested_ = false;
};

// Ends the process at once with that exit code, without returning to any event loop
// (standard streams flushed).
[[noreturn]] void EndProgramNow(int exitCode);

} // namespace catalog
