#pragma once

// Vehicles of a selection whose thumbnails take the same name: two definition files of one
// name in different folders (or a locomotive and a wagon) make one thumbnail file between
// them, so creating both always meets an existing thumbnail. Counted before a creation of
// several starts, so that the user settles the overwrite question once instead of being
// stopped at each such pair in the middle of a long unattended run.

#include "catalog/Catalog.h"

#include <QList>
#include <QString>

namespace preview {

// How many of the entries share their thumbnail name (compared without regard to letter
// case, as the names are on the simulator's system) with at least one other entry.
qsizetype CountSharedThumbnailNames(const QList<catalog::CatalogEntry>& entries);

// The question put before the creation: how many of how many share a name, and what to do
// with a thumbnail that is already there.
QString SharedThumbnailNamesQuestion(qsizetype sharing, qsizetype total);

} // namespace preview
