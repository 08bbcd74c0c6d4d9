#include "preview/SceneShape.h"

#include "msts/Ace.h"
#include "msts/ShapeMesh.h"
#include "msts/ShapeReader.h"
#include "platform/ContainedPath.h"
#include "platform/FileSystem.h"
#include "render/ShapeModel.h"

#include <algorithm>
#include <limits>
#include <map>
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

std::shared_ptr<const SceneShape> LoadFreightShape(const platform::FileSystem& fs,
                                                   const QString& path, const QString& texturePath,
                                                   std::shared_ptr<render::TextureCache> cache,
                                                   const std::shared_ptr<ShapeFileCache>& shapes,
                                                   const QString& contentRoot) {
    auto shape = std::make_shared<SceneShape>(&fs);
    shape->setTextureCache(std::move(cache));
    shape->setTexturePath(texturePath);
    shape->setContentRoot(contentRoot);
    if (shapes)
        shape->load(path, *shapes);
    else
        shape->load(path);
    return shape;
}

void SceneShape::setFreightShapeCache(std::shared_ptr<ShapeFileCache> cache) {
    shapeCache_ = cache ? std::move(cache) : std::make_shared<ShapeFileCache>();
}

void SceneShape::setTextureCache(std::shared_ptr<render::TextureCache> cache) {
    cache_ = cache ? std::move(cache) : std::make_shared<render::TextureCache>();
}

bool SceneShape::load(const QString& path) {
    return loadFrom(path, nullptr);
}

bool SceneShape::load(const QString& path, ShapeFileCache& shapes) {
    return loadFrom(path, &shapes);
}

namespace {

std::shared_ptr<ReadShape> readShapeFile(const platform::FileSystem& fs, const QString& path) {
    auto read = std::make_shared<ReadShape>();
    const std::optional<QByteArray> bytes = fs.readFile(path);
    if (!bytes) {
        read->status = ShapeLoadStatus::Unreadable;
        return read;
    }
    msts::ShapeResult shape = msts::readShape(bytesOf(*bytes));
    read->diagnostics = std::move(shape.diagnostics);
    if (!shape.ok()) {
        read->status = ShapeLoadStatus::Invalid;
        return read;
    }
    read->shape = render::shapeModelFromMesh(msts::buildMesh(shape.shape));
    read->status = ShapeLoadStatus::Loaded;
    return read;
}

} // namespace

bool SceneShape::loadFrom(const QString& path, ShapeFileCache* shapes) {
    path_ = path;
    shape_ = {};
    diagnostics_ = {};
    notFoundTextures_.clear();
    ownOutsideTextures_.clear();
    outsideTextures_.clear();
    textureFiles_.clear();
    missingTextures_.clear();
    overBudgetTextures_.clear();
    freight_.clear();
    freightProblems_.clear();
    drawnFreight_.clear();
    scene_ = {};
    sceneBuilt_ = false;
    unreadableTextures_.clear();
    corruptTextures_.clear();
    if (!inside(path)) {
        status_ = ShapeLoadStatus::OutsideFolder;
        return false;
    }
    if (!fileSystem_ || !fileSystem_->isFile(path)) {
        status_ = ShapeLoadStatus::NotFound;
        return false;
    }
    const platform::FileSystem& fs = *fileSystem_;
    const auto reader = [&fs, &path] {
        return readShapeFile(fs, path);
    };
    const std::string key = shapes ? fs.fileIdentity(path).toStdString() : std::string();
    // A shape the cache holds is copied: each picture puts its own textures in it. One read
    // for this shape alone is taken over whole.
    const std::shared_ptr<ReadShape> own = shapes && !key.empty() ? nullptr : reader();
    const std::shared_ptr<const ReadShape> read = own ? own : shapes->get(key, reader);
    diagnostics_ = read->diagnostics;
    if (read->status != ShapeLoadStatus::Loaded) {
        status_ = read->status;
        return false;
    }
    shape_ = own ? std::move(own->shape) : read->shape;
    const QString folder = folderOf(path);
    for (const std::string& imageName : shape_.imageNames) {
        const QString name = QString::fromStdString(imageName);
        TextureFile file;
        bool outside = false;
        file.path = findTexture(folder, name, outside);
        if (!file.path.isEmpty())
            file.key = fileSystem_->fileIdentity(file.path).toStdString();
        if (file.key.empty())
            (outside ? ownOutsideTextures_ : notFoundTextures_).append(name);
        textureFiles_.push_back(std::move(file));
    }
    missingTextures_ = notFoundTextures_;
    outsideTextures_ = ownOutsideTextures_;
    status_ = ShapeLoadStatus::Loaded;
    return true;
}

void SceneShape::setFreightShapes(const QList<FreightPlacement>& freight) {
    freight_ = freight;
    freightProblems_.clear();
    drawnFreight_.clear();
    scene_ = {};
    sceneBuilt_ = false;
    // Textures the earlier freight shapes missed are no longer drawn.
    missingTextures_ = notFoundTextures_;
    outsideTextures_ = ownOutsideTextures_;
    for (const FreightPlacement& placement : freight_) {
        if (!inside(placement.path)) {
            freightProblems_.append({placement.path, ShapeLoadStatus::OutsideFolder});
            continue;
        }
        const std::shared_ptr<const SceneShape> loaded =
            fileSystem_ ? LoadFreightShape(*fileSystem_, placement.path, texturePath_, cache_,
                                           shapeCache_, contentRoot_)
                        : nullptr;
        if (!loaded || loaded->status() != ShapeLoadStatus::Loaded) {
            freightProblems_.append(
                {placement.path, loaded ? loaded->status() : ShapeLoadStatus::NotFound});
            continue;
        }
        drawnFreight_.push_back({loaded, placement.height});
        missingTextures_.append(loaded->missingTextures());
        outsideTextures_.append(loaded->outsideTextures());
    }
}

const render::Model& SceneShape::sceneModel() const {
    if (drawnFreight_.empty())
        return shape_.model;
    std::size_t slotCount = shape_.model.textures.size();
    for (const DrawnFreight& drawn : drawnFreight_)
        slotCount += drawn.shape->model().textures.size();
    if (!sceneBuilt_ || scene_.textures.size() != slotCount) {
        scene_ = shape_.model;
        for (const DrawnFreight& drawn : drawnFreight_)
            render::appendModel(scene_, drawn.shape->model(), {0.0f, drawn.height, 0.0f});
        sceneBuilt_ = true;
        return scene_;
    }
    // The geometry stays; the textures in the slots change with each picture.
    auto slot = scene_.textures.begin();
    slot = std::copy(shape_.model.textures.begin(), shape_.model.textures.end(), slot);
    for (const DrawnFreight& drawn : drawnFreight_)
        slot = std::copy(drawn.shape->model().textures.begin(), drawn.shape->model().textures.end(),
                         slot);
    return scene_;
}

void SceneShape::prepareTextures(const std::vector<float>& footprints) const {
    render::TextureBudget budget;
    budget.limit = textureBudget_;
    prepareOwnTextures(footprints, 0, budget);
    std::size_t first = shape_.model.textures.size();
    for (const DrawnFreight& drawn : drawnFreight_) {
        drawn.shape->prepareOwnTextures(footprints, first, budget);
        first += drawn.shape->model().textures.size();
        missingTextures_.append(drawn.shape->missingTextures());
        overBudgetTextures_.append(drawn.shape->overBudgetTextures());
        unreadableTextures_.append(drawn.shape->unreadableTextures());
        corruptTextures_.append(drawn.shape->corruptTextures());
    }
}

void SceneShape::prepareOwnTextures(const std::vector<float>& allFootprints, std::size_t first,
                                    render::TextureBudget& budget) const {
    const std::vector<float> footprints(allFootprints.begin() +
                                            std::ptrdiff_t(std::min(first, allFootprints.size())),
                                        allFootprints.end());
    missingTextures_ = notFoundTextures_;
    overBudgetTextures_.clear();
    unreadableTextures_.clear();
    corruptTextures_.clear();
    // Spellings that reach one file share its texture, decoded for the finest of them and
    // counted once against the budget.
    std::map<std::string, float> finest;
    for (std::size_t slot = 0; slot < textureFiles_.size() && slot < footprints.size(); ++slot)
        if (const std::string& key = textureFiles_[slot].key; !key.empty()) {
            const auto [at, added] = finest.emplace(key, footprints[slot]);
            if (!added)
                at->second = std::min(at->second, footprints[slot]);
        }
    std::map<std::string, render::TextureAnswer> answers;
    const platform::FileSystem* fs = fileSystem_;
    for (std::size_t slot = 0; slot < textureFiles_.size(); ++slot) {
        const TextureFile& file = textureFiles_[slot];
        if (file.key.empty() || slot >= footprints.size()) {
            shape_.setTexture(slot, nullptr);
            continue;
        }
        auto answer = answers.find(file.key);
        if (answer == answers.end()) {
            const QString path = file.path;
            const auto read = [fs, path]() -> std::optional<std::vector<std::byte>> {
                const std::optional<QByteArray> data = fs ? fs->readFile(path) : std::nullopt;
                if (!data)
                    return std::nullopt;
                const auto* begin = reinterpret_cast<const std::byte*>(data->constData());
                return std::vector<std::byte>(begin, begin + data->size());
            };
            answer =
                answers.emplace(file.key, cache_->acquire(file.key, finest[file.key], read, budget))
                    .first;
        }
        const QString name = QString::fromStdString(shape_.imageNames[slot]);
        switch (answer->second.status) {
        case render::TextureStatus::Unreadable:
            unreadableTextures_.append(name);
            break;
        case render::TextureStatus::Undecodable:
            corruptTextures_.append(name);
            break;
        case render::TextureStatus::OverBudget:
            overBudgetTextures_.append(name);
            break;
        case render::TextureStatus::Ready:
        case render::TextureStatus::NotNeeded:
            break;
        }
        shape_.setTexture(slot, answer->second.texture);
    }
}

bool SceneShape::inside(const QString& path) const {
    return contentRoot_.isEmpty() || platform::StaysInside(contentRoot_, path);
}

QString SceneShape::findTexture(const QString& shapeFolder, const QString& name,
                                bool& outside) const {
    outside = false;
    QStringList names{name};
    if (name.endsWith(QLatin1String(".dds"), Qt::CaseInsensitive))
        names.append(name.left(name.size() - 4) + QLatin1String(".ace"));
    QStringList folders{shapeFolder};
    if (!texturePath_.isEmpty())
        folders.append(join(shapeFolder, texturePath_));
    for (const QString& folder : folders)
        for (const QString& candidate : names) {
            const QString path = join(folder, candidate);
            // Not even looked at: whether a file exists there is no business of a shape's.
            if (!inside(path)) {
                outside = true;
                continue;
            }
            if (fileSystem_->isFile(path))
                return path;
        }
    return {};
}

render::BoundingSphere SceneShape::boundingSphere() const {
    return render::boundingSphere(shape_.model, world_);
}

float SceneShape::lengthAlongZ() const {
    float lo = std::numeric_limits<float>::max(), hi = std::numeric_limits<float>::lowest();
    for (const render::Primitive& p : shape_.model.primitives)
        for (std::uint32_t i : p.indices) {
            lo = std::min(lo, shape_.model.vertices[i].position.z);
            hi = std::max(hi, shape_.model.vertices[i].position.z);
        }
    return hi >= lo ? hi - lo : 0.0f;
}

} // namespace preview
