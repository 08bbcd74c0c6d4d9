#pragma once

// Hands a sample model straight to our renderer, without going through files: used to draw
// the progress window's picture at build time and to look at designs while making them.

#include "Model.h"
#include "Paint.h"
#include "render/Image.h"
#include "render/Model.h"

#include <vector>

namespace sample {

struct Placed {
    const Model* model;
    const Picture* picture;
    V3 offset; // where the model's origin goes
};

render::Model toRenderModel(const std::vector<Placed>& models);

// The radius of the sphere the thumbnail camera is set from, for a model seen as the
// preview sees it (turned half a turn about +Y).
float thumbnailRadius(const Model& model, const Picture& picture);

// A picture at the thumbnail geometry: 96 pixels high, 7.415 pixels a metre of `length`,
// the front at the left, the camera 2.4 reference radii away; `scale` enlarges it.
render::RgbImage thumbnail(const Model& model, const Picture& picture, float length,
                           float referenceRadius, int scale = 1);
// The same of several models drawn together, framed on the first alone (a vehicle and its
// freight shapes).
render::RgbImage thumbnail(const std::vector<Placed>& models, float length, float referenceRadius,
                           int scale = 1);

} // namespace sample
