#pragma once

// The main window's note on where thumbnails are made: message 154 while they go to the
// program's own Thumbnails folder, else the folder they really go to.

#include <QString>

namespace platform {
class FileSystem;
}

namespace app {

QString ThumbnailsFolderNote(const platform::FileSystem& fs);

} // namespace app
