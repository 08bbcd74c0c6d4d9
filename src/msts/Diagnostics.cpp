#include "msts/Diagnostics.h"

#include <utility>

namespace msts {

std::string_view codeName(DiagCode code) {
    switch (code) {
    case DiagCode::TruncatedHeader:
        return "TruncatedHeader";
    case DiagCode::UnknownHeader:
        return "UnknownHeader";
    case DiagCode::BadCompressedHeader:
        return "BadCompressedHeader";
    case DiagCode::DeclaredLengthTooLarge:
        return "DeclaredLengthTooLarge";
    case DiagCode::InflateFailed:
        return "InflateFailed";
    case DiagCode::LengthMismatch:
        return "LengthMismatch";
    case DiagCode::UnknownSubHeader:
        return "UnknownSubHeader";
    case DiagCode::WrongFileType:
        return "WrongFileType";
    case DiagCode::StrayLeadingLineBreak:
        return "StrayLeadingLineBreak";
    case DiagCode::UnexpectedEnd:
        return "UnexpectedEnd";
    case DiagCode::UnexpectedToken:
        return "UnexpectedToken";
    case DiagCode::BadNumber:
        return "BadNumber";
    case DiagCode::BadString:
        return "BadString";
    case DiagCode::UnknownBlock:
        return "UnknownBlock";
    case DiagCode::BlockOverrun:
        return "BlockOverrun";
    case DiagCode::NegativeCount:
        return "NegativeCount";
    case DiagCode::CountTooLarge:
        return "CountTooLarge";
    case DiagCode::CountMismatch:
        return "CountMismatch";
    case DiagCode::NestingTooDeep:
        return "NestingTooDeep";
    case DiagCode::TrailingData:
        return "TrailingData";
    case DiagCode::IndexOutOfRange:
        return "IndexOutOfRange";
    case DiagCode::CyclicHierarchy:
        return "CyclicHierarchy";
    case DiagCode::HierarchyTooDeep:
        return "HierarchyTooDeep";
    case DiagCode::HierarchyLengthMismatch:
        return "HierarchyLengthMismatch";
    case DiagCode::BadTriangleList:
        return "BadTriangleList";
    case DiagCode::NoGeometry:
        return "NoGeometry";
    case DiagCode::BadAceSignature:
        return "BadAceSignature";
    case DiagCode::BadDimensions:
        return "BadDimensions";
    case DiagCode::ImageTooLarge:
        return "ImageTooLarge";
    case DiagCode::UnsupportedFormat:
        return "UnsupportedFormat";
    case DiagCode::BadChannels:
        return "BadChannels";
    case DiagCode::TruncatedData:
        return "TruncatedData";
    case DiagCode::BadRowOffsets:
        return "BadRowOffsets";
    case DiagCode::BadMipChain:
        return "BadMipChain";
    }
    return "Unknown";
}

void Diagnostics::warn(DiagCode code, std::uint64_t position, std::string what) {
    add(code, Severity::Warning, position, std::move(what));
}

void Diagnostics::error(DiagCode code, std::uint64_t position, std::string what) {
    add(code, Severity::Error, position, std::move(what));
}

void Diagnostics::append(const Diagnostics& other) {
    for (const auto& d : other.items_)
        add(d.code, d.severity, d.position, d.what);
}

bool Diagnostics::has(DiagCode code) const {
    for (const auto& d : items_)
        if (d.code == code)
            return true;
    return false;
}

void Diagnostics::add(DiagCode code, Severity severity, std::uint64_t position, std::string what) {
    if (severity == Severity::Error)
        ++errorCount_;
    const auto slot = static_cast<std::size_t>(code);
    if (perCode_.size() <= slot)
        perCode_.resize(slot + 1, 0);
    // Errors are always kept: there are few, and each one explains a failure.
    if (severity == Severity::Warning && perCode_[slot] >= maxPerCode)
        return;
    ++perCode_[slot];
    items_.push_back({code, severity, position, std::move(what)});
}

} // namespace msts
