#pragma once

// Temporaries that a run which died left behind.
//
// A picture is written under a temporary name, `prefix` + the writing process's id + "_" + a
// random part + `suffix`, then renamed to its final name. A run killed in between leaves the
// temporary: nobody will ever rename it, and it must not be taken for a thumbnail. Such a
// file is told from the one a live run is still writing by its process id.

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace platform {

class FileSystem;

// The id of the process that wrote a temporary of that name, or nothing when the name is
// not such a temporary (letter case ignored, as the folder's other names are).
std::optional<qint64> TemporaryOwner(const QString& fileName, const QString& prefix,
                                     const QString& suffix);

// True when a process of that id is running (or exists under another user).
bool ProcessIsAlive(qint64 pid);

// Removes from `folder` the temporaries whose writing process is not alive. The names
// removed, in listing order; a file that cannot be removed is left, silently, for the next
// run.
QStringList RemoveStaleTemporaries(const FileSystem& fs, const QString& folder,
                                   const QString& prefix, const QString& suffix,
                                   const std::function<bool(qint64 pid)>& isAlive = ProcessIsAlive);

} // namespace platform
