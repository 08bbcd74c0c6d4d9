#include "preview/PreviewGeometry.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace preview {

namespace {

// The half-turn as the single 3.1415925, not the nearest single to pi: the picture's pixels
// depend on its exact bits.
const float HalfTurnAngle = std::bit_cast<float>(std::uint32_t{0x40490FDA});

} // namespace

int CanvasPlacement::pixelWidth() const {
    return int(std::lround(Width));
}

int CanvasPlacement::pixelHeight() const {
    return int(std::lround(Height));
}

CanvasPlacement PlacementForLength(double length) {
    double scaled = std::trunc(length * PixelsPerMetre);
    // The width is a 16-bit value; out-of-range or undefined lengths must not overflow it.
    if (!std::isfinite(scaled))
        scaled = 0;
    scaled = std::clamp(scaled, double(std::numeric_limits<std::int16_t>::min()),
                        double(std::numeric_limits<std::int16_t>::max()));
    int w = int(scaled);

    CanvasPlacement placement;
    placement.Left = float(double(CanvasCentreX) - double(w) / 2.0);
    if (w < MinimumCanvasWidth)
        w = MinimumCanvasWidth;
    placement.Width = float(w);
    return placement;
}

bool LengthIsAccepted(double metres) {
    return !std::isnan(metres) && metres <= MaximumVehicleLength;
}

double ZoomOffset(int value, int maximum) {
    return (double(value) - double(maximum) / 2.0) / 10.0;
}

QString ZoomCaption(double offset, const QLocale& locale) {
    // Shortest form, as the number would read if typed: 0.1 steps show one decimal.
    QString text = locale.toString(offset, 'g', QLocale::FloatingPointShortest);
    // A zero reached from below would otherwise read "-0".
    if (offset == 0.0)
        text = locale.toString(0);
    return text;
}

float CameraFactorForOffset(double offset) {
    const float scaleOffset = float(offset);
    return scaleOffset + BaseCameraFactor;
}

render::Mat4 HalfTurnWorldMatrix() {
    render::Mat4 world;
    render::Mat4 rotation;
    render::matrixIdentity(world);
    render::matrixRotationY(rotation, HalfTurnAngle);
    render::matrixMultiply(world, rotation, world);
    return world;
}

} // namespace preview
