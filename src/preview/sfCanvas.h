#pragma once

// The rendering canvas of the main window (object name "sfCanvas1").
//
// It keeps the operation names of the 3D view control it stands for, as plain C++ calls.
// The host initialises the device and the scene once, sets the camera for each shape, and
// draws a frame between BeginFrame and EndFrame; the canvas shows the last finished frame
// and raises RepaintNeeded when it must be drawn again (first showing, new size).
//
// So far a frame is the background colour only: the drawing of shapes is done by the
// render library and is wired in with the preview.

#include <QImage>
#include <QString>
#include <QWidget>

#include <array>

namespace preview {

class sfCanvas : public QWidget {
    Q_OBJECT
public:
    explicit sfCanvas(QWidget* parent = nullptr);

    // Start the drawing device, then the scene; once, in this order, after the window shows.
    bool InitialiseDevice();
    bool InitialiseScene();
    // The drawing device shapes attach to; null until InitialiseDevice.
    sfCanvas* Device();

    // Far plane distance in metres (600 in use).
    void SceneValueA(int value);
    int SceneValueA() const { return sceneValueA_; }
    // Elevation of the light in degrees (55 in use).
    void SceneValueB(int value);
    int SceneValueB() const { return sceneValueB_; }

    // Background colour as 0x00BBGGRR.
    void BackColor(quint32 bgr);
    quint32 BackColor() const { return backColor_; }

    // Camera at `distance` from the target, +Y up. The 2 and 0 arguments and the up vector
    // are accepted as the control takes them; the target is passed by reference as there.
    void SetCamera(float distance, int mode, int flags, float& targetX, float& targetY,
                   float& targetZ, float upX, float upY, float upZ);
    float CameraDistance() const { return cameraDistance_; }
    std::array<float, 3> CameraTarget() const { return cameraTarget_; }

    // Called in this order after each new shape.
    void UpdateScene();
    void UpdateView();

    // True when a frame may be drawn now: the device exists and the canvas has a size.
    bool BeginFrame();
    // Shows the frame drawn since BeginFrame.
    void EndFrame();
    // The frame being drawn between BeginFrame and EndFrame, at the canvas's size.
    QImage& FrameBuffer() { return frame_; }
    // The picture shown: the last finished frame.
    const QImage& Picture() const { return picture_; }

    // Prefix (folder and start of the name) of the bitmaps TakeScreenshot writes.
    void ScreenshotLocation(const QString& location) { screenshotLocation_ = location; }
    QString ScreenshotLocation() const { return screenshotLocation_; }
    // Writes the shown picture as a bitmap at ScreenshotLocation + suffix + ".bmp" and
    // returns that path; empty when nothing was written. Not available yet: comes with the
    // thumbnail creation.
    QString TakeScreenshot();

    // The canvas's own about box (modal).
    void ShowAbout();

    // Placement in the parent, in pixels, as the host's extender properties give it.
    float Left() const { return float(x()); }
    void Left(float value);
    float Top() const { return float(y()); }
    void Top(float value);
    float Width() const { return float(width()); }
    void Width(float value);
    float Height() const { return float(height()); }
    void Height(float value);
    bool Visible() const { return !isHidden(); }
    void Visible(bool value) { setVisible(value); }

signals:
    // The picture must be drawn again.
    void RepaintNeeded();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QColor backgroundColour() const;
    void requestRepaint();

    bool device_ = false;
    bool scene_ = false;
    bool inFrame_ = false;
    bool repaintQueued_ = false;
    int sceneValueA_ = 0;
    int sceneValueB_ = 0;
    quint32 backColor_ = 0x00E0E0E0; // grey (224, 224, 224)
    float cameraDistance_ = 0.0f;
    std::array<float, 3> cameraTarget_{0.0f, 0.0f, 0.0f};
    QString screenshotLocation_;
    QImage frame_;
    QImage picture_;
};

} // namespace preview
