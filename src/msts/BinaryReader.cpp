#include "msts/BinaryReader.h"

namespace msts {

void BinaryReader::refuse(DiagCode code, std::uint64_t at, const char* what) {
    throw ReadError(code, at, what);
}

void BinaryReader::overrun(std::uint64_t at, std::uint32_t length) {
    throw ReadError(DiagCode::BlockOverrun, at,
                    "block of " + std::to_string(length) + " bytes overruns its parent");
}

void BinaryReader::runsPast(const char* what) const {
    throw ReadError(DiagCode::UnexpectedEnd, position(),
                    std::string(what) + " runs past the end of its block");
}

std::string BinaryReader::unknownName(std::uint16_t id, std::uint16_t set) {
    return "token " + std::to_string(id) + "/" + std::to_string(set);
}

} // namespace msts
