#pragma once

// Naming and placing thumbnails in the program's Thumbnails folder.
//
// The canvas writes its picture under a temporary name beginning with "SFCANVAS_" in the
// Thumbnails folder and reports that file; placing then gives it the thumbnail's name
// (the definition file's name with ".bmp" for its extension). When a thumbnail of that name
// is already there, the standing OverwriteChoice decides, asking the policy while it is Ask:
// the old file is replaced by one atomic rename (never a moment without a thumbnail), or the
// new picture is deleted. Files of the folder other than the reported one are never touched,
// so a leftover of an earlier failed creation is neither taken nor removed.

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

class OverwritePolicy;

// Start of the temporary name of a freshly written picture.
inline constexpr char16_t ScreenshotPrefix[] = u"SFCANVAS_";

// The prefix handed to the canvas: the Thumbnails folder, a backslash, "SFCANVAS_".
QString ScreenshotLocationFor(const QString& thumbnailsFolder);

// True for the name of a picture not yet placed ("SFCANVAS_<pid>_<random>.bmp"): never a
// thumbnail.
bool IsScreenshotTemporary(const QString& fileName);

// Removes from the Thumbnails folder the pictures that runs which died before placing them
// left behind; those of a live run (this one included) stay. The names removed.
QStringList RemoveStaleScreenshots(const platform::FileSystem& fs, const QString& thumbnailsFolder);

enum class PlaceResult {
    Placed,    // the picture took the thumbnail's name; there was none before
    Replaced,  // the picture replaced an existing thumbnail
    Kept,      // the existing thumbnail was kept by choice and the picture deleted
    NoPicture, // no picture was reported, or it is not there any more
    Failed,    // a rename or a delete was refused; nothing else was changed
};

// Placed, Replaced and Kept complete the creation; the other two are failures.
bool IsSuccess(PlaceResult result);

// The program-wide values placing reads and writes.
struct PlacingState {
    OverwriteChoice& Choice;
    // Emptied at the start, then the full path of the thumbnail once the picture is found.
    QString& PendingTargetPath;
};

// Gives the picture at `screenshotPath` (as the canvas reported it; empty when it wrote
// nothing) the name `name` in the folder of `screenshotLocation`. On return `name` holds
// the thumbnail's full path when the picture was found. OverwriteOnce and KeepOnce fall
// back to Ask; OverwriteAlways and KeepAlways stand.
// A thumbnail that appears under that name while the picture is being placed (another run
// sharing the folder) is met as a conflict, never replaced unasked. `error`, when given, says
// why a Failed placing failed.
PlaceResult PlaceScreenshot(const platform::FileSystem& fs, const QString& screenshotLocation,
                            const QString& screenshotPath, QString& name, PlacingState state,
                            OverwritePolicy& policy, platform::FileError* error = nullptr);

// One creation as the create command runs it: the Thumbnails folder is made when missing,
// `takeScreenshot` is given the location and answers the path it wrote (empty: none), and the
// picture is placed under the entry's thumbnail name.
struct CreateOutcome {
    PlaceResult Result = PlaceResult::Failed;
    // The thumbnail's full path once known.
    QString TargetPath;
    // Why a Failed creation failed: the folder that could not be made, or the file that
    // could not be renamed or deleted, with the system's reason.
    platform::FileError Error;
};
CreateOutcome CreateThumbnail(const platform::FileSystem& fs, const catalog::CatalogEntry& entry,
                              const std::function<QString(const QString& location)>& takeScreenshot,
                              PlacingState state, OverwritePolicy& policy);

} // namespace preview
