#pragma once

// How pictelle-cli tells what it could not draw of a vehicle's freight animations: entries of
// the definition file it left out, and freight shapes it could not read.

#include "catalog/FreightAnim.h"
#include "preview/SceneShape.h"

#include <QList>
#include <QString>

namespace cli {

// "FreightAnim ignoré, ligne 12 (aucun nombre) : FreightAnim ( coal.s )".
QString FreightAnimProblemNote(const catalog::FreightAnimProblem& problem);

// Every note on one line, separated by "; ": the entries left out, then the freight shapes the
// picture lacks. Empty when there is nothing to tell.
QString FreightNotes(const QList<catalog::FreightAnimProblem>& entries,
                     const QList<preview::FreightProblem>& shapes);

} // namespace cli
