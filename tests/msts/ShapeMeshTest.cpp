#include "support/FixtureSet.h"
#include "support/ShapeBuilder.h"
#include "support/ShapeWriter.h"

#include "msts/ShapeMesh.h"
#include "msts/ShapeReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

using msts::Vec3;

Vec3 minus(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec3 cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

void expectAt(Vec3 got, Vec3 want) {
    EXPECT_NEAR(got.x, want.x, 1e-5f);
    EXPECT_NEAR(got.y, want.y, 1e-5f);
    EXPECT_NEAR(got.z, want.z, 1e-5f);
}

TEST(ShapeMesh, partPlacementsComposeFromThePartUpToTheRoot) {
    // HAND (+2 along z) under ARM (a quarter turn about +Y, then up 1) under BODY (the root,
    // 4 along x, which is dropped). The corners are worked out by hand.
    const auto result = msts::readShape(
        fixtures::writeShape(fixtures::chainShape(), fixtures::ShapeForm::CompressedBinary));
    ASSERT_TRUE(result.ok());
    const msts::Mesh mesh = msts::buildMesh(result.shape);
    ASSERT_EQ(mesh.triangles.size(), 1u);
    const auto& c = mesh.triangles[0].corners;
    expectAt(c[0].position, {2, 1, -1});
    expectAt(c[1].position, {2, 2, 0});
    expectAt(c[2].position, {3, 1, 0});
    // Normals turn with the parts but do not move: (1,1,1)/sqrt(3) in HAND.
    const float k = 1.0f / std::sqrt(3.0f);
    expectAt(mesh.triangles[0].faceNormal, {k, k, -k});

    msts::MeshOptions keep;
    keep.keepRootTranslation = true;
    const msts::Mesh moved = msts::buildMesh(result.shape, keep);
    expectAt(moved.triangles[0].corners[0].position, {6, 1, -1});
}

TEST(ShapeMesh, usesTheMostDetailedLevelWhereverItIsListed) {
    msts::Shape shape = fixtures::sampleShape();
    auto& levels = shape.lodControls[0].levels;
    ASSERT_EQ(levels.size(), 2u);
    std::swap(levels[0], levels[1]); // the coarse 60 m box now comes first
    const msts::Mesh mesh = msts::buildMesh(shape);
    const msts::Bounds b = mesh.bounds();
    ASSERT_FALSE(b.empty);
    // The detailed body is 12 m long; the coarse box would be 60 m.
    EXPECT_NEAR(b.max.z - b.min.z, 12.0f, 1e-4f);
    EXPECT_EQ(mesh.triangles.size(), 6u * 2 + 2 + 6u * 2);
}

TEST(ShapeMesh, theRootPlacementIsDroppedButChildPlacementsKept) {
    const msts::Mesh mesh = msts::buildMesh(fixtures::sampleShape());
    // The glass panel's first corner (1.5, 1, -1) on WHEELS1 (up 0.5, forward 3) under the
    // root BODY (up 0.25, dropped).
    bool found = false;
    for (const auto& t : mesh.triangles)
        if (mesh.materials[t.material].imageName == "Sample_Glass.ACE") {
            expectAt(t.corners[0].position, {1.5f, 1.5f, 2});
            found = true;
            break;
        }
    EXPECT_TRUE(found);
}

TEST(ShapeMesh, materialsFollowPrimStateTextureImageAndVtxState) {
    msts::Shape shape = fixtures::sampleShape();
    shape.shaderNames = {"texdiff", "BLENDATEXDIFF"}; // case differs between tools
    const msts::Mesh mesh = msts::buildMesh(shape);
    ASSERT_EQ(mesh.materials.size(), 2u);
    const auto byImage = [&](const std::string& name) {
        return *std::find_if(mesh.materials.begin(), mesh.materials.end(),
                             [&](const msts::Material& m) { return m.imageName == name; });
    };
    const msts::Material paint = byImage("Sample_Body.ace");
    EXPECT_EQ(paint.shader, msts::ShaderKind::TexDiff);
    EXPECT_EQ(paint.alphaTestMode, 0);
    EXPECT_EQ(paint.lightingCode, -5);
    EXPECT_TRUE(paint.isLit());
    const msts::Material glass = byImage("Sample_Glass.ACE");
    EXPECT_EQ(glass.shader, msts::ShaderKind::BlendATexDiff);
    EXPECT_TRUE(glass.isBlended());
    EXPECT_EQ(glass.alphaTestMode, 1);
    EXPECT_EQ(glass.lightingCode, -8);
    EXPECT_FALSE(glass.isLit());
}

TEST(ShapeMesh, shaderNamesAreMatchedWithoutRegardToCase) {
    EXPECT_EQ(msts::shaderKindFromName("tex"), msts::ShaderKind::Tex);
    EXPECT_EQ(msts::shaderKindFromName("TexDiff"), msts::ShaderKind::TexDiff);
    EXPECT_EQ(msts::shaderKindFromName("blendatex"), msts::ShaderKind::BlendATex);
    EXPECT_EQ(msts::shaderKindFromName("AddATexDiff"), msts::ShaderKind::AddATexDiff);
    EXPECT_EQ(msts::shaderKindFromName("ADDATEX"), msts::ShaderKind::AddATex);
    EXPECT_EQ(msts::shaderKindFromName("TexDiffX"), msts::ShaderKind::Unknown);
    EXPECT_EQ(msts::shaderKindFromName(""), msts::ShaderKind::Unknown);
}

TEST(ShapeMesh, storedFaceNormalsAgreeWithWindingInEveryFixture) {
    for (const auto& file : fixtures::goodShapeFiles()) {
        SCOPED_TRACE(file.name);
        const auto result = msts::readShape(file.bytes);
        ASSERT_TRUE(result.ok());
        const msts::Mesh mesh = msts::buildMesh(result.shape);
        ASSERT_FALSE(mesh.triangles.empty());
        std::size_t checked = 0;
        for (const auto& t : mesh.triangles) {
            const Vec3 n = cross(minus(t.corners[1].position, t.corners[0].position),
                                 minus(t.corners[2].position, t.corners[0].position));
            if (dot(n, n) < 1e-12f)
                continue; // degenerate
            EXPECT_GT(dot(n, t.faceNormal), 0) << "triangle " << checked;
            ++checked;
        }
        EXPECT_GT(checked, 0u);
    }
}

TEST(ShapeMesh, boxFacesLookOutward) {
    // Winding alone could agree with a normal read from the wrong slot; the sample is made
    // of boxes, so each face must also look away from its box's centre.
    const msts::Mesh mesh = msts::buildMesh(fixtures::sampleShape());
    const Vec3 bodyCentre{0, 2.15f, 0};
    for (std::size_t i = 0; i < 12; ++i) {
        const auto& t = mesh.triangles[i];
        const Vec3 centroid{
            (t.corners[0].position.x + t.corners[1].position.x + t.corners[2].position.x) / 3,
            (t.corners[0].position.y + t.corners[1].position.y + t.corners[2].position.y) / 3,
            (t.corners[0].position.z + t.corners[1].position.z + t.corners[2].position.z) / 3};
        EXPECT_GT(dot(minus(centroid, bodyCentre), t.faceNormal), 0) << "triangle " << i;
    }
}

TEST(ShapeMesh, cornersShareANumberOnlyForOneVertexUnderOnePlacement) {
    fixtures::ShapeBuilder b;
    const auto body = b.addPart("BODY", {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0}, -1);
    const auto moved = b.addPart("MOVED", {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 5}, body);
    const auto red = b.addMaterial("", "Tex", body);
    const auto blue = b.addMaterial("", "Tex", body);
    const auto green = b.addMaterial("", "Tex", moved);
    b.addQuad(red, {Vec3{0, 0, 0}, Vec3{1, 0, 0}, Vec3{1, 1, 0}, Vec3{0, 1, 0}},
              {{{0, 0}, {1, 0}, {1, 1}, {0, 1}}});
    msts::Shape shape = b.build();
    // The same four vertices drawn again in another material on the same part, then on a
    // part placed elsewhere.
    auto& sub = shape.lodControls[0].levels[0].subObjects[0];
    ASSERT_EQ(sub.primitives.size(), 1u);
    for (const std::int32_t material : {blue, green}) {
        msts::Primitive again = sub.primitives[0];
        again.primStateIndex = material;
        sub.primitives.push_back(again);
    }
    const msts::Mesh mesh = msts::buildMesh(shape);
    ASSERT_EQ(mesh.triangles.size(), 6u);
    EXPECT_EQ(mesh.vertexCount, 8u);
    const auto number = [&](std::size_t t, std::size_t k) {
        return mesh.triangles[t].corners[k].vertex;
    };
    // a-b-c and a-c-d share a and c.
    EXPECT_EQ(number(0, 0), number(1, 0));
    EXPECT_EQ(number(0, 2), number(1, 1));
    EXPECT_NE(number(0, 1), number(1, 2));
    // Another material on the same part: the same vertices.
    for (std::size_t k = 0; k < 3; ++k)
        EXPECT_EQ(number(2, k), number(0, k));
    // Another part: vertices of their own, placed there.
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_NE(number(4, k), number(0, k));
        EXPECT_LT(number(4, k), mesh.vertexCount);
    }
    expectAt(mesh.triangles[4].corners[0].position, {0, 0, 5});
    expectAt(mesh.triangles[0].corners[0].position, {0, 0, 0});
}

TEST(ShapeMesh, theNightSubObjectCanBeLeftOut) {
    const msts::Shape shape = fixtures::sampleShape();
    msts::MeshOptions day;
    day.skipNightSubObject = true;
    EXPECT_EQ(msts::buildMesh(shape, day).triangles.size(), 12u);
    EXPECT_EQ(msts::buildMesh(shape).triangles.size(), 26u);
}

} // namespace
