#include "inventory/ThumbnailInventory.h"

#include "catalog/VehicleFile.h"
#include "inventory/ThumbnailFile.h"
#include "platform/FileSystem.h"

#include <QSet>

#include <optional>

namespace inventory {

namespace {

using platform::FileSystem;

const QString thumbnailsFolderName = QStringLiteral("Thumbnails");

// Bitmaps.ini is never more than a list of names; a larger file is not one.
constexpr qint64 maxBitmapsIniBytes = 16 * 1024 * 1024;

ThumbnailEntry whole(const char* name) {
    return {QString::fromLatin1(name), false};
}
ThumbnailEntry prefix(const char* name) {
    return {QString::fromLatin1(name), true};
}

// Lines of Bitmaps.ini: CR or CR LF ends a line, a lone LF stays in it; empty lines dropped.
QStringList bitmapsIniLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(u'\r', start);
        if (end < 0)
            end = text.size();
        if (end > start)
            lines.append(text.mid(start, end - start));
        start = end + 1;
        if (start < text.size() && text[start] == u'\n' && end < text.size())
            ++start;
    }
    return lines;
}

// Vehicle names of the thumbnails in a folder. Pictures not yet placed are no thumbnails.
QStringList bitmapNames(const FileSystem& fs, const QString& folder) {
    QStringList names;
    if (!FolderExists(fs, folder))
        return names;
    for (const QString& file :
         fs.list(folder, ThumbnailFile::Pattern(), FileSystem::EntryKind::Files)) {
        if (ThumbnailFile::IsTemporaryName(file))
            continue;
        const QString name = ThumbnailFile::VehicleNameOf(file);
        if (!name.isEmpty())
            names.append(name);
    }
    return names;
}

} // namespace

QString ThumbnailStatusName(ThumbnailStatus status) {
    switch (status) {
    case ThumbnailStatus::ToMake:
        return QStringLiteral("ToMake");
    case ThumbnailStatus::CreatedHere:
        return QStringLiteral("CreatedHere");
    case ThumbnailStatus::InRamettaFolder:
        return QStringLiteral("InRamettaFolder");
    case ThumbnailStatus::BuiltIntoRametta:
        return QStringLiteral("BuiltIntoRametta");
    }
    return {};
}

Rgb ThumbnailStatusColour(ThumbnailStatus status) {
    switch (status) {
    case ThumbnailStatus::ToMake:
        return {0, 0, 255};
    case ThumbnailStatus::CreatedHere:
        return {255, 0, 255};
    case ThumbnailStatus::InRamettaFolder:
        return {255, 0, 0};
    case ThumbnailStatus::BuiltIntoRametta:
        return {0, 128, 0};
    }
    return {0, 0, 255};
}

const std::array<ThumbnailEntry, BuiltInThumbnailCount>& BuiltInThumbnails() {
    static const std::array<ThumbnailEntry, BuiltInThumbnailCount> table = {
        whole("2000"),
        whole("2000ACARRIAGE"),
        whole("2000BCARRIAGE"),
        whole("2000REARENG"),
        whole("30000"),
        whole("30000CAR"),
        whole("310"),
        whole("310CAR1"),
        whole("310CAR2"),
        whole("310GRCAR1"),
        whole("310TENDER"),
        whole("310WDCAR1"),
        whole("380"),
        whole("380CAR1"),
        whole("380TENDER"),
        whole("ACELA"),
        whole("ACELABISTROCAR"),
        whole("ACELACAR"),
        whole("ACELAENDCAR"),
        whole("ACELAFIRSTCLASS"),
        whole("ACELAHHL"),
        whole("ACELAHHLBC"),
        whole("ACELAHHLCAFE"),
        whole("ACELAHHLCAR"),
        whole("ACELAHHLCO"),
        whole("DASH9"),
        whole("GENESIS"),
        whole("GP38"),
        whole("GWRFIRST"),
        whole("GWRLUGGCAR"),
        whole("GWRMAILCAR"),
        whole("GWRREST"),
        whole("GWRTHIRD"),
        whole("KIHA140"),
        whole("KIHA31"),
        whole("KIHA31A"),
        whole("METROCARRIAGE"),
        whole("METROLINER"),
        prefix("OE380CARDIN"),
        prefix("OEBARCAR"),
        prefix("OESERVCAR"),
        prefix("OESLEEPCAR"),
        whole("PENDENNIS"),
        whole("PENDENNISTENDER"),
        whole("ROYALSCOTSCLASS"),
        whole("ROYALSCOTTENDER"),
        whole("SCOTSCAR1"),
        whole("SCOTSCAR3"),
        whole("SCOTSFIRSTCLASS"),
        whole("SCOTSMAILCAR"),
        whole("SCOTSMAN"),
        whole("SCOTSTENDER"),
        whole("SCOTSTHIRDCLASS"),
        whole("SD40"),
        whole("SERIES7000"),
        whole("SERIES7000CARA"),
        whole("SERIES7000CARB"),
        whole("SERIES7000CARC"),
        whole("SERIES7000CARD"),
        whole("SERIES7000CARG"),
        whole("SERIES7000CARH"),
        whole("SERIES7000CARI"),
        whole("SERIES7000ENGR"),
        whole("SUPERLINER"),
        whole("US2BNSFCAR"),
        whole("US2CHEMICAR"),
        whole("US2DBLEHGTFRGHTBL"),
        whole("US2DBLEHGTFRGHTRD"),
        whole("US2EMPLOGGERCAR"),
        whole("US2FCARRE2"),
        whole("US2FCARRF2"),
        whole("US2FCARYE2"),
        whole("US2FCARYF2"),
        whole("US2FREIGHT6"),
        whole("US2FREIGHT7"),
        whole("US2FREIGHT8"),
        whole("US2FREIGHTCAR1"),
        whole("US2FREIGHTCAR3"),
        whole("US2FREIGHTCAR4"),
        whole("US2FREIGHTCAR5"),
        whole("US2FREIGHTCARYEL1"),
        whole("US2FULLLOGGERCAR"),
        whole("US2GRAINCAR"),
        whole("US2HOPPERCAR"),
        whole("US2WOODCHIPPER"),
        whole("US2FREIGHTCEMENT"),
        whole("US2FREIGHTREFRIGE"),
        whole("US2CABOOSE"),
        whole("UKBRAKE"),
        whole("UKFIRST"),
        whole("UKRESTAURANT"),
        whole("UKSECOND"),
        whole("CLASS50"),
        whole("SD402"),
    };
    return table;
}

ThumbnailInventory::ThumbnailInventory() {
    index();
}

ThumbnailInventory::ThumbnailInventory(QStringList bitmapsIniLines,
                                       QList<ThumbnailEntry> ramettaThumbnails,
                                       QStringList ownThumbnails)
    : bitmapsIniLines_(std::move(bitmapsIniLines)),
      ramettaThumbnails_(std::move(ramettaThumbnails)), ownThumbnails_(std::move(ownThumbnails)) {
    bitmapsIniLines_.removeAll(QString());
    ownThumbnails_.removeAll(QString());
    ramettaThumbnails_.removeIf([](const ThumbnailEntry& e) { return e.Name.isEmpty(); });
    index();
}

void ThumbnailInventory::Keys::add(const QString& name, bool prefix) {
    if (prefix)
        prefixes.append(name.toUpper());
    else
        whole.insert(name.toUpper());
}

bool ThumbnailInventory::Keys::matches(const QString& upperName) const {
    if (whole.contains(upperName))
        return true;
    for (const QString& prefix : prefixes) {
        if (upperName.startsWith(prefix))
            return true;
    }
    return false;
}

void ThumbnailInventory::index() {
    ownKeys_ = {};
    for (const QString& name : ownThumbnails_)
        ownKeys_.add(name, false);
    ramettaKeys_ = {};
    for (const ThumbnailEntry& e : ramettaThumbnails_)
        ramettaKeys_.add(e.Name, e.PrefixMatch);
    builtInKeys_ = {};
    for (const ThumbnailEntry& e : BuiltInThumbnails())
        builtInKeys_.add(e.Name, e.PrefixMatch);
}

QStringList ReadBitmapsIniLines(const QByteArray& bytes) {
    return bitmapsIniLines(catalog::DecodeWindows1252(bytes));
}

QList<ThumbnailEntry> RamettaEntries(const QStringList& bitmapNames,
                                     const QStringList& bitmapsIniLines) {
    // Each line lower-cased once: matching stays linear in the file and the folder.
    QSet<QString> prefixLines;
    prefixLines.reserve(bitmapsIniLines.size());
    for (const QString& line : bitmapsIniLines)
        prefixLines.insert(line.toLower());
    QList<ThumbnailEntry> entries;
    entries.reserve(bitmapNames.size());
    for (const QString& name : bitmapNames)
        entries.append({name, prefixLines.contains(name.toLower())});
    return entries;
}

ThumbnailInventory LoadThumbnailInventory(const FileSystem& fs, const QString& ramettaPath) {
    const QString ramettaFolder = ramettaPath + u'\\' + thumbnailsFolderName;

    // Bitmaps.ini first: it decides how the Rametta bitmaps match. An unknown Rametta folder
    // must not turn into the root's Thumbnails folder.
    QStringList iniLines;
    const QString iniPath = ramettaFolder + QStringLiteral("\\Bitmaps.ini");
    const bool haveRametta = !ramettaPath.trimmed().isEmpty();
    if (haveRametta && catalog::FileExists(fs, iniPath)) {
        if (const std::optional<QByteArray> bytes = fs.readFile(iniPath, maxBitmapsIniBytes))
            iniLines = ReadBitmapsIniLines(*bytes);
    }

    QList<ThumbnailEntry> rametta =
        RamettaEntries(haveRametta ? bitmapNames(fs, ramettaFolder) : QStringList(), iniLines);

    // Thumbnails made while the folder beside the program could be written are still ours
    // once new ones go to the per-user folder, and the other way round.
    QStringList own;
    for (const QString& folder : fs.thumbnailsFolders())
        own += bitmapNames(fs, folder);
    return ThumbnailInventory(std::move(iniLines), std::move(rametta), std::move(own));
}

ThumbnailStatus ClassifyVehicle(const ThumbnailInventory& inventory, const QString& vehicleName) {
    const QString upper = vehicleName.toUpper();
    // Later sources override earlier ones, so the most authoritative is asked first.
    if (inventory.builtInKeys_.matches(upper))
        return ThumbnailStatus::BuiltIntoRametta;
    if (inventory.ramettaKeys_.matches(upper))
        return ThumbnailStatus::InRamettaFolder;
    if (inventory.ownKeys_.matches(upper))
        return ThumbnailStatus::CreatedHere;
    return ThumbnailStatus::ToMake;
}

bool FolderExists(const FileSystem& fs, const QString& path) {
    QString copy = path;
    AddTrailingBackslash(copy);
    return fs.isFolder(copy);
}

void AddTrailingBackslash(QString& path) {
    // Only spaces are ignored here, as blanks; a tab is part of the name.
    qsizetype n = path.size();
    while (n > 0 && path[n - 1] == u' ')
        --n;
    if (n > 0 && path[n - 1] == u'\\')
        return;
    path.truncate(n);
    path.append(u'\\');
}

} // namespace inventory
