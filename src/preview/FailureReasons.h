#pragma once

// Why a vehicle got no thumbnail, in the words of the window's failure list: the shape that
// could not be had, or the folder (or file) that refused the picture with the system's
// reason. A list of names alone leaves the user guessing whether to fix a vehicle or a folder.

#include "platform/FileError.h"
#include "preview/ThumbnailPlacing.h"

#include <QString>

namespace preview {

struct BatchItemResult;

// A failure to write a new picture, told of its folder: the temporary name means nothing to
// a user. Other errors are returned as they are.
platform::FileError ConcerningFolder(platform::FileError error);

// Why a picture that was drawn got no thumbnail: the folder refused it (not made, not
// written), the placing under `targetPath` was refused, or no picture was written. Empty
// for a result that is no failure. `targetPath` is empty when placing never began.
QString PlacingFailureReason(PlaceResult result, const platform::FileError& writeError,
                             const platform::FileError& placeError, const QString& targetPath);

// Why a vehicle of a run failed: its shape, an empty picture, or PlacingFailureReason.
// Empty for a vehicle that succeeded or was not reached.
QString FailureReason(const BatchItemResult& result);

// "<vehicle> : <reason>", or the name alone when no reason is known.
QString FailureLine(const QString& vehicleName, const QString& reason);

} // namespace preview
