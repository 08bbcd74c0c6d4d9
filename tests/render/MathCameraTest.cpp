#include "render/Camera.h"
#include "render/Math.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>

using namespace render;

namespace {

void expectNear(Vec3 actual, Vec3 expected, float tolerance = 1e-5f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

// The half-turn angle the preview passes, as its exact single-precision bits.
const float kHalfTurn = std::bit_cast<float>(std::uint32_t(0x40490FDA));

} // namespace

TEST(MatrixTest, HalfTurnSwapsEndsAndSidesButKeepsUp) {
    Mat4 world;
    matrixIdentity(world);
    Mat4 rotation;
    matrixRotationY(rotation, kHalfTurn);
    matrixMultiply(world, rotation, world);
    expectNear(transformPoint({1, 2, 3}, world), {-1, 2, -3});
    expectNear(transformDirection({0, 0, 1}, world), {0, 0, -1});
}

TEST(MatrixTest, QuarterTurnTurnsFrontTowardsPlusX) {
    // Seen from above in the left-handed frame a positive angle turns +Z to +X.
    expectNear(transformPoint({0, 0, 1}, Mat4::rotationY(3.14159265f / 2)), {1, 0, 0});
}

TEST(MatrixTest, ProductAppliesTheFirstOperandFirstAndMayOverwriteAnOperand) {
    const Mat4 move = Mat4::translation({10, 0, 0});
    const Mat4 turn = Mat4::rotationY(3.14159265f / 2);
    // Move then turn: (10,0,0) turns to (0,0,-10).
    expectNear(transformPoint({0, 0, 0}, move * turn), {0, 0, -10});
    // Turn then move: the origin only moves.
    expectNear(transformPoint({0, 0, 0}, turn * move), {10, 0, 0});

    Mat4 intoSecond = turn;
    matrixMultiply(intoSecond, move, intoSecond);
    EXPECT_EQ(intoSecond, move * turn);
    Mat4 intoFirst = move;
    matrixMultiply(intoFirst, intoFirst, turn);
    EXPECT_EQ(intoFirst, move * turn);
}

TEST(MatrixTest, IdentityLeavesPointsAndProductsAlone) {
    Mat4 id;
    id.m.fill(7.0f); // the function must overwrite every element
    matrixIdentity(id);
    expectNear(transformPoint({4, -5, 6}, id), {4, -5, 6});
    const Mat4 turn = Mat4::rotationY(0.3f);
    EXPECT_EQ(id * turn, turn);
}

TEST(MatrixTest, SimulatorPartMatrixMapsAxesAsWritten) {
    // X maps to -Y, Y to +X, then a translation.
    const Mat4 m = Mat4::fromRows3x4({0, -1, 0, 1, 0, 0, 0, 0, 1, 2, 3, 4});
    expectNear(transformPoint({1, 0, 0}, m), {2, 2, 4});
    expectNear(transformPoint({0, 1, 0}, m), {3, 3, 4});
}

TEST(CameraTest, TargetLandsAtThePictureCentreWhateverTheDistance) {
    for (float distance : {0.5f, 24.0f, 300.0f}) {
        const Camera c = Camera::sideView({3, 2, -7}, distance);
        const Vec3 p = projectToPixels({3, 2, -7}, c, 145, 96);
        EXPECT_NEAR(p.x, 72.5f, 1e-3f);
        EXPECT_NEAR(p.y, 48.0f, 1e-3f);
        EXPECT_GT(p.z, 0.0f);
        EXPECT_LT(p.z, 1.0f);
    }
}

TEST(CameraTest, SideViewPutsMinusZLeftAndUpAtTheTop) {
    const Camera c = Camera::sideView({0, 0, 0}, 20);
    const Vec3 towardsMinusZ = projectToPixels({0, 0, -5}, c, 100, 100);
    const Vec3 up = projectToPixels({0, 5, 0}, c, 100, 100);
    EXPECT_LT(towardsMinusZ.x, 50.0f);
    EXPECT_NEAR(towardsMinusZ.y, 50.0f, 1e-3f);
    EXPECT_LT(up.y, 50.0f);
}

TEST(CameraTest, ThirtyDegreeFieldOfViewSpansThePictureHeight) {
    // A point at the top edge of a 30° field of view lies tan(15°) × distance above the target.
    const float distance = 40;
    const Camera c = Camera::sideView({0, 0, 0}, distance);
    const Vec3 top =
        projectToPixels({0, distance * std::tan(15.0f * 3.14159265f / 180.0f), 0}, c, 145, 96);
    EXPECT_NEAR(top.y, 0.0f, 1e-2f);
}

TEST(CameraTest, DepthRunsFromNearToFarPlane) {
    Camera c = Camera::sideView({0, 0, 0}, 100);
    c.farPlane = 600;
    EXPECT_NEAR(projectToPixels({100 - 0.1f, 0, 0}, c, 10, 10).z, 0.0f, 1e-3f);
    EXPECT_NEAR(projectToPixels({100 - 600.0f, 0, 0}, c, 10, 10).z, 1.0f, 1e-4f);
}
