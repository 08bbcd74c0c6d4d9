#pragma once

// Reading a shape file (.s) into a Shape value.
//
// Every container form is accepted: UTF-16 text, 8-bit text (with or without a stray line
// break before the header), uncompressed binary, and zlib-compressed binary or text. The
// reader is tolerant where real content is messy (unknown blocks skipped with a warning,
// optional trailing fields, a stray ')' at the end) and strict where bytes could hurt:
// every count is checked against the bytes left before anything is allocated, nesting is
// limited, and the result goes through validateShape() before it is returned.

#include "msts/Diagnostics.h"
#include "msts/Shape.h"

#include <cstddef>
#include <span>

namespace msts {

struct ShapeResult {
    Shape shape;             // empty when reading failed
    Diagnostics diagnostics; // warnings for what was skipped or dropped; errors when failed
    bool ok() const { return !diagnostics.hasErrors(); }
};

// Reads a whole shape file given as its bytes. Never throws for bad input: an unreadable
// file gives an empty shape and at least one error diagnostic.
ShapeResult readShape(std::span<const std::byte> bytes);

// Checks every index of a shape and its hierarchies; replaces broken indices by -1, drops
// triangles that cannot be built, cuts cyclic or too deep hierarchies at the offending
// link, and reports each repair as a warning. readShape() already calls it.
void validateShape(Shape& shape, Diagnostics& diagnostics);

// Deepest parent chain followed in a hierarchy; deeper chains are cut.
inline constexpr int maxHierarchyDepth = 64;

} // namespace msts
