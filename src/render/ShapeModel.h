#pragma once

// From the simulator's shape (as triangles with materials) to a render model.
//
// Material rules: a texture that could not be had draws neutral grey; alpha-test mode 1 cuts
// holes where the texel alpha is below 200; a Blend/Add shader blends only when its texture
// really carries alpha (a 1-bit mask on an alpha-tested material is cut, not blended);
// lighting codes below -7 are unlit, -12 and -11 darken.

#include "msts/Ace.h"
#include "msts/ShapeMesh.h"
#include "render/Model.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace render {

// A shape's model whose textures are given afterwards, once the picture to draw tells which
// of their levels it needs: one texture slot per distinct image name, in order of first use,
// empty (drawn grey) until set.
struct ShapeModel {
    Model model;
    std::vector<std::string> imageNames;   // per slot, as the shape spells it
    std::vector<msts::Material> materials; // the shape's, one per model material

    // Puts a texture (or none) in a slot and settles the blend modes of its materials.
    void setTexture(std::size_t slot, std::shared_ptr<const Texture> texture);
};

ShapeModel shapeModelFromMesh(const msts::Mesh& mesh);

// Gives the decoded texture for an image name as written in the shape, or nothing when it
// cannot be found or read. Called once per distinct name.
using TextureProvider = std::function<std::optional<msts::AceImage>(const std::string& imageName)>;

// The model with every texture the provider gives, whole.
Model modelFromMesh(const msts::Mesh& mesh, const TextureProvider& textures);

// A render texture from a decoded one, the levels the image holds kept and the smaller ones
// completed. Invalid when the image is.
Texture textureFromAce(const msts::AceImage& image);
// The same taking the image's pixels over rather than copying them.
Texture textureFromAce(msts::AceImage&& image);

} // namespace render
