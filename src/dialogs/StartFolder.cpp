#include "dialogs/StartFolder.h"

namespace dialogs {

void ChooseStartFolder(QString& target, QString& programFilesFolder,
                       const StartFolderSources& sources) {
    const QString& fallback = sources.homeFolder.isEmpty() ? sources.ownFolder : sources.homeFolder;
    if (target.isEmpty()) {
        if (programFilesFolder.isEmpty() && sources.readProgramFilesSetting)
            programFilesFolder = sources.readProgramFilesSetting();
        if (programFilesFolder.isEmpty())
            programFilesFolder = fallback;
        target = programFilesFolder;
    }
    if (!sources.folderExists || !sources.folderExists(target))
        target = fallback;
}

} // namespace dialogs
