#pragma once

// What a user is told about a shape the preview or pictelle-cli loaded: why it is not a shape
// the reader accepts, and which of its textures are drawn grey and why. One home for these
// texts, so that render and make say the same.

#include <QString>
#include <QStringList>

namespace msts {
class Diagnostics;
}

namespace preview {

class SceneShape;

// The reader's first error: its code, its detail in brackets when there is one, and the byte
// offset where it was found ("UnexpectedEnd (vertex) à l'octet 1234"). Empty when there is
// no error.
QString InvalidShapeReason(const msts::Diagnostics& diagnostics);

// One text per texture drawn grey, in the order the shape names them: missing files first
// ("texture introuvable, dessinée en gris : a.ace"), then names leading out of the
// simulator's folder, then files that cannot be read, then
// files that cannot be decoded ("texture corrompue, ..."), then those past the picture's
// texture budget.
QStringList TextureProblems(const SceneShape& shape);

} // namespace preview
