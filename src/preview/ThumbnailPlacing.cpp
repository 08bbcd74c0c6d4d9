#include "preview/ThumbnailPlacing.h"

#include "catalog/Catalog.h"
#include "catalog/VehicleFile.h"
#include "inventory/ThumbnailFile.h"
#include "inventory/ThumbnailInventory.h"
#include "platform/FileSystem.h"

#include <cerrno>

namespace preview {

namespace {

// Carries out a choice that is not Ask on a conflict; `Ask` is never passed here.
PlaceResult resolveConflict(const platform::FileSystem& fs, const QString& source,
                            const QString& target, OverwriteChoice& choice,
                            platform::FileError* error) {
    switch (choice) {
    case OverwriteChoice::OverwriteOnce:
        choice = OverwriteChoice::Ask;
        [[fallthrough]];
    case OverwriteChoice::OverwriteAlways:
        // One rename over the old file: a refusal leaves the old thumbnail whole.
        return fs.replaceFile(source, target, error) ? PlaceResult::Replaced : PlaceResult::Failed;
    case OverwriteChoice::Ask:
    case OverwriteChoice::KeepOnce:
        choice = OverwriteChoice::Ask;
        [[fallthrough]];
    case OverwriteChoice::KeepAlways:
        return fs.removeFile(source, error) ? PlaceResult::Kept : PlaceResult::Failed;
    }
    return PlaceResult::Failed;
}

PlaceResult place(const platform::FileSystem& fs, const QString& picturePath, const QString& target,
                  OverwriteChoice& choice, OverwritePolicy& policy, platform::FileError* error) {
    if (!catalog::FileExists(fs, picturePath))
        return PlaceResult::NoPicture;
    const auto conflict = [&] {
        if (choice == OverwriteChoice::Ask)
            choice = policy.AskOverwrite(target);
        return resolveConflict(fs, picturePath, target, choice, error);
    };
    if (catalog::FileExists(fs, target))
        return conflict();
    // Never replaces a thumbnail that another run placed meanwhile: that is a conflict too.
    platform::FileError renameError;
    if (fs.renameFile(picturePath, target, &renameError))
        return PlaceResult::Placed;
    if (renameError.code == EEXIST && fs.isFile(target))
        return conflict();
    if (error)
        *error = renameError;
    return PlaceResult::Failed;
}

} // namespace

bool IsSuccess(PlaceResult result) {
    return result == PlaceResult::Placed || result == PlaceResult::Replaced ||
           result == PlaceResult::Kept;
}

PlaceOutcome PlaceThumbnail(const platform::FileSystem& fs, const QString& folder,
                            const QString& picturePath, const QString& targetName,
                            OverwriteChoice& choice, OverwritePolicy& policy) {
    PlaceOutcome outcome;
    if (picturePath.isEmpty()) {
        outcome.Result = PlaceResult::NoPicture;
        return outcome;
    }
    outcome.TargetPath = folder + u'\\' + targetName;
    outcome.Result = place(fs, picturePath, outcome.TargetPath, choice, policy, &outcome.Error);
    return outcome;
}

PlaceOutcome CreateThumbnail(const platform::FileSystem& fs, const catalog::CatalogEntry& entry,
                             const std::function<QString(const QString& location)>& takeScreenshot,
                             OverwriteChoice& choice, OverwritePolicy& policy) {
    const QString folder = fs.thumbnailsFolder();
    PlaceOutcome made;
    if (!inventory::FolderExists(fs, folder) && !fs.makeFolder(folder, &made.Error))
        return made;
    const QString written = takeScreenshot(inventory::ThumbnailFile::TemporaryLocation(folder));
    return PlaceThumbnail(fs, folder, written,
                          inventory::ThumbnailFile::NameFor(entry.vehicleName()), choice, policy);
}

} // namespace preview
