#pragma once

// The question asked when a thumbnail of the same name is already there. Thumbnail placing
// asks it through this interface only: the window answers with its confirmation dialog,
// pictelle-cli on the terminal, and tests with preset answers (tests/support).

#include <QList>
#include <QString>

#include <cstdint>

namespace preview {

// The standing answer for a thumbnail that already exists; never stored between runs.
enum class OverwriteChoice : std::int16_t {
    Ask = 0,
    OverwriteOnce = 1,
    KeepOnce = 2,
    OverwriteAlways = 3,
    KeepAlways = 4,
};

class OverwritePolicy {
public:
    virtual ~OverwritePolicy() = default;
    // Asked only while the standing choice is Ask. `targetPath` is the full path of the
    // existing thumbnail. The answer is one of the four non-Ask choices; Ask is taken as
    // "keep it this once", which loses nothing.
    virtual OverwriteChoice AskOverwrite(const QString& targetPath) = 0;
};

} // namespace preview
