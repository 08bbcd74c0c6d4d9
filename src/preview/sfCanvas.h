#pragma once

// The rendering canvas of the main window (object name "sfCanvas1").
//
// It keeps the operation names of the 3D view control it stands for, as plain C++ calls.
// The host initialises the device and the scene once, sets the camera for each shape, and
// draws a frame between BeginFrame and EndFrame; the canvas shows the last finished frame
// and raises RepaintNeeded when it must be drawn again (first showing, new size).
//
// The canvas is a face over one VehicleScene, the same scene pictelle-cli draws with; its
// shape object (sfShape) works on that scene too. The widget only shows the picture it is
// given, and TakeScreenshot writes exactly that picture.

#include "platform/FileSystem.h"
#include "preview/SceneView.h"
#include "preview/VehicleScene.h"
#include "render/Image.h"
#include "render/TextureCache.h"

#include <QImage>
#include <QString>
#include <QWidget>

#include <array>
#include <memory>

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

    // The file layer shapes and screenshots go through; the canvas's own default until set.
    // The file system must outlive the canvas and its shapes.
    void setFileSystem(const platform::FileSystem* fileSystem);
    const platform::FileSystem& fileSystem() const;
    // The decoded textures of every shape drawn on the canvas, kept while the canvas lives,
    // so that going back to a vehicle, or on to one sharing its textures, decodes nothing.
    const std::shared_ptr<render::TextureCache>& textureCache() const { return textureCache_; }

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

    // True when a frame may be drawn now: the device exists and the canvas has a size.
    bool BeginFrame();
    // Shows the frame drawn since BeginFrame.
    void EndFrame();
    // Renders the scene into the frame being drawn (sfShape::Draw calls it); nothing outside
    // a frame.
    void DrawShape();
    // The picture shown: the last finished frame, RGB rows top to bottom.
    const render::RgbImage& Picture() const { return picture_; }
    // Samples of that frame that a shape drew; 0 when it shows the background alone.
    std::size_t DrawnSamples() const { return pictureDrawn_; }
    // The scene behind the operations above: the shape, camera, background and light.
    VehicleScene& Scene() { return vehicle_; }
    const VehicleScene& Scene() const { return vehicle_; }
    const SceneView& View() const { return vehicle_.view(); }

    // Prefix (folder and start of the name) of the bitmaps TakeScreenshot writes.
    void ScreenshotLocation(const QString& location) { screenshotLocation_ = location; }
    QString ScreenshotLocation() const { return screenshotLocation_; }
    // Writes the shown picture as a 24-bit bitmap at ScreenshotLocation + a unique suffix +
    // ".bmp" (a name taken exclusively, see writeScreenshot) and returns that path text; empty
    // when nothing could be written, which the caller must treat as a failure.
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
    // What the canvas shows now: the last frame when it has the canvas's size, else the
    // background alone.
    render::RgbImage shownPicture() const;

    bool device_ = false;
    bool sceneStarted_ = false;
    bool inFrame_ = false;
    bool repaintQueued_ = false;
    int sceneValueA_ = 0;
    int sceneValueB_ = 0;
    quint32 backColor_ = 0x00E0E0E0; // grey (224, 224, 224)
    float cameraDistance_ = 0.0f;
    std::array<float, 3> cameraTarget_{0.0f, 0.0f, 0.0f};
    QString screenshotLocation_;
    platform::FileSystem ownFileSystem_;
    const platform::FileSystem* fileSystem_ = nullptr;
    std::shared_ptr<render::TextureCache> textureCache_ = std::make_shared<render::TextureCache>();
    VehicleScene vehicle_{&ownFileSystem_};
    render::RgbImage frame_;
    render::RgbImage picture_;
    std::size_t frameDrawn_ = 0;
    std::size_t pictureDrawn_ = 0;
    QImage shown_; // picture_ as the painter takes it
};

} // namespace preview
