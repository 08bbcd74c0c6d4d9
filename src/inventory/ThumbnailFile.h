#pragma once

// The thumbnail file, in one place: what it is called, how a folder's thumbnails are found, how
// a picture becomes its bytes, and the temporary name a picture is written under before it is
// placed. A thumbnail is a 24-bit Windows bitmap named after its vehicle with the ".bmp"
// extension. Naming, the inventory, placing, the canvas and pictelle-cli all ask this type, so
// that changing the format is one change here: a name that differed anywhere would make every
// run remake every thumbnail.

#include "platform/FileError.h"
#include "render/Image.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace platform {
class FileSystem;
}

namespace inventory {

class ThumbnailFile {
public:
    // The thumbnail's file name for a vehicle name: "CR_D400" gives "CR_D400.bmp".
    static QString NameFor(const QString& vehicleName);
    // The vehicle name of a thumbnail file name; empty when the name is no thumbnail's.
    static QString VehicleNameOf(const QString& fileName);
    // The listing pattern of every thumbnail in a folder.
    static QString Pattern();

    // The start of the name a freshly drawn picture is written under, in the folder where it
    // is then placed.
    static QString TemporaryPrefix();
    // Whether a file name is such a temporary name.
    static bool IsTemporaryName(QStringView fileName);
    // Removes from `folder` the temporaries that runs which died before placing them left
    // behind; those of a live run (this one included) stay. The names removed.
    static QStringList RemoveStaleTemporaries(const platform::FileSystem& fs,
                                              const QString& folder);
    // Where pictures are written for `folder`: the folder, a backslash and the temporary
    // prefix, the form the canvas's ScreenshotLocation takes.
    static QString TemporaryLocation(const QString& folder);

    // The file's bytes for a picture; empty for an empty picture.
    static QByteArray Encode(const render::RgbImage& picture);
    // Writes a picture at `location` (a folder text and the start of a name) + a unique suffix
    // + the extension. The name is created exclusively, with this process's id and a random
    // part in the suffix, so that no other writer can take or replace it; the file only ever
    // gets its thumbnail name by a rename. Returns the path text written, or an empty text when
    // nothing was written (empty picture, missing folder, disk error), with the system's reason
    // in `error` when given.
    static QString WriteTemporary(const platform::FileSystem& fs, const QString& location,
                                  const render::RgbImage& picture,
                                  platform::FileError* error = nullptr);
};

} // namespace inventory
