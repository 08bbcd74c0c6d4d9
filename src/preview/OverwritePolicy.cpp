#include "preview/OverwritePolicy.h"

namespace preview {

app::OverwriteChoice PresetOverwritePolicy::AskOverwrite(const QString& targetPath) {
    questions_.append(targetPath);
    if (answers_.isEmpty())
        return app::OverwriteChoice::KeepOnce;
    return answers_.takeFirst();
}

} // namespace preview
