#pragma once

// A sample model as a simulator shape value, ready for the shape writer: one matrix per
// part with the parts' hierarchy, one prim_state per part and material, one distance level.

#include "Model.h"

#include "msts/Shape.h"

namespace sample {

msts::Shape toShape(const Model& model);

} // namespace sample
