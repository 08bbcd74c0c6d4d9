#include "preview/OverwritePolicy.h"

namespace preview {

OverwriteChoice PresetOverwritePolicy::AskOverwrite(const QString& targetPath) {
    questions_.append(targetPath);
    if (answers_.isEmpty())
        return OverwriteChoice::KeepOnce;
    return answers_.takeFirst();
}

} // namespace preview
