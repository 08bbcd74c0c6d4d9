#pragma once

// Field-by-field comparison of two shapes, floats to a tolerance, for the form round trips.

#include "msts/Shape.h"

#include <gtest/gtest.h>

#include <cmath>

namespace msts_test {

inline void expectNear(const msts::Vec3& a, const msts::Vec3& b, float tolerance) {
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
}

inline void expectSameShape(const msts::Shape& a, const msts::Shape& b, float tolerance = 1e-5f) {
    EXPECT_EQ(a.flags1, b.flags1);
    EXPECT_EQ(a.flags2, b.flags2);
    EXPECT_EQ(a.shaderNames, b.shaderNames);
    EXPECT_EQ(a.filterNames, b.filterNames);
    EXPECT_EQ(a.images, b.images);
    ASSERT_EQ(a.volumes.size(), b.volumes.size());
    for (std::size_t i = 0; i < a.volumes.size(); ++i) {
        expectNear(a.volumes[i].centre, b.volumes[i].centre, tolerance);
        EXPECT_NEAR(a.volumes[i].radius, b.volumes[i].radius, tolerance);
    }
    ASSERT_EQ(a.points.size(), b.points.size());
    for (std::size_t i = 0; i < a.points.size(); ++i)
        expectNear(a.points[i], b.points[i], tolerance);
    ASSERT_EQ(a.normals.size(), b.normals.size());
    for (std::size_t i = 0; i < a.normals.size(); ++i)
        expectNear(a.normals[i], b.normals[i], tolerance);
    ASSERT_EQ(a.uvPoints.size(), b.uvPoints.size());
    for (std::size_t i = 0; i < a.uvPoints.size(); ++i) {
        EXPECT_NEAR(a.uvPoints[i].u, b.uvPoints[i].u, tolerance);
        EXPECT_NEAR(a.uvPoints[i].v, b.uvPoints[i].v, tolerance);
    }
    ASSERT_EQ(a.matrices.size(), b.matrices.size());
    for (std::size_t i = 0; i < a.matrices.size(); ++i) {
        EXPECT_EQ(a.matrices[i].name, b.matrices[i].name);
        for (std::size_t k = 0; k < 12; ++k)
            EXPECT_NEAR(a.matrices[i].m[k], b.matrices[i].m[k], tolerance);
    }
    ASSERT_EQ(a.textures.size(), b.textures.size());
    for (std::size_t i = 0; i < a.textures.size(); ++i) {
        EXPECT_EQ(a.textures[i].imageIndex, b.textures[i].imageIndex);
        EXPECT_EQ(a.textures[i].filterIndex, b.textures[i].filterIndex);
        EXPECT_NEAR(a.textures[i].mipLodBias, b.textures[i].mipLodBias, tolerance);
        EXPECT_EQ(a.textures[i].borderColour, b.textures[i].borderColour);
    }
    ASSERT_EQ(a.lightModelConfigs.size(), b.lightModelConfigs.size());
    for (std::size_t i = 0; i < a.lightModelConfigs.size(); ++i) {
        ASSERT_EQ(a.lightModelConfigs[i].uvOps.size(), b.lightModelConfigs[i].uvOps.size());
        for (std::size_t k = 0; k < a.lightModelConfigs[i].uvOps.size(); ++k) {
            EXPECT_EQ(a.lightModelConfigs[i].uvOps[k].kind, b.lightModelConfigs[i].uvOps[k].kind);
            EXPECT_EQ(a.lightModelConfigs[i].uvOps[k].textureAddressMode,
                      b.lightModelConfigs[i].uvOps[k].textureAddressMode);
        }
    }
    ASSERT_EQ(a.vtxStates.size(), b.vtxStates.size());
    for (std::size_t i = 0; i < a.vtxStates.size(); ++i) {
        EXPECT_EQ(a.vtxStates[i].matrixIndex, b.vtxStates[i].matrixIndex);
        EXPECT_EQ(a.vtxStates[i].lightMaterialIndex, b.vtxStates[i].lightMaterialIndex);
        EXPECT_EQ(a.vtxStates[i].lightFlags, b.vtxStates[i].lightFlags);
        EXPECT_EQ(a.vtxStates[i].matrix2Index, b.vtxStates[i].matrix2Index);
    }
    ASSERT_EQ(a.primStates.size(), b.primStates.size());
    for (std::size_t i = 0; i < a.primStates.size(); ++i) {
        const auto& p = a.primStates[i];
        const auto& q = b.primStates[i];
        EXPECT_EQ(p.name, q.name);
        EXPECT_EQ(p.shaderIndex, q.shaderIndex);
        EXPECT_EQ(p.textureIndices, q.textureIndices);
        EXPECT_EQ(p.vtxStateIndex, q.vtxStateIndex);
        EXPECT_EQ(p.alphaTestMode, q.alphaTestMode);
        EXPECT_EQ(p.lightConfigIndex, q.lightConfigIndex);
        EXPECT_EQ(p.zBufferMode, q.zBufferMode);
    }
    ASSERT_EQ(a.lodControls.size(), b.lodControls.size());
    for (std::size_t l = 0; l < a.lodControls.size(); ++l) {
        const auto& la = a.lodControls[l];
        const auto& lb = b.lodControls[l];
        EXPECT_EQ(la.bias, lb.bias);
        ASSERT_EQ(la.levels.size(), lb.levels.size());
        for (std::size_t d = 0; d < la.levels.size(); ++d) {
            const auto& da = la.levels[d];
            const auto& db = lb.levels[d];
            EXPECT_NEAR(da.selection, db.selection, tolerance);
            EXPECT_EQ(da.hierarchy, db.hierarchy);
            ASSERT_EQ(da.subObjects.size(), db.subObjects.size());
            for (std::size_t s = 0; s < da.subObjects.size(); ++s) {
                const auto& sa = da.subObjects[s];
                const auto& sb = db.subObjects[s];
                EXPECT_EQ(sa.shaders, sb.shaders);
                EXPECT_EQ(sa.lightConfigs, sb.lightConfigs);
                EXPECT_EQ(sa.id, sb.id);
                ASSERT_EQ(sa.vertices.size(), sb.vertices.size());
                for (std::size_t v = 0; v < sa.vertices.size(); ++v) {
                    EXPECT_EQ(sa.vertices[v].pointIndex, sb.vertices[v].pointIndex);
                    EXPECT_EQ(sa.vertices[v].normalIndex, sb.vertices[v].normalIndex);
                    EXPECT_EQ(sa.vertices[v].uvIndex, sb.vertices[v].uvIndex);
                    EXPECT_EQ(sa.vertices[v].colour1, sb.vertices[v].colour1);
                    EXPECT_EQ(sa.vertices[v].colour2, sb.vertices[v].colour2);
                    EXPECT_EQ(sa.vertices[v].flags, sb.vertices[v].flags);
                    EXPECT_EQ(sa.vertices[v].uvCount, sb.vertices[v].uvCount);
                }
                ASSERT_EQ(sa.vertexSets.size(), sb.vertexSets.size());
                ASSERT_EQ(sa.primitives.size(), sb.primitives.size());
                for (std::size_t p = 0; p < sa.primitives.size(); ++p) {
                    EXPECT_EQ(sa.primitives[p].primStateIndex, sb.primitives[p].primStateIndex);
                    EXPECT_EQ(sa.primitives[p].indices, sb.primitives[p].indices);
                    EXPECT_EQ(sa.primitives[p].faceNormalIndices,
                              sb.primitives[p].faceNormalIndices);
                    EXPECT_EQ(sa.primitives[p].flags, sb.primitives[p].flags);
                }
            }
        }
    }
}

} // namespace msts_test
