#pragma once

// Pictures for file managers: the thumbnail of one vehicle definition (.eng, .wag), shape (.s)
// or texture (.ace) file, its longest side a requested number of pixels, on a transparent
// background.
//
// A vehicle is drawn as its thumbnail shows it: side view, front at the left, with its
// freight shapes and textures found as the simulator finds them, framed to its length. A shape
// is drawn the same way, framed to its own extent. A texture is the picture itself, with its
// alpha. Nothing is read but the file and the files it names, and no setting: a file manager
// runs this in a sandbox.

#include "render/Image.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace platform {
class FileSystem;
}

namespace preview {

enum class ThumbnailKind { Vehicle, Shape, Texture };

// What a file's name says it holds (.eng and .wag, .s, .ace, in any letter case); nothing for
// any other name.
std::optional<ThumbnailKind> ThumbnailKindOf(const QString& path);

// Longest side a picture may be asked for: a file manager's largest size. It bounds the
// memory a picture takes.
inline constexpr int MaximumThumbnailSide = 1024;

// Why a file gave no picture.
enum class ThumbnailProblem {
    None,
    UnknownKind,          // the name is no vehicle, shape or texture
    DefinitionUnreadable, // the definition file cannot be read
    NoShape,              // the definition file names no shape
    NotFound,             // no such shape or texture file
    Unreadable,           // the file exists but cannot be read (permissions, size)
    Invalid,              // the bytes are no shape or texture; `reason` tells why for a shape
    NoTriangles,          // the shape holds no triangle
    Blank,                // nothing of it reached the picture
};

struct FileThumbnail {
    render::RgbaImage picture; // empty when there is a problem
    ThumbnailProblem problem = ThumbnailProblem::None;
    QString file;      // the file the problem is about (the shape of a vehicle, say)
    QString reason;    // the reader's reason for an invalid shape
    QStringList notes; // what was left out of a picture still made: textures, freight shapes
};

// The thumbnail of the file at `path` (a path text for the file layer), `side` pixels along
// its longest side, 1 to MaximumThumbnailSide (outside it: no picture, Blank).
FileThumbnail MakeFileThumbnail(const platform::FileSystem& fs, const QString& path, int side);

} // namespace preview
