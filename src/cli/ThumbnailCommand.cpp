// pictelle-cli thumbnail: the picture a file manager shows for a vehicle definition, shape or
// texture file, as the freedesktop thumbnailer convention runs it ("-s %s %i %o"). It runs in
// the file manager's sandbox: no display, no settings, no Wine prefix; it reads the file and
// the files it names, writes the PNG only once it is whole, and writes nothing on failure.

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "platform/FileSystem.h"
#include "preview/FileThumbnail.h"
#include "render/Png.h"
#include "shared/Messages.h"

#include <sys/resource.h>

namespace cli {

using app::LoadMessage;
using app::MessageId;

namespace {

// Address space the command may take: the largest picture's samples (about 150 MiB at 1024
// pixels), a picture's textures (their budget) and the shape files, several times over. A
// hostile file then ends the command rather than the desktop's memory. Sanitizer builds
// reserve terabytes of shadow memory and are left unbounded.
constexpr rlim_t AddressSpaceBytes = rlim_t(2) << 30;

void limitMemory() {
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) == 0 &&
        (limit.rlim_max == RLIM_INFINITY || limit.rlim_max > AddressSpaceBytes)) {
        limit.rlim_cur = AddressSpaceBytes;
        setrlimit(RLIMIT_AS, &limit);
    }
#endif
}

std::optional<int> parseSide(const QString& text) {
    bool ok = false;
    const int side = text.toInt(&ok);
    if (!ok || side < 1 || side > preview::MaximumThumbnailSide)
        return std::nullopt;
    return side;
}

QString problemText(const preview::FileThumbnail& thumbnail, preview::ThumbnailKind kind) {
    using preview::ThumbnailProblem;
    const QString shown = platform::FileSystem::displayPath(thumbnail.file);
    const bool texture = kind == preview::ThumbnailKind::Texture;
    switch (thumbnail.problem) {
    case ThumbnailProblem::DefinitionUnreadable:
        return LoadMessage(MessageId::DefinitionUnreadable, {"|1", shown});
    case ThumbnailProblem::NoShape:
        return LoadMessage(MessageId::NoWagonShape, {"|1", shown});
    case ThumbnailProblem::NotFound:
        return LoadMessage(texture ? MessageId::TextureNotFoundAt : MessageId::RenderShapeNotFound,
                           {"|1", shown});
    case ThumbnailProblem::Unreadable:
        return LoadMessage(texture ? MessageId::TextureUnreadableAt
                                   : MessageId::RenderShapeUnreadable,
                           {"|1", shown});
    case ThumbnailProblem::Invalid:
        if (texture)
            return LoadMessage(MessageId::TextureInvalidAt, {"|1", shown});
        return LoadMessage(MessageId::RenderShapeInvalid, {"|2", thumbnail.reason, "|1", shown});
    case ThumbnailProblem::NoTriangles:
        return LoadMessage(MessageId::NoTriangles, {"|1", shown});
    case ThumbnailProblem::UnknownKind:
        return LoadMessage(MessageId::ThumbnailUnknownKind, {"|1", shown});
    case ThumbnailProblem::Blank:
    case ThumbnailProblem::None:
        break;
    }
    return LoadMessage(texture ? MessageId::TextureBlank : MessageId::RenderNothingDrawn,
                       {"|1", shown});
}

} // namespace

int RunThumbnailCommand(const CommandOptions& options) {
    const std::optional<QString> shortSide = options.value(QStringLiteral("s"));
    const std::optional<QString> longSide = options.value(QStringLiteral("size"));
    if (shortSide && longSide) {
        printError(LoadMessage(MessageId::RepeatedOption, {"|1", QStringLiteral("--size")}));
        return 2;
    }
    const QStringList files = options.positional();
    if (!(shortSide || longSide) || files.size() != 2) {
        printError(LoadMessage(MessageId::ThumbnailArguments));
        return 2;
    }
    const QString sideText = shortSide ? *shortSide : *longSide;
    const std::optional<int> side = parseSide(sideText);
    if (!side) {
        printError(LoadMessage(MessageId::BadThumbnailSize, {"|1", sideText}));
        return 2;
    }
    const QString& input = files[0];
    const QString& output = files[1];
    const std::optional<preview::ThumbnailKind> kind = preview::ThumbnailKindOf(input);
    if (!kind) {
        printError(LoadMessage(MessageId::ThumbnailUnknownKind,
                               {"|1", platform::FileSystem::displayPath(input)}));
        return 1;
    }

    limitMemory();
    // No Wine prefix: a path with a drive letter names nothing rather than reading its table.
    const platform::FileSystem fs{platform::FileSystem::Options{}};
    const preview::FileThumbnail thumbnail = preview::MakeFileThumbnail(fs, input, *side);
    for (const QString& note : thumbnail.notes)
        printError(note);
    if (thumbnail.problem != preview::ThumbnailProblem::None) {
        printError(problemText(thumbnail, *kind));
        return 1;
    }
    const std::vector<std::uint8_t> png = render::encodePng(thumbnail.picture);
    const QByteArray bytes(reinterpret_cast<const char*>(png.data()), qsizetype(png.size()));
    // A thumbnail service may hand over an output file it holds open and read the picture back
    // through that handle: an existing file is written into, a new one whole under its name.
    const bool written =
        !png.empty() && (fs.isFile(output) ? fs.writeIntoFile(output, bytes)
                                           : fs.writeFileAtomically(output, bytes));
    if (!written) {
        printError(
            LoadMessage(MessageId::CannotWrite, {"|1", platform::FileSystem::displayPath(output)}));
        return 1;
    }
    return 0;
}

} // namespace cli
