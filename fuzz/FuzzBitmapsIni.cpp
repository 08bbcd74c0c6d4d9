// Fuzz target: Bitmaps.ini, the consist editor's list of bitmaps matched by prefix: its
// lines, their matching against the bitmaps of its folder, and the classification of
// vehicles against the inventory they give.

#include "inventory/ThumbnailInventory.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList lines = inventory::ReadBitmapsIniLines(bytes);
    // The folder holds a bitmap for every other line, some in lower case, and one more. (Not
    // in upper case: "ß" turns into "SS", which is another name.)
    QStringList bitmaps{QStringLiteral("extra")};
    for (qsizetype i = 0; i < lines.size(); i += 2)
        bitmaps.append(i % 4 == 0 ? lines[i] : lines[i].toLower());
    const QList<inventory::ThumbnailEntry> entries = inventory::RamettaEntries(bitmaps, lines);
    if (entries.size() != bitmaps.size())
        __builtin_trap();
    for (qsizetype i = 1; i < entries.size(); ++i)
        if (!entries[i].PrefixMatch)
            __builtin_trap(); // every bitmap but the first is named by a line
    const inventory::ThumbnailInventory inventory(lines, entries, {});
    for (qsizetype i = 0; i < lines.size() && i < 64; ++i)
        (void)inventory::ClassifyVehicle(inventory, lines[i] + QStringLiteral("_X"));
    return 0;
}
