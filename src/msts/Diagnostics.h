#pragma once

// Problems found while reading simulator files, as data.
//
// Readers never produce user-visible text: each problem is a code, a severity and the byte
// position where it was found, plus a short English detail for logs and tests (a token name,
// a count). The program maps codes to the messages of its own table.
//
// Positions are byte offsets into the stream the reader was looking at: the file itself for
// uncompressed files, the inflated stream for compressed ones (see Container::inflated).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace msts {

enum class Severity : std::uint8_t {
    Warning, // something was skipped, dropped or repaired; the result is usable
    Error,   // the file could not be read; the result is empty
};

enum class DiagCode : std::uint16_t {
    // Container
    TruncatedHeader,
    UnknownHeader,
    BadCompressedHeader,
    DeclaredLengthTooLarge,
    InflateFailed,
    LengthMismatch,
    UnknownSubHeader,
    WrongFileType,
    StrayLeadingLineBreak,
    // Block reader
    UnexpectedEnd,
    UnexpectedToken,
    BadNumber,
    BadString,
    UnknownBlock,
    BlockOverrun,
    NegativeCount,
    CountTooLarge,
    CountMismatch,
    NestingTooDeep,
    TrailingData,
    // Shape validation
    IndexOutOfRange,
    CyclicHierarchy,
    HierarchyTooDeep,
    HierarchyLengthMismatch,
    BadTriangleList,
    NoGeometry,
    // Textures
    BadAceSignature,
    BadDimensions,
    ImageTooLarge,
    UnsupportedFormat,
    BadChannels,
    TruncatedData,
    BadRowOffsets,
    BadMipChain,
};

// Stable English name of a code ("TruncatedHeader"), for logs and test output.
std::string_view codeName(DiagCode code);

struct Diagnostic {
    DiagCode code;
    Severity severity;
    std::uint64_t position; // byte offset, see above
    std::string what;       // short English detail, may be empty
};

class Diagnostics {
public:
    void warn(DiagCode code, std::uint64_t position, std::string what = {});
    void error(DiagCode code, std::uint64_t position, std::string what = {});
    void append(const Diagnostics& other);

    bool hasErrors() const { return errorCount_ > 0; }
    bool has(DiagCode code) const;
    bool empty() const { return items_.empty(); }
    const std::vector<Diagnostic>& items() const { return items_; }

    // Repeated warnings of one code are counted but kept only up to this many, so that a
    // file with a million bad indices does not produce a million records.
    static constexpr std::size_t maxPerCode = 32;

private:
    void add(DiagCode code, Severity severity, std::uint64_t position, std::string what);

    std::vector<Diagnostic> items_;
    std::vector<std::uint32_t> perCode_;
    std::size_t errorCount_ = 0;
};

} // namespace msts
