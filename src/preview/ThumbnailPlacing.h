#pragma once

// Placing thumbnails in the program's Thumbnails folder.
//
// A picture is written under a temporary name in the Thumbnails folder (see
// inventory::ThumbnailFile); placing then gives it the thumbnail's name. When a thumbnail of
// that name is already there, the standing OverwriteChoice decides, asking the policy while it
// is Ask: the old file is replaced by one atomic rename (never a moment without a thumbnail), or
// the new picture is deleted. Files of the folder other than the given picture are never
// touched, so a leftover of an earlier failed creation is neither taken nor removed.

#include "platform/FileError.h"
#include "preview/OverwritePolicy.h"

#include <QString>

#include <functional>

namespace catalog {
struct CatalogEntry;
}
namespace platform {
class FileSystem;
}

namespace preview {

enum class PlaceResult {
    Placed,    // the picture took the thumbnail's name; there was none before
    Replaced,  // the picture replaced an existing thumbnail
    Kept,      // the existing thumbnail was kept by choice and the picture deleted
    NoPicture, // no picture was given, or it is not there any more
    Failed,    // a rename or a delete was refused; nothing else was changed
};

// Placed, Replaced and Kept complete the creation; the other two are failures.
bool IsSuccess(PlaceResult result);

// What placing did, and where.
struct PlaceOutcome {
    PlaceResult Result = PlaceResult::Failed;
    // The thumbnail's full path, once a picture was given.
    QString TargetPath;
    // Why a Failed placing failed: the folder that could not be made, or the file that could
    // not be renamed or deleted, with the system's reason.
    platform::FileError Error;
};

// Gives the picture at `picturePath` (empty when none was written) the name `targetName` in
// `folder`. `choice` is the standing answer: OverwriteOnce and KeepOnce fall back to Ask once
// used; OverwriteAlways and KeepAlways stand. A thumbnail that appears under that name while
// the picture is being placed (another run sharing the folder) is met as a conflict, never
// replaced unasked.
PlaceOutcome PlaceThumbnail(const platform::FileSystem& fs, const QString& folder,
                            const QString& picturePath, const QString& targetName,
                            OverwriteChoice& choice, OverwritePolicy& policy);

// One creation as the create command runs it: the Thumbnails folder is made when missing,
// `takeScreenshot` is given where to write (ThumbnailFile::TemporaryLocation of that folder)
// and answers the path it wrote (empty: none), and the picture is placed under the entry's
// thumbnail name.
PlaceOutcome CreateThumbnail(const platform::FileSystem& fs, const catalog::CatalogEntry& entry,
                             const std::function<QString(const QString& location)>& takeScreenshot,
                             OverwriteChoice& choice, OverwritePolicy& policy);

} // namespace preview
