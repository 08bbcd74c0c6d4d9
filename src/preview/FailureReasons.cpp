#include "preview/FailureReasons.h"

#include "inventory/ThumbnailFile.h"
#include "platform/FileSystem.h"
#include "preview/BatchCreation.h"
#include "shared/Messages.h"

namespace preview {

namespace {

using app::LoadMessage;
using app::MessageId;

// |1 is the file or folder, |2 the system's reason; the path is filled last, so that no
// marker is looked for in the user's names.
QString systemReason(MessageId id, const platform::FileError& error) {
    return LoadMessage(id,
                       {"|2", error.reason(), "|1", platform::FileSystem::displayPath(error.path)});
}

} // namespace

platform::FileError ConcerningFolder(platform::FileError error) {
    const qsizetype cut = error.path.lastIndexOf(u'/');
    if (cut > 0 && inventory::ThumbnailFile::IsTemporaryName(QStringView(error.path).mid(cut + 1)))
        error.path.truncate(cut);
    return error;
}

QString PlacingFailureReason(PlaceResult result, const platform::FileError& writeError,
                             const platform::FileError& placeError, const QString& targetPath) {
    if (IsSuccess(result))
        return {};
    if (writeError.failed())
        return systemReason(MessageId::WhyNotWritten, ConcerningFolder(writeError));
    if (placeError.failed())
        return systemReason(
            targetPath.isEmpty() ? MessageId::WhyNotWritten : MessageId::WhyNotPlaced, placeError);
    return LoadMessage(MessageId::WhyNoPicture);
}

QString FailureReason(const BatchItemResult& result) {
    if (!result.failed())
        return {};
    if (result.LengthRefused)
        return LoadMessage(MessageId::WhyLengthRefused, {"|1", MaximumVehicleLength});
    switch (result.Shape) {
    case ShapeLoadStatus::NoFile:
    case ShapeLoadStatus::NotFound:
        return LoadMessage(MessageId::WhyShapeNotFound);
    case ShapeLoadStatus::Unreadable:
        return LoadMessage(MessageId::WhyShapeUnreadable);
    case ShapeLoadStatus::Invalid:
        return LoadMessage(MessageId::WhyShapeInvalid);
    case ShapeLoadStatus::OutsideFolder:
        return LoadMessage(MessageId::WhyShapeOutside);
    case ShapeLoadStatus::Loaded:
        break;
    }
    if (result.NothingDrawn)
        return LoadMessage(MessageId::WhyNothingDrawn);
    return PlacingFailureReason(result.Result, result.WriteError, result.PlaceError,
                                result.TargetPath);
}

QString FailureLine(const QString& vehicleName, const QString& reason) {
    if (reason.isEmpty())
        return vehicleName;
    return LoadMessage(MessageId::FailureLine, {"|2", reason, "|1", vehicleName});
}

} // namespace preview
