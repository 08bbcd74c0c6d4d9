#include "ShapeCompare.h"

#include "support/ShapeBuilder.h"
#include "support/ShapeWriter.h"

#include "msts/ShapeReader.h"

#include <gtest/gtest.h>

namespace {

using fixtures::ShapeForm;

msts::ShapeResult read(const fixtures::Bytes& bytes) {
    return msts::readShape(bytes);
}

class EveryForm : public ::testing::TestWithParam<ShapeForm> {};

TEST_P(EveryForm, readsTheShapeThatWasWritten) {
    const msts::Shape written = fixtures::sampleShape();
    const auto result = read(fixtures::writeShape(written, GetParam()));
    ASSERT_TRUE(result.ok());
    EXPECT_TRUE(result.diagnostics.empty()) << msts::codeName(result.diagnostics.items()[0].code);
    msts_test::expectSameShape(result.shape, written);
}

std::string formName(const ::testing::TestParamInfo<ShapeForm>& info) {
    static const char* const names[] = {"Utf16Text", "Text8", "Binary", "CompressedBinary",
                                        "CompressedText"};
    return names[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Forms, EveryForm,
                         ::testing::Values(ShapeForm::Utf16Text, ShapeForm::Text8,
                                           ShapeForm::Binary, ShapeForm::CompressedBinary,
                                           ShapeForm::CompressedText),
                         formName);

TEST(ShapeForms, textAndBinaryAgreeOnAGeneratedShapeWithManyDigits) {
    // Coordinates that six significant digits cannot hold exactly.
    msts::Shape shape = fixtures::generatedShape(3000);
    for (auto& p : shape.points)
        p.x += 0.1234567f;
    const auto text = read(fixtures::writeShape(shape, ShapeForm::Utf16Text));
    const auto binary = read(fixtures::writeShape(shape, ShapeForm::CompressedBinary));
    ASSERT_TRUE(text.ok());
    ASSERT_TRUE(binary.ok());
    msts_test::expectSameShape(text.shape, binary.shape, 1e-5f);
    msts_test::expectSameShape(binary.shape, shape, 0);
}

TEST(ShapeForms, binaryVerticesKeepEveryValueWhateverTheirUvCount) {
    // Vertices with no uv, one and three, in one run: binary vertices are read in bulk while
    // they keep one form, and each value must still land in its own field.
    msts::Shape shape = fixtures::sampleShape();
    std::uint32_t k = 0;
    for (auto& sub : shape.lodControls[0].levels[0].subObjects)
        for (auto& v : sub.vertices) {
            v.uvCount = (k % 3 == 0) ? 0u : (k % 3 == 1) ? 1u : 3u;
            if (v.uvCount == 0)
                v.uvIndex = -1;
            v.flags = 0x100u + k;
            v.colour1 = 0xff000000u + k;
            v.colour2 = 0xee000000u + k;
            ++k;
        }
    for (auto form : {ShapeForm::Binary, ShapeForm::CompressedBinary, ShapeForm::Text8}) {
        const auto result = read(fixtures::writeShape(shape, form));
        ASSERT_TRUE(result.ok());
        EXPECT_TRUE(result.diagnostics.empty());
        msts_test::expectSameShape(result.shape, shape);
    }
}

TEST(ShapeForms, namesOutsideAsciiSurviveEveryForm) {
    msts::Shape shape = fixtures::sampleShape();
    shape.images[0] = "Voiture_été.ace";
    shape.matrices[1].name = "ROUE_Ø1";
    for (auto form : {ShapeForm::Utf16Text, ShapeForm::Text8, ShapeForm::CompressedBinary}) {
        const auto result = read(fixtures::writeShape(shape, form));
        ASSERT_TRUE(result.ok());
        EXPECT_EQ(result.shape.images[0], "Voiture_été.ace");
        EXPECT_EQ(result.shape.matrices[1].name, "ROUE_Ø1");
    }
}

TEST(ShapeForms, aPrimStateIndexHoldsForEveryTrilistAfterIt) {
    msts::Shape shape = fixtures::sampleShape();
    auto& sub = shape.lodControls[0].levels[0].subObjects[1];
    ASSERT_EQ(sub.primitives.size(), 2u);
    sub.primitives[1].primStateIndex = sub.primitives[0].primStateIndex; // one idx block, two lists
    const std::string text = fixtures::shapeText(shape);
    const auto result = read(fixtures::wrapShapeText(text, false));
    ASSERT_TRUE(result.ok());
    const auto& got = result.shape.lodControls[0].levels[0].subObjects[1].primitives;
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[1].primStateIndex, sub.primitives[0].primStateIndex);
}

// Text as the simulator's tools and hand edits leave it.
TEST(ShapeText, toleratesOptionalFieldsCommentsAndLooseSyntax) {
    const std::string text = R"(shape (
	Shape_Header ( 00000000 )
	comment ( written by hand ( with nested ) parentheses )
	shader_names ( 1 named_shader ( "Tex" + "Diff" ) )
	texture_filter_names ( 1 named_filter_mode ( MipLinear ) )
	points ( 3 point ( 0 0 0 ) point ( 1 0 0 ) point ( 0 1.5e+000 -3.8e-005 ) )
	uv_points ( 1 uv_point ( 0 0 ) )
	normals ( 1 vector ( 0 0 -1 ) )
	sort_vectors ( 0 )
	colours ( 0 )
	matrices ( 1 matrix MAIN ( 1 0 0 0 1 0 0 0 1 0 0 0 ) )
	images ( 1 image ( "my wagon.ace" ) )
	textures ( 1 texture ( 0 0 -3 ) )
	light_materials ( 0 )
	light_model_cfgs ( 0 )
	vtx_states ( 1 vtx_state ( 00000000 0 -5 0 00000002 ) )
	prim_states ( 1 prim_state Body ( 00000000 0 tex_idxs ( 1 0 ) 0 0 0 0 1 ) )
	skip ( lod_controls ( 99 ) )
	lod_controls ( 1 lod_control (
		distance_levels_header ( 0 )
		distance_levels ( 1 distance_level (
			distance_level_header ( dlevel_selection ( 400 ) hierarchy ( 1 -1 ) )
			sub_objects ( 1 sub_object (
				sub_object_header ( 00000400 -1 -1 000001d2 000001c4
					geometry_info ( 1 0 0 0 0 0 0 0 0 0 geometry_nodes ( 0 ) geometry_node_map ( 0 ) ) )
				vertices ( 3
					vertex ( 00000000 0 0 ff969696 ff808080 vertex_uvs ( 1 0 ) )
					vertex ( 00000000 1 0 ff969696 ff808080 vertex_uvs ( 1 0 ) )
					vertex ( 00000000 2 0 ff969696 ff808080 vertex_uvs ( 0 ) ) )
				vertex_sets ( 1 vertex_set ( 0 0 3 ) )
				primitives ( 2 prim_state_idx ( 0 )
					indexed_trilist ( vertex_idxs ( 3 0 2 1 ) normal_idxs ( 1 0 3 ) flags ( 1 00000000 ) ) )
			) )
		) )
	) )
)
)
)";
    const auto result = read(fixtures::wrapShapeText(text, true));
    ASSERT_TRUE(result.ok()) << msts::codeName(result.diagnostics.items()[0].code) << " "
                             << result.diagnostics.items()[0].what;
    const msts::Shape& s = result.shape;
    EXPECT_EQ(s.shaderNames, std::vector<std::string>{"TexDiff"});
    EXPECT_EQ(s.images, std::vector<std::string>{"my wagon.ace"});
    EXPECT_EQ(s.flags2, 0u);
    EXPECT_EQ(s.textures[0].borderColour, 0u);
    EXPECT_EQ(s.vtxStates[0].matrix2Index, -1);
    EXPECT_NEAR(s.points[2].z, -3.8e-5f, 1e-9f);
    EXPECT_EQ(s.primStates[0].name, "Body");
    ASSERT_EQ(s.lodControls.size(), 1u);
    const auto& sub = s.lodControls[0].levels[0].subObjects[0];
    EXPECT_EQ(sub.flags, 0x400u);
    EXPECT_EQ(sub.sourceVertexFormat, 0x1d2u);
    EXPECT_EQ(sub.vertices[2].uvIndex, -1);
    EXPECT_EQ(sub.vertices[2].uvCount, 0u);
    ASSERT_EQ(sub.primitives.size(), 1u);
    EXPECT_EQ(sub.primitives[0].indices, (std::vector<std::uint32_t>{0, 2, 1}));
    EXPECT_EQ(sub.primitives[0].faceNormalIndices, std::vector<std::int32_t>{0});
    // The two ')' too many at the end are only worth a warning.
    EXPECT_TRUE(result.diagnostics.has(msts::DiagCode::TrailingData));
}

TEST(ShapeText, countsThatDisagreeWithTheBlocksAreReportedAndTheBlocksKept) {
    std::string text = fixtures::shapeText(fixtures::sampleShape());
    text.replace(text.find("images ( 2"), 10, "images ( 5");
    const auto result = read(fixtures::wrapShapeText(text, false));
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.shape.images.size(), 2u);
    EXPECT_TRUE(result.diagnostics.has(msts::DiagCode::CountMismatch));
}

TEST(ShapeValidation, brokenIndicesAreDroppedNotFollowed) {
    msts::Shape shape = fixtures::sampleShape();
    shape.primStates[0].vtxStateIndex = 40;
    shape.textures[1].imageIndex = -7;
    auto& prim = shape.lodControls[0].levels[0].subObjects[0].primitives[0];
    const std::size_t triangles = prim.indices.size() / 3;
    prim.indices[4] = 100000;          // second triangle names a vertex that is not there
    prim.faceNormalIndices[0] = 99999; // first triangle's face normal is not there
    msts::Diagnostics d;
    msts::validateShape(shape, d);
    EXPECT_TRUE(d.has(msts::DiagCode::IndexOutOfRange));
    EXPECT_FALSE(d.hasErrors());
    EXPECT_EQ(shape.primStates[0].vtxStateIndex, -1);
    EXPECT_EQ(shape.textures[1].imageIndex, -1);
    EXPECT_EQ(prim.indices.size() / 3, triangles - 1);
    EXPECT_EQ(prim.faceNormalIndices.size(), triangles - 1);
    EXPECT_EQ(prim.faceNormalIndices[0], -1);
}

TEST(ShapeValidation, hierarchyLoopsAndRunawayChainsAreCut) {
    msts::Shape shape;
    shape.matrices.resize(100);
    msts::DistanceLevel level;
    // 0 <- 1 <- 2 <- 0: a loop; 3..99 a chain deeper than allowed.
    level.hierarchy = {2, 0, 1};
    for (std::int32_t i = 3; i < 100; ++i)
        level.hierarchy.push_back(i == 3 ? -1 : i - 1);
    shape.lodControls.push_back({0, {level}});
    msts::Diagnostics d;
    msts::validateShape(shape, d);
    EXPECT_TRUE(d.has(msts::DiagCode::CyclicHierarchy));
    EXPECT_TRUE(d.has(msts::DiagCode::HierarchyTooDeep));
    // Every chain now ends at a root within the allowed depth.
    const auto& h = shape.lodControls[0].levels[0].hierarchy;
    for (std::size_t start = 0; start < h.size(); ++start) {
        std::int32_t node = static_cast<std::int32_t>(start);
        int steps = 0;
        while (h[static_cast<std::size_t>(node)] >= 0 && steps <= msts::maxHierarchyDepth) {
            node = h[static_cast<std::size_t>(node)];
            ++steps;
        }
        EXPECT_LE(steps, msts::maxHierarchyDepth) << "from matrix " << start;
    }
}

} // namespace
