#include "preview/ThumbnailPlacing.h"

#include "catalog/Catalog.h"
#include "catalog/VehicleFile.h"
#include "inventory/ThumbnailInventory.h"
#include "platform/FileSystem.h"
#include "preview/OverwritePolicy.h"

namespace preview {

namespace {

const QString prefix = QString::fromUtf16(ScreenshotPrefix);

// Carries out a choice that is not Ask on a conflict; `Ask` is never passed here.
PlaceResult resolveConflict(const platform::FileSystem& fs, const QString& source,
                            const QString& target, OverwriteChoice& choice) {
    switch (choice) {
    case OverwriteChoice::OverwriteOnce:
        choice = OverwriteChoice::Ask;
        [[fallthrough]];
    case OverwriteChoice::OverwriteAlways:
        // One rename over the old file: a refusal leaves the old thumbnail whole.
        return fs.replaceFile(source, target) ? PlaceResult::Replaced : PlaceResult::Failed;
    case OverwriteChoice::Ask:
    case OverwriteChoice::KeepOnce:
        choice = OverwriteChoice::Ask;
        [[fallthrough]];
    case OverwriteChoice::KeepAlways:
        return fs.removeFile(source) ? PlaceResult::Kept : PlaceResult::Failed;
    }
    return PlaceResult::Failed;
}

} // namespace

QString ScreenshotLocationFor(const QString& thumbnailsFolder) {
    return thumbnailsFolder + u'\\' + prefix;
}

bool IsSuccess(PlaceResult result) {
    return result == PlaceResult::Placed || result == PlaceResult::Replaced ||
           result == PlaceResult::Kept;
}

PlaceResult PlaceScreenshot(const platform::FileSystem& fs, const QString& screenshotLocation,
                            const QString& screenshotPath, QString& name, PlacingState state,
                            OverwritePolicy& policy) {
    state.PendingTargetPath.clear();
    if (screenshotPath.isEmpty())
        return PlaceResult::NoPicture;

    const QString folder = screenshotLocation.left(screenshotLocation.size() - prefix.size());
    name = folder + name;
    state.PendingTargetPath = name;
    if (!catalog::FileExists(fs, screenshotPath))
        return PlaceResult::NoPicture;

    if (catalog::FileExists(fs, name)) {
        if (state.Choice == OverwriteChoice::Ask)
            state.Choice = policy.AskOverwrite(name);
        return resolveConflict(fs, screenshotPath, name, state.Choice);
    }
    // Refuses to replace a file that appeared meanwhile rather than losing it.
    return fs.renameFile(screenshotPath, name) ? PlaceResult::Placed : PlaceResult::Failed;
}

CreateOutcome CreateThumbnail(const platform::FileSystem& fs, const catalog::CatalogEntry& entry,
                              const std::function<QString(const QString& location)>& takeScreenshot,
                              PlacingState state, OverwritePolicy& policy) {
    CreateOutcome outcome;
    const QString folder = fs.thumbnailsFolder();
    if (!inventory::FolderExists(fs, folder) && !fs.makeFolder(folder))
        return outcome;

    QString name = entry.thumbnailFileName();
    const QString location = ScreenshotLocationFor(folder);
    const QString written = takeScreenshot(location);
    outcome.Result = PlaceScreenshot(fs, location, written, name, state, policy);
    if (!state.PendingTargetPath.isEmpty())
        outcome.TargetPath = state.PendingTargetPath;
    return outcome;
}

} // namespace preview
