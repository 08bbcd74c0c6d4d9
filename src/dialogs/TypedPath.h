#pragma once

// A folder typed or pasted into the chosen-folder line of the folder dialogs: surrounding
// blanks and quotes go, "~" stands for the home folder, a file:// address (as a file manager
// copies it) becomes its path. Drive letters and backslashes are left for the file layer.

#include <QString>

namespace dialogs {

// The path text to try; empty when nothing usable was typed.
QString TypedFolder(const QString& typed, const QString& home);

} // namespace dialogs
