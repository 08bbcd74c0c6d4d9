#pragma once

// The thumbnails of several vehicles in one run, each made as the create command makes one.
//
// Pictures are drawn away from the thread that owns the run, several vehicles at once (one
// worker a core), a few vehicles ahead of the one being placed. Each worker has its own file
// layer and scene: neither may be shared between threads. Placing stays on the owning thread,
// in the given order, through the same CreateThumbnail, standing choice and overwrite policy as a
// single creation, so questions come in list order and standing answers hold as they always
// do. A picture reaches the disk only when its turn to be placed comes: a run that stops leaves
// nothing of the vehicles it did not reach.
//
// The owning thread must run its event loop: drawn pictures are handed over through it.
//
// Every worker of a run draws through one texture cache and one cache of freight shape files,
// so that a texture or a freight shape many vehicles share is decoded once for the run.

#include "catalog/Catalog.h"
#include "platform/FileError.h"
#include "preview/PreviewGeometry.h"
#include "preview/SceneShape.h"
#include "preview/ThumbnailPlacing.h"
#include "render/Image.h"

#include <QList>
#include <QObject>
#include <QString>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace platform {
class FileSystem;
}

namespace preview {

class OverwritePolicy;
class VehicleScene;

// What became of one vehicle of the run.
struct BatchItemResult {
    // False for a vehicle the run stopped before.
    bool Reached = false;
    ShapeLoadStatus Shape = ShapeLoadStatus::NoFile;
    PlaceResult Result = PlaceResult::Failed;
    // The thumbnail's full path once known.
    QString TargetPath;
    // What is told of it besides the outcome: why its shape is invalid, the textures drawn
    // grey, the freight shapes left out.
    QString InvalidReason;
    QStringList TextureProblems;
    QList<FreightProblem> FreightProblems;
    // Nothing of the vehicle reached its picture: a blank is no thumbnail, none is written.
    bool NothingDrawn = false;
    // Its length is past MaximumVehicleLength: it is not drawn at all.
    bool LengthRefused = false;
    // Why its picture could not be written (NoPicture), or placed (Failed).
    platform::FileError WriteError;
    platform::FileError PlaceError;

    // Made, replaced, or kept by the user's choice.
    bool succeeded() const {
        return Reached && Shape == ShapeLoadStatus::Loaded && IsSuccess(Result);
    }
    bool failed() const { return Reached && !succeeded(); }
};

// The camera every picture of the run is drawn with: the preview's.
struct BatchCamera {
    ReferenceSphere Reference;
    float CameraFactor = BaseCameraFactor;
};

// The end-of-run message and whether it reports success (information) or not (exclamation).
struct BatchReport {
    QString Text;
    bool Success = false;
};

// The most drawing threads a run may have: four a core. Each holds a picture and its
// decoded shapes; more only cost memory.
int MaximumWorkerCount();

class BatchCreation : public QObject {
    Q_OBJECT
public:
    // `entries` in the order their thumbnails are placed. `fs` is used on the owning thread
    // only; the workers draw through copies of it. Nothing starts before start().
    BatchCreation(const platform::FileSystem& fs, QList<catalog::CatalogEntry> entries,
                  BatchCamera camera, OverwriteChoice& choice, OverwritePolicy& policy,
                  QObject* parent = nullptr);
    // Stops the workers and waits for them.
    ~BatchCreation() override;

    // Drawing threads, before start(); at least 1, at most one a vehicle and
    // MaximumWorkerCount(). By default one a core.
    void setWorkerCount(int count);
    int workerCount() const { return workerCount_; }

    // The caches the workers share; the run's own by default.
    void setTextureCache(std::shared_ptr<render::TextureCache> cache);
    const std::shared_ptr<render::TextureCache>& textureCache() const { return textures_; }
    const std::shared_ptr<ShapeFileCache>& freightShapeCache() const { return shapes_; }

    // Starts drawing. With nothing to make, finishes at once.
    void start();
    // Stops after the vehicle in hand: its thumbnail is still placed, no later one is.
    void cancel();

    qsizetype total() const { return entries_.size(); }
    // Vehicles reached so far.
    qsizetype done() const { return placed_; }
    // Position of the vehicle in hand; total() once finished.
    qsizetype current() const { return finished_ ? total() : placed_; }
    const catalog::CatalogEntry& entry(qsizetype position) const { return entries_[position]; }
    bool isFinished() const { return finished_; }
    bool isCancelled() const { return cancelled_; }
    const QList<BatchItemResult>& results() const { return results_; }
    // Pictures that runs which died left in the Thumbnails folder, removed by start().
    const QStringList& removedTemporaries() const { return removedTemporaries_; }

    // Message 137 when every vehicle was made or kept; 140 followed by the number of failures
    // and the first few names, each with why it failed (FailureReason), when any failed; after
    // a stop without failure, how far it got.
    BatchReport report() const;

signals:
    // The vehicle at `position` is in hand: it is placed next.
    void itemStarted(qsizetype position);
    // results()[position] holds its outcome.
    void itemFinished(qsizetype position);
    void finished();

private:
    struct Drawn {
        bool ready = false;
        ShapeLoadStatus shape = ShapeLoadStatus::NoFile;
        std::optional<render::RgbImage> picture;
        QString invalidReason;
        QStringList textureProblems;
        QList<FreightProblem> freightProblems;
        bool nothingDrawn = false;
        bool lengthRefused = false;
    };

    void work(const platform::FileSystem& fs);
    // Loads and draws one vehicle with a worker's maker.
    static void draw(VehicleScene& maker, const catalog::CatalogEntry& entry, Drawn& drawn);
    void placeReady();
    void place(qsizetype position, Drawn drawn);
    void finish();
    void stopWorkers();

    const platform::FileSystem& fs_;
    const QList<catalog::CatalogEntry> entries_;
    const BatchCamera camera_;
    OverwriteChoice& choice_;
    OverwritePolicy& policy_;
    int workerCount_ = 1;
    std::shared_ptr<render::TextureCache> textures_ = std::make_shared<render::TextureCache>();
    std::shared_ptr<ShapeFileCache> shapes_ = std::make_shared<ShapeFileCache>();

    // Owning thread only.
    QList<BatchItemResult> results_;
    QStringList removedTemporaries_;
    bool started_ = false;
    bool placing_ = false;
    bool cancelled_ = false;
    bool finished_ = false;

    // Shared with the workers, under mutex_.
    std::mutex mutex_;
    std::condition_variable room_;
    std::vector<Drawn> drawn_;
    qsizetype nextToDraw_ = 0;
    qsizetype placed_ = 0;
    bool stop_ = false;

    std::vector<std::thread> workers_;
};

} // namespace preview
