#pragma once

// What the vehicle list holds, apart from any widget.
//
// One item per catalog entry that has a shape, in catalog order. An item carries its entry's
// index (its key is CatalogKey of that index, so keys stay unique and keep gaps where entries
// without a shape were left out), the definition file's name as its text, and its look: a
// text colour and bold. Items start blue and bold; colouring by thumbnail status changes the
// colour of the items some source already serves.

#include "catalog/Catalog.h"
#include "inventory/ThumbnailInventory.h"

#include <QList>
#include <QString>

namespace app {

struct VehicleListItem {
    qsizetype catalogIndex = -1;
    QString text;
    inventory::Rgb foreColor{0, 0, 255};
    bool bold = true;

    // CatalogKey(catalogIndex): "17_KEY".
    QString key() const { return catalog::CatalogKey(catalogIndex); }
    // The text less its last four characters (the extension): the name the inventory knows.
    QString vehicleName() const;
};

// The single column of the list.
inline constexpr char16_t VehicleColumnHeader[] = u"Fichiers du mat\u00e9riel";
// The column is narrower from 12 items on, when the vertical scroll bar takes its room.
inline constexpr int WideVehicleColumn = 197;
inline constexpr int NarrowVehicleColumn = 180;
inline constexpr qsizetype NarrowVehicleColumnFrom = 12;

int VehicleColumnWidth(qsizetype itemCount);

// Items for every entry with a non-empty Shape, in catalog order, blue and bold.
QList<VehicleListItem> VehicleItemsFromCatalog(const catalog::Catalog& catalog);

// Gives every item the colour of its status; a ToMake item keeps its look. Returns the
// positions of the items whose look changed.
QList<qsizetype> ColourVehicleItems(QList<VehicleListItem>& items,
                                    const inventory::ThumbnailInventory& inventory);

// Positions of the items that still show the ToMake colour: the vehicles whose thumbnail is
// neither found anywhere nor made during this run.
QList<qsizetype> RowsStillToMake(const QList<VehicleListItem>& items);

// The status line for a list of itemCount items with the given item selected (null: none):
// empty for an empty list, else "Total n fichiers" (or "Total 1 fichier") followed by
// "  -  Sélectionné ..\<Folder>\<FileName>" with native separators when an item is selected
// and its catalog index leads to a catalog entry. With several items selected (selectedCount
// above 1), "  -  n fichiers sélectionnés." instead: naming one would hide the others.
QString VehicleStatusLine(qsizetype itemCount, const VehicleListItem* selected,
                          const catalog::Catalog& catalog, qsizetype selectedCount = 1);

} // namespace app
