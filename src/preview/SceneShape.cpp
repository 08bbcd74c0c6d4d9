#include "preview/SceneShape.h"

#include "msts/Ace.h"
#include "msts/ShapeMesh.h"
#include "msts/ShapeReader.h"
#include "platform/FileSystem.h"
#include "render/ShapeModel.h"

#include <algorithm>
#include <limits>
#include <span>

namespace preview {

namespace {

std::span<const std::byte> bytesOf(const QByteArray& data) {
    return {reinterpret_cast<const std::byte*>(data.constData()), std::size_t(data.size())};
}

// The folder part of a path text, without its trailing separator.
QString folderOf(const QString& path) {
    const qsizetype cut = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
    return cut < 0 ? QString() : path.left(cut);
}

QString join(const QString& folder, const QString& name) {
    if (folder.isEmpty())
        return name;
    return folder + u'\\' + name;
}

} // namespace

SceneShape::SceneShape(const platform::FileSystem* fileSystem) : fileSystem_(fileSystem) {}

bool SceneShape::load(const QString& path) {
    path_ = path;
    model_ = {};
    diagnostics_ = {};
    missingTextures_.clear();
    unreadableTextures_.clear();
    corruptTextures_.clear();
    if (!fileSystem_ || !fileSystem_->isFile(path)) {
        status_ = ShapeLoadStatus::NotFound;
        return false;
    }
    const std::optional<QByteArray> bytes = fileSystem_->readFile(path);
    if (!bytes) {
        status_ = ShapeLoadStatus::Unreadable;
        return false;
    }
    msts::ShapeResult shape = msts::readShape(bytesOf(*bytes));
    diagnostics_ = std::move(shape.diagnostics);
    if (!shape.ok()) {
        status_ = ShapeLoadStatus::Invalid;
        return false;
    }

    const msts::Mesh mesh = msts::buildMesh(shape.shape);
    const QString folder = folderOf(path);
    model_ = render::modelFromMesh(
        mesh, [&](const std::string& imageName) -> std::optional<msts::AceImage> {
            const QString name = QString::fromStdString(imageName);
            bool found = false;
            const std::optional<QByteArray> data = readTexture(folder, name, &found);
            if (data) {
                msts::AceOptions options;
                options.firstLevelOnly = true; // the renderer makes its own mip chain
                msts::AceResult ace = msts::readAce(bytesOf(*data), options);
                if (ace.ok() && !ace.image.levels.empty())
                    return std::move(ace.image);
                corruptTextures_.append(name);
                return std::nullopt;
            }
            (found ? unreadableTextures_ : missingTextures_).append(name);
            return std::nullopt;
        });
    status_ = ShapeLoadStatus::Loaded;
    return true;
}

std::optional<QByteArray> SceneShape::readTexture(const QString& shapeFolder, const QString& name,
                                                  bool* found) const {
    QStringList names{name};
    if (name.endsWith(QLatin1String(".dds"), Qt::CaseInsensitive))
        names.append(name.left(name.size() - 4) + QLatin1String(".ace"));
    QStringList folders{shapeFolder};
    if (!texturePath_.isEmpty())
        folders.append(join(shapeFolder, texturePath_));
    for (const QString& folder : folders)
        for (const QString& candidate : names) {
            const QString path = join(folder, candidate);
            if (fileSystem_->isFile(path)) {
                if (found)
                    *found = true;
                if (std::optional<QByteArray> data = fileSystem_->readFile(path))
                    return data;
            }
        }
    return std::nullopt;
}

render::BoundingSphere SceneShape::boundingSphere() const {
    return render::boundingSphere(model_, world_);
}

float SceneShape::lengthAlongZ() const {
    float lo = std::numeric_limits<float>::max(), hi = std::numeric_limits<float>::lowest();
    for (const render::Primitive& p : model_.primitives)
        for (std::uint32_t i : p.indices) {
            lo = std::min(lo, model_.vertices[i].position.z);
            hi = std::max(hi, model_.vertices[i].position.z);
        }
    return hi >= lo ? hi - lo : 0.0f;
}

} // namespace preview
