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

std::shared_ptr<const SceneShape>
LoadFreightShape(const platform::FileSystem& fs, const QString& path, const QString& texturePath) {
    auto shape = std::make_shared<SceneShape>(&fs);
    shape->setTexturePath(texturePath);
    shape->load(path);
    return shape;
}

bool SceneShape::load(const QString& path) {
    path_ = path;
    model_ = {};
    diagnostics_ = {};
    missingTextures_.clear();
    ownMissingTextures_.clear();
    freight_.clear();
    freightProblems_.clear();
    scene_ = {};
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
            const std::optional<QByteArray> data = readTexture(folder, name);
            if (data) {
                msts::AceOptions options;
                options.firstLevelOnly = true; // the renderer makes its own mip chain
                msts::AceResult ace = msts::readAce(bytesOf(*data), options);
                if (ace.ok() && !ace.image.levels.empty())
                    return std::move(ace.image);
            }
            missingTextures_.append(name);
            return std::nullopt;
        });
    status_ = ShapeLoadStatus::Loaded;
    ownMissingTextures_ = missingTextures_;
    return true;
}

void SceneShape::setFreightShapes(const QList<FreightPlacement>& freight) {
    // Textures the earlier freight shapes missed are no longer drawn.
    missingTextures_ = ownMissingTextures_;
    freight_ = freight;
    freightProblems_.clear();
    scene_ = {};
    if (freight_.isEmpty())
        return;
    scene_ = model_;
    for (const FreightPlacement& placement : freight_) {
        const std::shared_ptr<const SceneShape> loaded =
            fileSystem_ ? LoadFreightShape(*fileSystem_, placement.path, texturePath_) : nullptr;
        if (!loaded || loaded->status() != ShapeLoadStatus::Loaded) {
            freightProblems_.append(
                {placement.path, loaded ? loaded->status() : ShapeLoadStatus::NotFound});
            continue;
        }
        render::appendModel(scene_, loaded->model(), {0.0f, placement.height, 0.0f});
        missingTextures_.append(loaded->missingTextures());
    }
}

std::optional<QByteArray> SceneShape::readTexture(const QString& shapeFolder,
                                                  const QString& name) const {
    QStringList names{name};
    if (name.endsWith(QLatin1String(".dds"), Qt::CaseInsensitive))
        names.append(name.left(name.size() - 4) + QLatin1String(".ace"));
    QStringList folders{shapeFolder};
    if (!texturePath_.isEmpty())
        folders.append(join(shapeFolder, texturePath_));
    for (const QString& folder : folders)
        for (const QString& candidate : names) {
            const QString path = join(folder, candidate);
            if (fileSystem_->isFile(path))
                if (std::optional<QByteArray> data = fileSystem_->readFile(path))
                    return data;
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
