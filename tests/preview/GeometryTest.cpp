#include "preview/PreviewGeometry.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace preview;

namespace {

struct LengthCase {
    double length;
    float left;
    float width;
};

class PlacementForLengthTest : public ::testing::TestWithParam<LengthCase> {};

TEST_P(PlacementForLengthTest, CentresTheTruncatedWidthThenClampsIt) {
    const LengthCase c = GetParam();
    const CanvasPlacement p = PlacementForLength(c.length);
    EXPECT_FLOAT_EQ(p.Left, c.left) << "length " << c.length;
    EXPECT_FLOAT_EQ(p.Width, c.width) << "length " << c.length;
    EXPECT_FLOAT_EQ(p.Top, 30.0f);
    EXPECT_FLOAT_EQ(p.Height, 96.0f);
    EXPECT_EQ(p.pixelHeight(), 96);
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, PlacementForLengthTest,
    ::testing::Values(
        // 19.6 × 7.415 = 145.334: truncated, and an odd width puts Left on a half pixel.
        LengthCase{19.6, 255.5f, 145.0f},
        // 11 pixels wide: Left comes from the 11 before the width is raised to 16.
        LengthCase{1.5, 322.5f, 16.0f},
        // No usable length.
        LengthCase{0.0, 328.0f, 16.0f},
        // Truncation, not rounding: 2.157 m gives 15.994 pixels.
        LengthCase{2.157, 320.5f, 16.0f},
        // Exactly the minimum.
        LengthCase{16.0 / 7.415 + 1e-9, 320.0f, 16.0f},
        // A nonsensical negative length gives the narrowest canvas right of the centre line.
        LengthCase{-2.0, 335.0f, 16.0f}));

TEST(PlacementForLength, OutOfRangeLengthsStayWithinTheSixteenBitWidth) {
    const CanvasPlacement huge = PlacementForLength(1e9);
    EXPECT_FLOAT_EQ(huge.Width, 32767.0f);
    EXPECT_FLOAT_EQ(huge.Left, 328.0f - 32767.0f / 2.0f);

    const CanvasPlacement nan = PlacementForLength(std::numeric_limits<double>::quiet_NaN());
    EXPECT_FLOAT_EQ(nan.Width, 16.0f);
    EXPECT_FLOAT_EQ(nan.Left, 328.0f);
}

TEST(Zoom, CaptionFollowsTheUsersNumberFormat) {
    const QLocale french(QLocale::French, QLocale::France);
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(ZoomCaption(ZoomOffset(20), french), "0");
    EXPECT_EQ(ZoomCaption(ZoomOffset(19), french), "-0,1");
    EXPECT_EQ(ZoomCaption(ZoomOffset(21), french), "0,1");
    EXPECT_EQ(ZoomCaption(ZoomOffset(23), french), "0,3");
    EXPECT_EQ(ZoomCaption(ZoomOffset(0), french), "-2");
    EXPECT_EQ(ZoomCaption(ZoomOffset(40), french), "2");
    EXPECT_EQ(ZoomCaption(ZoomOffset(27), english), "0.7");
    // (19 - 20) / 10 and back to the middle must not leave a "-0".
    EXPECT_EQ(ZoomCaption(-0.0, french), "0");
}

TEST(Zoom, EachStepMovesTheCameraByATenthOfTheReferenceRadius) {
    const ReferenceSphere sphere{{1.0f, 2.0f, 3.0f}, 10.0f};
    EXPECT_FLOAT_EQ(CameraFactorForOffset(ZoomOffset(20)), 2.4f);
    EXPECT_FLOAT_EQ(CameraDistance(CameraFactorForOffset(ZoomOffset(20)), sphere), 24.0f);
    EXPECT_NEAR(CameraDistance(CameraFactorForOffset(ZoomOffset(0)), sphere), 4.0f, 1e-5);
    EXPECT_NEAR(CameraDistance(CameraFactorForOffset(ZoomOffset(40)), sphere), 44.0f, 1e-5);
    for (int value = ZoomMinimum; value < ZoomMaximum; ++value) {
        const float near = CameraDistance(CameraFactorForOffset(ZoomOffset(value)), sphere);
        const float far = CameraDistance(CameraFactorForOffset(ZoomOffset(value + 1)), sphere);
        EXPECT_NEAR(far - near, 1.0f, 1e-4) << "value " << value;
    }
}

TEST(HalfTurnWorldMatrix, TurnsTheVehicleEndForEndAboutTheVerticalAxis) {
    const render::Mat4 world = HalfTurnWorldMatrix();
    // The front (+Z) goes to -Z, the right side to the left, the roof stays up.
    const render::Vec3 front = render::transformPoint({0, 0, 5}, world);
    EXPECT_NEAR(front.x, 0.0f, 1e-5);
    EXPECT_NEAR(front.z, -5.0f, 1e-5);
    const render::Vec3 side = render::transformPoint({2, 0, 0}, world);
    EXPECT_NEAR(side.x, -2.0f, 1e-5);
    const render::Vec3 roof = render::transformPoint({0, 4, 0}, world);
    EXPECT_FLOAT_EQ(roof.y, 4.0f);
    EXPECT_FLOAT_EQ(world.at(3, 3), 1.0f);
}

TEST(PreviewBackColor, IsTheCanvasColourOfTheBackgroundTriple) {
    EXPECT_EQ(PreviewBackColor & 0xFFu, PreviewBackRed);
    EXPECT_EQ((PreviewBackColor >> 8) & 0xFFu, PreviewBackGreen);
    EXPECT_EQ((PreviewBackColor >> 16) & 0xFFu, PreviewBackBlue);
    EXPECT_EQ(PreviewBackRed, 148);
    EXPECT_EQ(PreviewBackGreen, 198);
    EXPECT_EQ(PreviewBackBlue, 239);
}

} // namespace
