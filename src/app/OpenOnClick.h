#pragma once

// Makes a label open a folder in the desktop's file manager when clicked (through
// ShellOpen); the folder is asked for at each click and created when missing.

#include <QString>

#include <functional>

class QLabel;

namespace platform {
class FileSystem;
}

namespace app {

void OpenFolderOnClick(QLabel* label, std::function<QString()> folder,
                       const platform::FileSystem& files);

} // namespace app
