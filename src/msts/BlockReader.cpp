#include "msts/BlockReader.h"

#include "msts/WithBlockReader.h"

#include <type_traits>
#include <utility>

namespace msts {

BlockHeader BlockReader::expectBlock(Token token) {
    const std::uint64_t at = position();
    auto header = openBlock();
    if (!header)
        throw ReadError(DiagCode::UnexpectedToken, at,
                        std::string(tokenName(token)) + " expected, block ends");
    if (header->token != token)
        throw ReadError(DiagCode::UnexpectedToken, header->position,
                        std::string(tokenName(token)) + " expected, found " +
                            (header->token == Token::Unknown
                                 ? std::string("an unknown block")
                                 : std::string(tokenName(header->token))));
    return std::move(*header);
}

void BlockReader::readInts(std::size_t count, std::vector<std::int32_t>& out) {
    if (count > maxItemsLeft(4))
        throw ReadError(DiagCode::CountTooLarge, position(), std::to_string(count) + " values");
    out.resize(count);
    for (auto& v : out)
        v = readInt();
}

void BlockReader::readUInts(std::size_t count, std::vector<std::uint32_t>& out) {
    if (count > maxItemsLeft(4))
        throw ReadError(DiagCode::CountTooLarge, position(), std::to_string(count) + " values");
    out.resize(count);
    for (auto& v : out)
        v = readUInt();
}

std::size_t BlockReader::readFloatBlocks(Token, std::size_t, std::span<std::byte>) {
    return 0;
}

void BlockReader::badCount(DiagCode code, std::uint64_t at, std::int32_t count) {
    if (code == DiagCode::NegativeCount)
        throw ReadError(code, at, std::to_string(count));
    throw ReadError(code, at, std::to_string(count) + " items cannot fit in what is left");
}

std::unique_ptr<BlockReader> BlockReader::create(const Container& container,
                                                 Diagnostics& diagnostics) {
    return withBlockReader(
        container, diagnostics, [](auto& reader) -> std::unique_ptr<BlockReader> {
            return std::make_unique<std::remove_reference_t<decltype(reader)>>(std::move(reader));
        });
}

} // namespace msts
