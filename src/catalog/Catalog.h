#pragma once

// The catalog: one entry per locomotive (.eng) and wagon (.wag) definition file found under
// the simulator's trainset folder, in the order the walk found them.
//
// The table is built once per run by the trainset walk (catalog/TrainsetWalk.h) and read in
// place afterwards. Before the walk it does not exist (CatalogCount() is 0); the walk starts
// it as one empty entry and appends only when the last entry already names a file, so after
// the walk either every entry has a FileName or the table holds that single empty entry.
//
// Indexes are qsizetype: a trainset with more than 32,767 definition files is held whole.
// The list view names an entry's item by its key, CatalogKey(index) ("17_KEY"), and keeps
// the index itself alongside.

#include "catalog/FreightAnim.h"

#include <QList>
#include <QString>

namespace catalog {

struct CatalogEntry {
    // The simulator's trainset folder, ending with a backslash; the same in every entry.
    QString TrainsetPath;
    // Folder inside the trainset folder that holds the file; empty for a file lying
    // directly in the trainset folder.
    QString Folder;
    // The definition file's name, extension included, as the listing spelt it.
    QString FileName;
    // Shape file named by the WagonShape line, relative to the entry's folder; empty when
    // there is none or when that file could not be opened at scan time.
    QString Shape;
    // The WagonShape name when it leads out of the simulator's folder ("..\..\..\etc\x"):
    // such a file is never opened, and Shape is left empty.
    QString ShapeOutside;
    // Length in metres from the Size line; 0 when unknown.
    double Length = 0.0;
    // Shapes drawn with the vehicle's own (FreightAnim entries), and the entries left out.
    QList<FreightAnim> FreightAnims;
    QList<FreightAnimProblem> FreightAnimProblems;

    // TrainsetPath + Folder + "\" + FileName (a doubled backslash when Folder is empty).
    QString definitionPath() const;
    // TrainsetPath + Folder + "\" + Shape.
    QString shapePath() const;
    // The simulator's folder, as a path text (TrainsetPath + "..\.."): every file a
    // definition or shape names must lie inside it.
    QString simulatorFolder() const;
    // TrainsetPath + Folder + "\" + the freight shape: looked up beside the vehicle's shape.
    QString freightShapePath(const FreightAnim& anim) const;
    // "..\" + Folder + "\" + FileName, the form the status line shows.
    QString relativeDisplayPath() const;
    // FileName less its last four characters (the extension), as thumbnails and the
    // inventory name a vehicle.
    QString vehicleName() const;
};

// The entry of a definition file met on its own, outside any trainset walk: its folder stands
// for the trainset folder, so that its shapes are looked up beside it as the walk's are. A bare
// name lies in the current folder.
CatalogEntry EntryOfDefinitionFile(const QString& path);

class Catalog {
public:
    // Drops every entry: the table no longer exists.
    void clear() { entries_.clear(); }
    // Starts the table as exactly one empty entry.
    void reset();
    // Records a definition file: appends an entry when the last one already names a file,
    // then writes the three fields into the last entry. Starts the table when it does not
    // exist yet.
    void addFile(const QString& trainsetPath, const QString& folder, const QString& fileName);

    // Number of entries (upper index + 1); 0 before the table exists.
    qsizetype count() const { return entries_.size(); }
    bool isValidIndex(qsizetype index) const { return index >= 0 && index < entries_.size(); }
    const CatalogEntry& operator[](qsizetype index) const { return entries_[index]; }
    CatalogEntry& operator[](qsizetype index) { return entries_[index]; }

    QList<CatalogEntry>::const_iterator begin() const { return entries_.cbegin(); }
    QList<CatalogEntry>::const_iterator end() const { return entries_.cend(); }

private:
    QList<CatalogEntry> entries_;
};

// Number of entries of the table; 0 before the walk has started it.
qsizetype CatalogCount(const Catalog& catalog);

// The list key of an index: the index in decimal followed by "_KEY" ("0_KEY", "17_KEY").
QString CatalogKey(qsizetype index);

} // namespace catalog
