// Fuzz target: the texture reader, all mip levels.

#include "msts/Ace.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::byte> bytes(reinterpret_cast<const std::byte*>(data), size);
    (void)msts::readAce(bytes);
    return 0;
}
