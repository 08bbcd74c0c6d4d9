#include "msts/Token.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace msts {

namespace {

struct TokenName {
    Token token;
    std::string_view name;
};

constexpr TokenName tokenNames[] = {
    {Token::Comment, "comment"},
    {Token::Point, "point"},
    {Token::Vector, "vector"},
    {Token::Quat, "quat"},
    {Token::Normals, "normals"},
    {Token::NormalIdxs, "normal_idxs"},
    {Token::Points, "points"},
    {Token::UvPoint, "uv_point"},
    {Token::UvPoints, "uv_points"},
    {Token::Colour, "colour"},
    {Token::Colours, "colours"},
    {Token::PackedColour, "packed_colour"},
    {Token::Image, "image"},
    {Token::Images, "images"},
    {Token::Texture, "texture"},
    {Token::Textures, "textures"},
    {Token::LightMaterial, "light_material"},
    {Token::LightMaterials, "light_materials"},
    {Token::LinearKey, "linear_key"},
    {Token::TcbKey, "tcb_key"},
    {Token::LinearPos, "linear_pos"},
    {Token::TcbPos, "tcb_pos"},
    {Token::SlerpRot, "slerp_rot"},
    {Token::TcbRot, "tcb_rot"},
    {Token::Controllers, "controllers"},
    {Token::AnimNode, "anim_node"},
    {Token::AnimNodes, "anim_nodes"},
    {Token::Animation, "animation"},
    {Token::Animations, "animations"},
    {Token::Anim, "anim"},
    {Token::LodControls, "lod_controls"},
    {Token::LodControl, "lod_control"},
    {Token::DistanceLevelsHeader, "distance_levels_header"},
    {Token::DistanceLevelHeader, "distance_level_header"},
    {Token::DlevelSelection, "dlevel_selection"},
    {Token::DistanceLevels, "distance_levels"},
    {Token::DistanceLevel, "distance_level"},
    {Token::SubObjects, "sub_objects"},
    {Token::SubObject, "sub_object"},
    {Token::SubObjectHeader, "sub_object_header"},
    {Token::GeometryInfo, "geometry_info"},
    {Token::GeometryNodes, "geometry_nodes"},
    {Token::GeometryNode, "geometry_node"},
    {Token::GeometryNodeMap, "geometry_node_map"},
    {Token::CullablePrims, "cullable_prims"},
    {Token::VtxState, "vtx_state"},
    {Token::VtxStates, "vtx_states"},
    {Token::Vertex, "vertex"},
    {Token::VertexUvs, "vertex_uvs"},
    {Token::Vertices, "vertices"},
    {Token::VertexSet, "vertex_set"},
    {Token::VertexSets, "vertex_sets"},
    {Token::Primitives, "primitives"},
    {Token::PrimState, "prim_state"},
    {Token::PrimStates, "prim_states"},
    {Token::PrimStateIdx, "prim_state_idx"},
    {Token::IndexedPointList, "indexed_point_list"},
    {Token::PointList, "point_list"},
    {Token::IndexedLineList, "indexed_line_list"},
    {Token::IndexedTrilist, "indexed_trilist"},
    {Token::TexIdxs, "tex_idxs"},
    {Token::Tri, "tri"},
    {Token::VertexIdxs, "vertex_idxs"},
    {Token::Flags, "flags"},
    {Token::Matrix, "matrix"},
    {Token::Matrices, "matrices"},
    {Token::Hierarchy, "hierarchy"},
    {Token::Volumes, "volumes"},
    {Token::VolSphere, "vol_sphere"},
    {Token::ShapeHeader, "shape_header"},
    {Token::Shape, "shape"},
    {Token::ShaderNames, "shader_names"},
    {Token::ShaderName, "shader_name"},
    {Token::TextureFilterNames, "texture_filter_names"},
    {Token::TextureFilterName, "texture_filter_name"},
    {Token::SortVectors, "sort_vectors"},
    {Token::UvopArgSets, "uvop_arg_sets"},
    {Token::UvopArgSet, "uvop_arg_set"},
    {Token::LightModelCfgs, "light_model_cfgs"},
    {Token::LightModelCfg, "light_model_cfg"},
    {Token::UvOps, "uv_ops"},
    {Token::UvopCopy, "uvop_copy"},
    {Token::UvOpShare, "uv_op_share"},
    {Token::UvOpCopy, "uv_op_copy"},
    {Token::UvOpUniformscale, "uv_op_uniformscale"},
    {Token::UvOpUserUninformscale, "uv_op_user_uninformscale"},
    {Token::UvOpNonuniformscale, "uv_op_nonuniformscale"},
    {Token::UvOpUserNonuninformscale, "uv_op_user_nonuninformscale"},
    {Token::UvOpTransform, "uv_op_transform"},
    {Token::UvOpUserTransform, "uv_op_user_transform"},
    {Token::UvOpReflectxy, "uv_op_reflectxy"},
    {Token::UvOpReflectmap, "uv_op_reflectmap"},
    {Token::UvOpReflectmapfull, "uv_op_reflectmapfull"},
    {Token::UvOpSpheremap, "uv_op_spheremap"},
    {Token::UvOpSpheremapfull, "uv_op_spheremapfull"},
    {Token::UvOpSpecularmap, "uv_op_specularmap"},
    {Token::UvOpEmbossbump, "uv_op_embossbump"},
    {Token::UserUvArgs, "user_uv_args"},
    {Token::IoDev, "io_dev"},
    {Token::IoMap, "io_map"},
    {Token::Sguid, "sguid"},
    {Token::DlevCfgTable, "dlev_cfg_table"},
    {Token::DlevCfg, "dlev_cfg"},
    {Token::SubobjectShaders, "subobject_shaders"},
    {Token::SubobjectLightCfgs, "subobject_light_cfgs"},
    {Token::ShapeNamedData, "shape_named_data"},
    {Token::ShapeNamedDataHeader, "shape_named_data_header"},
    {Token::ShapeNamedGeometry, "shape_named_geometry"},
    {Token::ShapeGeomRef, "shape_geom_ref"},
    {Token::MaterialPalette, "material_palette"},
    {Token::BlendConfig, "blend_config"},
    {Token::BlendConfigHeader, "blend_config_header"},
    {Token::FiltermodeCfgs, "filtermode_cfgs"},
    {Token::FilterModeCfg, "filter_mode_cfg"},
    {Token::BlendModeCfgs, "blend_mode_cfgs"},
    {Token::BlendModeCfg, "blend_mode_cfg"},
    {Token::TextureStageProgs, "texture_stage_progs"},
    {Token::TextureStageProg, "texture_stage_prog"},
    {Token::BlendModeCfgRefs, "blend_mode_cfg_refs"},
    {Token::ShaderCfgs, "shader_cfgs"},
    {Token::ShaderCfg, "shader_cfg"},
    {Token::TextureSlots, "texture_slots"},
    {Token::TextureSlot, "texture_slot"},
    {Token::NamedFilterModes, "named_filter_modes"},
    {Token::NamedFilterMode, "named_filter_mode"},
    {Token::FiltermodeCfgRefs, "filtermode_cfg_refs"},
    {Token::FiltermodeCfgRef, "filtermode_cfg_ref"},
    {Token::NamedShaders, "named_shaders"},
    {Token::NamedShader, "named_shader"},
    {Token::ShaderCfgRefs, "shader_cfg_refs"},
    {Token::ShaderCfgRef, "shader_cfg_ref"},
    {Token::MaxData, "max_data"},
    {Token::MaxDlevData, "max_dlev_data"},
    {Token::MaxSmoothingData, "max_smoothing_data"},
    {Token::MaxSortPriorities, "max_sort_priorities"},
    {Token::UvOpDiffusemap, "uv_op_diffusemap"},
};

// Longer than any token name: a longer word is no token.
constexpr std::size_t longestName = 32;

// Names by a hash of their lower-case letters, in a table with room to spare so that a probe
// finds its name, or an empty slot, in a step or two: text readers ask for every block.
constexpr std::size_t slots = 512;

constexpr std::uint32_t hashName(std::string_view lower) {
    std::uint32_t h = 2166136261u;
    for (const char c : lower)
        h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
    return h;
}

constexpr auto byName = [] {
    std::array<TokenName, slots> table{};
    for (const auto& entry : tokenNames) {
        std::size_t i = hashName(entry.name) % slots;
        while (!table[i].name.empty())
            i = (i + 1) % slots;
        table[i] = entry;
    }
    return table;
}();

} // namespace

std::string_view tokenName(Token token) {
    // Indexed by number: the binary reader asks for every block it opens.
    static constexpr auto byNumber = [] {
        std::array<std::string_view, 256> table{};
        for (const auto& entry : tokenNames)
            table[static_cast<std::size_t>(entry.token)] = entry.name;
        return table;
    }();
    const auto index = static_cast<std::size_t>(token);
    return index < byNumber.size() ? byNumber[index] : std::string_view{};
}

const std::array<bool, 256>& namedTokens() {
    static constexpr auto named = [] {
        std::array<bool, 256> table{};
        for (const auto& entry : tokenNames)
            table[static_cast<std::size_t>(entry.token)] = true;
        return table;
    }();
    return named;
}

std::optional<Token> tokenFromName(std::string_view name) {
    if (name.empty() || name.size() > longestName)
        return std::nullopt;
    std::array<char, longestName> lower;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        lower[i] = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    const std::string_view key(lower.data(), name.size());
    for (std::size_t i = hashName(key) % slots; !byName[i].name.empty(); i = (i + 1) % slots)
        if (byName[i].name == key)
            return byName[i].token;
    return std::nullopt;
}

} // namespace msts
