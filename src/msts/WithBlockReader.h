#pragma once

// Hands `work` the concrete block reader for a container's body: the binary one, or the
// text one of its width. Code that reads a whole file through many small calls takes the
// reader this way, as its own type, so that those calls are made directly.

#include "msts/BinaryReader.h"
#include "msts/Container.h"
#include "msts/Diagnostics.h"
#include "msts/TextReader.h"

namespace msts {

template <typename Work>
decltype(auto) withBlockReader(const Container& container, Diagnostics& diagnostics, Work&& work) {
    const auto body = container.body();
    if (container.encoding == Encoding::Binary) {
        BinaryReader reader(body, container.bodyStart, diagnostics);
        return work(reader);
    }
    if (container.encoding == Encoding::Utf16Text) {
        TextReader<true> reader(body, container.bodyStart, diagnostics);
        return work(reader);
    }
    TextReader<false> reader(body, container.bodyStart, diagnostics);
    return work(reader);
}

} // namespace msts
