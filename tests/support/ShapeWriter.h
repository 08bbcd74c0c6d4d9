#pragma once

// Writing a msts::Shape back into a shape file (.s), in any of the simulator's forms.
//
// The text forms look like the simulator's own files: tab-indented blocks, CR LF line ends,
// floats with six significant digits and three-digit exponents ("-3.8e-005"). The binary
// form has the block layout of the compressed files the simulator ships.

#include "support/SimisWriter.h"

#include "msts/Shape.h"

namespace fixtures {

enum class ShapeForm {
    Utf16Text,        // FF FE, UTF-16LE header and text
    Text8,            // 8-bit header and text
    Binary,           // uncompressed binary
    CompressedBinary, // zlib, binary inside
    CompressedText,   // zlib, 8-bit text inside
};

struct ShapeWriteOptions {
    int floatDigits = 6;                // significant digits in text
    bool strayLeadingLineBreak = false; // CR LF before the 8-bit header
};

Bytes writeShape(const msts::Shape& shape, ShapeForm form, const ShapeWriteOptions& options = {});

// The text of a shape in 8-bit form without any header, for tests that edit it.
std::string shapeText(const msts::Shape& shape, const ShapeWriteOptions& options = {});

// Wraps a shape text (as from shapeText) in the 8-bit or UTF-16 text container.
Bytes wrapShapeText(const std::string& text, bool utf16);

} // namespace fixtures
