#include "dialogs/StartFolder.h"

namespace dialogs {

void ChooseStartFolder(QString& target, QString& programFilesFolder,
                       const StartFolderSources& sources) {
    if (target.isEmpty()) {
        if (programFilesFolder.isEmpty() && sources.readProgramFilesSetting)
            programFilesFolder = sources.readProgramFilesSetting();
        if (programFilesFolder.isEmpty())
            programFilesFolder = sources.ownFolder;
        target = programFilesFolder;
    }
    if (!sources.folderExists || !sources.folderExists(target))
        target = sources.ownFolder;
}

} // namespace dialogs
