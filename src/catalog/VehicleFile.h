#pragma once

// The vehicle file reader: the shape name and the length of a locomotive or wagon
// definition file (.eng, .wag).
//
// A definition file is a text of bracketed tokens. The reader is no parser of that format:
// it takes the first line that holds the token (letter case ignored, as a plain substring)
// and whose first "(" comes before its first ")", and cleans the text between them with
// StripValue. "WagonShape ( scotsman.s )" gives "scotsman.s"; the Size line's last word
// gives the length ("Size ( 3m 4m 20.5m )" gives 20.5; feet are divided by 3.28).
//
// Text: the simulator usually stores these files as UTF-16 with a byte-order mark (FF FE),
// so a mark selects UTF-16 LE, UTF-16 BE or UTF-8; without one each byte is a Windows-1252
// character. A carriage return, a carriage return and line feed, or a line feed alone ends
// a line.
//
// Every function reads through the file layer, keeps no state and never throws; a file that
// cannot be read gives the empty text and a length of 0.

#include "catalog/FreightAnim.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace platform {
class FileSystem;
}

namespace catalog {

// True when the path names a file that can be opened for reading; one trailing backslash is
// dropped first. A folder is not a file.
bool FileExists(const platform::FileSystem& fs, const QString& path);

// Cleans a bracketed value in place: tabs at the ends (each followed by the spaces after
// it), spaces, one "(" and one ")", spaces again, then one quote at each end.
void StripValue(QString& value);

// Both values of a definition file, from a single reading.
struct VehicleValues {
    bool readable = false; // false: the file could not be read, the values are empty
    QString shape;
    double length = 0.0;
    FreightAnimReading freight; // the FreightAnim entries
};

// The shape file name (empty when none), the length in metres (0 when none) and the freight
// animations of a definition file, read once. The walk uses it.
VehicleValues ReadVehicleFile(const platform::FileSystem& fs, const QString& path);
// The same from a decoded definition text.
VehicleValues ReadVehicleText(const QString& text);

// Which file of a vehicle exists but cannot be read (permissions, a size past the readers'
// limits): such a vehicle has no shape in the catalog, and a user must be told why rather than
// see it vanish. A missing file is not unreadable.
enum class UnreadableFile { None, Definition, Shape };
UnreadableFile FindUnreadableFile(const platform::FileSystem& fs, const QString& definitionPath,
                                  const QString& folderPath);

// The pieces below take text instead of a file, for the readers above and for tests.

// Definition-file bytes to text: UTF-16 LE/BE or UTF-8 after their byte-order mark (dropped),
// else Windows-1252.
QString DecodeDefinitionText(const QByteArray& bytes);

// Each byte a character through Windows-1252 (bytes it leaves undefined keep their value).
QString DecodeWindows1252(const QByteArray& bytes);

// The length that a Size value gives, after StripValue: the numeric prefix of its last word
// (the whole value when it holds no space), divided by 3.28 when that word holds "ft".
double LengthFromSizeValue(const QString& strippedValue);

// The leading number of a text: blanks, tabs and line feeds skipped, optional sign, digits,
// "." and fraction, exponent (E or D). "." whatever the locale; 0 when there is no number or
// it is out of range.
double LeadingNumber(const QString& text);

} // namespace catalog
