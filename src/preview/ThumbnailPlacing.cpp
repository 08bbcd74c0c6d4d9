#include "preview/ThumbnailPlacing.h"

#include "catalog/Catalog.h"
#include "catalog/VehicleFile.h"
#include "inventory/ThumbnailInventory.h"
#include "platform/FileSystem.h"
#include "platform/StaleTemporaries.h"
#include "preview/OverwritePolicy.h"

#include <cerrno>

namespace preview {

namespace {

const QString prefix = QString::fromUtf16(ScreenshotPrefix);
const QString pictureSuffix = QStringLiteral(".bmp");

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

} // namespace

QString ScreenshotLocationFor(const QString& thumbnailsFolder) {
    return thumbnailsFolder + u'\\' + prefix;
}

bool IsScreenshotTemporary(const QString& fileName) {
    return platform::TemporaryOwner(fileName, prefix, pictureSuffix).has_value();
}

QStringList RemoveStaleScreenshots(const platform::FileSystem& fs,
                                   const QString& thumbnailsFolder) {
    return platform::RemoveStaleTemporaries(fs, thumbnailsFolder, prefix, pictureSuffix);
}

bool IsSuccess(PlaceResult result) {
    return result == PlaceResult::Placed || result == PlaceResult::Replaced ||
           result == PlaceResult::Kept;
}

PlaceResult PlaceScreenshot(const platform::FileSystem& fs, const QString& screenshotLocation,
                            const QString& screenshotPath, QString& name, PlacingState state,
                            OverwritePolicy& policy, platform::FileError* error) {
    state.PendingTargetPath.clear();
    if (screenshotPath.isEmpty())
        return PlaceResult::NoPicture;

    const QString folder = screenshotLocation.left(screenshotLocation.size() - prefix.size());
    name = folder + name;
    state.PendingTargetPath = name;
    if (!catalog::FileExists(fs, screenshotPath))
        return PlaceResult::NoPicture;

    const auto conflict = [&] {
        if (state.Choice == OverwriteChoice::Ask)
            state.Choice = policy.AskOverwrite(name);
        return resolveConflict(fs, screenshotPath, name, state.Choice, error);
    };
    if (catalog::FileExists(fs, name))
        return conflict();
    // Never replaces a thumbnail that another run placed meanwhile: that is a conflict too.
    platform::FileError renameError;
    if (fs.renameFile(screenshotPath, name, &renameError))
        return PlaceResult::Placed;
    if (renameError.code == EEXIST && fs.isFile(name))
        return conflict();
    if (error)
        *error = renameError;
    return PlaceResult::Failed;
}

CreateOutcome CreateThumbnail(const platform::FileSystem& fs, const catalog::CatalogEntry& entry,
                              const std::function<QString(const QString& location)>& takeScreenshot,
                              PlacingState state, OverwritePolicy& policy) {
    CreateOutcome outcome;
    const QString folder = fs.thumbnailsFolder();
    if (!inventory::FolderExists(fs, folder) && !fs.makeFolder(folder, &outcome.Error))
        return outcome;

    QString name = entry.thumbnailFileName();
    const QString location = ScreenshotLocationFor(folder);
    const QString written = takeScreenshot(location);
    outcome.Result = PlaceScreenshot(fs, location, written, name, state, policy, &outcome.Error);
    if (!state.PendingTargetPath.isEmpty())
        outcome.TargetPath = state.PendingTargetPath;
    return outcome;
}

} // namespace preview
