#pragma once

// Thumbnail geometry of the preview: where the canvas sits on the main window, how wide the
// picture is for a vehicle's length, how the zoom bar places the camera, and the half-turn the
// shape is given so that its front faces left. The window and pictelle-cli both take the
// picture's size and camera from here, so that they make the same thumbnail.

#include "render/Math.h"

#include <QLocale>
#include <QString>

#include <cmath>
#include <cstdint>

namespace preview {

// Used by the canvas when no vehicle file names a shape (an empty list).
inline constexpr char16_t DefaultShapePath[] =
    u"c:\\program files\\microsoft games\\train simulator\\trains\\trainset\\scotsman\\scotsman.s";
// Where a shape's textures are looked for, relative to the shape's folder.
inline constexpr char16_t PreviewTexturePath[] = u"..\\textures\\";

// Canvas background, red 148, green 198, blue 239, as the canvas's 0x00BBGGRR colour.
inline constexpr std::uint32_t PreviewBackColor = 0x00EFC694u;
inline constexpr std::uint8_t PreviewBackRed = 148;
inline constexpr std::uint8_t PreviewBackGreen = 198;
inline constexpr std::uint8_t PreviewBackBlue = 239;

inline constexpr float CanvasTop = 30.0f;
inline constexpr float CanvasHeight = 96.0f;
inline constexpr float CanvasCentreX = 328.0f;
inline constexpr double PixelsPerMetre = 7.415;
inline constexpr int MinimumCanvasWidth = 16;

// Far plane in metres and light elevation in degrees handed to the canvas's scene.
inline constexpr int PreviewSceneValueA = 600;
inline constexpr int PreviewSceneValueB = 55;

// The zoom bar: offset -2.0 at 0 ("+", nearest) to +2.0 at 40 ("-", farthest), 0.1 a step.
inline constexpr int ZoomMinimum = 0;
inline constexpr int ZoomMaximum = 40;
inline constexpr float BaseCameraFactor = 2.4f;

// Placement of the canvas on the main window, in pixels.
struct CanvasPlacement {
    float Left = 0;
    float Top = CanvasTop;
    float Width = MinimumCanvasWidth;
    float Height = CanvasHeight;

    // The picture's size in whole pixels, as the canvas is sized.
    int pixelWidth() const;
    int pixelHeight() const;
};

// The canvas for a vehicle of `length` metres: 96 high, 7.415 pixels a metre truncated, at
// least 16 wide. Left is centred on x 328 from the unclamped width, so a narrow vehicle's
// canvas hangs to the right of the centre line; an odd width gives a half pixel. A length
// too large for the 16-bit width is held at the largest width.
CanvasPlacement PlacementForLength(double length);

// The zoom offset of a bar value: (value - maximum / 2) / 10.
double ZoomOffset(int value, int maximum = ZoomMaximum);
// The caption under the bar: the offset in its shortest form with the locale's decimal
// separator ("-0,1" in French).
QString ZoomCaption(double offset, const QLocale& locale = QLocale());
// CameraFactor for a zoom offset: the offset as a single, plus 2.4.
float CameraFactorForOffset(double offset);

// Largest radius, in metres, a reference sphere may have. The longest rolling stock (an
// articulated set, a long well wagon) stays under 60 m, a radius near 30 m; a sphere far
// larger comes from a stray point of a broken shape, and viewing every vehicle from its
// distance would leave every picture blank.
inline constexpr float MaximumReferenceRadius = 100.0f;

// The longest vehicle a Size line may give, in metres. Real rolling stock stays far under
// 100 m (an articulated set, a long well wagon); a longer length is a slip ("1945m" for
// 19.45 m, "1e300m") and would give a picture thousands of pixels wide in which the vehicle is
// a speck. Such a length is refused: the vehicle gets no thumbnail and the reason is told.
inline constexpr double MaximumVehicleLength = 150.0;

// True when a length read from a definition file can be drawn: a number no greater than
// MaximumVehicleLength (0 and below stand for an unknown length, drawn at the least width).
bool LengthIsAccepted(double metres);

// The reference sphere all vehicles are viewed against, measured once.
struct ReferenceSphere {
    render::Vec3 Centre;
    float Radius = 0.0f;

    // A finite sphere of a size rolling stock can have: radius above 0, at most
    // MaximumReferenceRadius.
    bool isUsable() const {
        return Radius > 0.0f && Radius <= MaximumReferenceRadius && std::isfinite(Centre.x) &&
               std::isfinite(Centre.y) && std::isfinite(Centre.z);
    }
};

// Camera distance from the reference target: CameraFactor × ReferenceRadius.
inline float CameraDistance(float cameraFactor, const ReferenceSphere& sphere) {
    return cameraFactor * sphere.Radius;
}

// The shape's world transform: identity, then turned half a turn about +Y, built with the
// render library's identity, rotation and product as the preview always has.
render::Mat4 HalfTurnWorldMatrix();

} // namespace preview
