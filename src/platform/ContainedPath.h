#pragma once

// Whether a path text built from a name read out of a file stays inside a folder.
//
// Definition files and shapes name other files (WagonShape, FreightAnim, texture names)
// relative to their own folder, and such a name may hold "..". The file layer resolves ".."
// textually, so comparing texts after resolving it the same way tells, without touching the
// disk, whether the file that would be opened lies inside the simulator's folder. Links that
// the user put inside that folder are followed as any other entry.

#include <QString>

namespace platform {

// True when `path`, with its ".." components resolved, is `root` or lies below it. Both are
// path texts as the file layer takes them (either separator, a drive letter or a native
// root); components compare without regard to case, as the file layer matches them. An
// empty root contains nothing.
bool StaysInside(const QString& root, const QString& path);

} // namespace platform
