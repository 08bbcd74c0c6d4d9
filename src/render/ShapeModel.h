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
#include <optional>
#include <string>

namespace render {

// Gives the decoded texture for an image name as written in the shape, or nothing when it
// cannot be found or read. Called once per distinct name.
using TextureProvider = std::function<std::optional<msts::AceImage>(const std::string& imageName)>;

Model modelFromMesh(const msts::Mesh& mesh, const TextureProvider& textures);

// A render texture from a decoded one, its mip chain completed. Invalid when the image is.
Texture textureFromAce(const msts::AceImage& image);

} // namespace render
