#include "preview/BatchCreation.h"

#include "inventory/ThumbnailFile.h"
#include "platform/FileSystem.h"
#include "preview/FailureReasons.h"
#include "preview/OverwritePolicy.h"
#include "preview/SceneView.h"
#include "preview/ShapeReport.h"
#include "preview/VehicleScene.h"
#include "shared/Messages.h"

#include <QThread>

#include <algorithm>
#include <exception>

namespace preview {

namespace {

// Names listed under a failure message; the rest are counted.
constexpr qsizetype NamedFailures = 5;
// Pictures drawn ahead of the one being placed, for each worker.
constexpr qsizetype AheadPerWorker = 2;

const QString LineBreak = QStringLiteral("\r\n");

} // namespace

int MaximumWorkerCount() {
    return std::max(1, QThread::idealThreadCount()) * 4;
}

BatchCreation::BatchCreation(const platform::FileSystem& fs, QList<catalog::CatalogEntry> entries,
                             BatchCamera camera, OverwriteChoice& choice, OverwritePolicy& policy,
                             QObject* parent)
    : QObject(parent), fs_(fs), entries_(std::move(entries)), camera_(camera), choice_(choice),
      policy_(policy), results_(entries_.size()), drawn_(std::size_t(entries_.size())) {
    setWorkerCount(QThread::idealThreadCount());
}

BatchCreation::~BatchCreation() {
    stopWorkers();
}

void BatchCreation::setWorkerCount(int count) {
    if (started_)
        return;
    workerCount_ = int(std::clamp<qsizetype>(
        count, 1, std::max<qsizetype>(1, std::min<qsizetype>(total(), MaximumWorkerCount()))));
}

void BatchCreation::setTextureCache(std::shared_ptr<render::TextureCache> cache) {
    if (!started_ && cache)
        textures_ = std::move(cache);
}

void BatchCreation::start() {
    if (started_)
        return;
    started_ = true;
    // What runs killed before placing their pictures left would otherwise stay for good.
    removedTemporaries_ =
        inventory::ThumbnailFile::RemoveStaleTemporaries(fs_, fs_.thumbnailsFolder());
    if (total() == 0 || cancelled_) {
        finish();
        return;
    }
    emit itemStarted(0);
    // A copy of the file layer each: its listings are kept in members while it works.
    for (int i = 0; i < workerCount_; ++i)
        workers_.emplace_back([this, fs = fs_] { work(fs); });
}

void BatchCreation::cancel() {
    if (finished_)
        return;
    cancelled_ = true;
    {
        // Nothing after the vehicle in hand is drawn; what is drawn already is dropped.
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    room_.notify_all();
}

void BatchCreation::work(const platform::FileSystem& fs) {
    VehicleScene maker(fs);
    maker.setReference(camera_.Reference);
    maker.setCameraFactor(camera_.CameraFactor);
    maker.setTextureCache(textures_);
    maker.setFreightShapeCache(shapes_);
    const qsizetype ahead = AheadPerWorker * workerCount_;
    for (;;) {
        qsizetype position = 0;
        {
            std::unique_lock lock(mutex_);
            room_.wait(lock, [&] { return stop_ || nextToDraw_ < placed_ + ahead; });
            // The vehicle in hand is drawn even after a stop.
            if (nextToDraw_ >= total() || (stop_ && nextToDraw_ > placed_))
                return;
            position = nextToDraw_++;
        }
        Drawn drawn;
        // A length past any vehicle's is a slip in its file: nothing is drawn for it.
        drawn.lengthRefused = !LengthIsAccepted(entries_[position].Length);
        if (!drawn.lengthRefused)
            draw(maker, entries_[position], drawn);
        drawn.ready = true;
        {
            const std::lock_guard lock(mutex_);
            drawn_[std::size_t(position)] = std::move(drawn);
        }
        QMetaObject::invokeMethod(
            this, [this] { placeReady(); }, Qt::QueuedConnection);
    }
}

void BatchCreation::draw(VehicleScene& maker, const catalog::CatalogEntry& entry, Drawn& drawn) {
    try {
        drawn.shape = maker.show(entry) ? ShapeLoadStatus::Loaded : maker.shape().status();
        if (drawn.shape == ShapeLoadStatus::Invalid)
            drawn.invalidReason = InvalidShapeReason(maker.shape().diagnostics());
        if (drawn.shape == ShapeLoadStatus::Loaded) {
            drawn.freightProblems = maker.shape().freightProblems();
            render::RenderStats stats;
            drawn.picture = maker.picture(&stats);
            // Known once drawn.
            drawn.textureProblems = TextureProblems(maker.shape());
            if (stats.drawnSamples == 0) {
                drawn.nothingDrawn = true;
                drawn.picture.reset();
            }
        }
    } catch (const std::exception&) {
        // No picture (out of memory, most likely): this vehicle fails, the run goes on.
        drawn.shape = ShapeLoadStatus::Loaded;
        drawn.picture.reset();
    }
}

void BatchCreation::placeReady() {
    // The overwrite question runs an event loop; a picture that arrives meanwhile is taken up
    // once the question is answered.
    if (placing_ || finished_)
        return;
    const qsizetype position = placed_;
    Drawn drawn;
    {
        const std::lock_guard lock(mutex_);
        if (!drawn_[std::size_t(position)].ready)
            return;
        drawn = std::move(drawn_[std::size_t(position)]);
        drawn_[std::size_t(position)] = {};
    }
    placing_ = true;
    place(position, std::move(drawn));
    placing_ = false;
    {
        const std::lock_guard lock(mutex_);
        ++placed_;
    }
    room_.notify_all();
    emit itemFinished(position);
    if (cancelled_ || placed_ == total()) {
        finish();
        return;
    }
    emit itemStarted(placed_);
    // One vehicle a turn of the event loop, so that the window keeps answering.
    bool nextReady = false;
    {
        const std::lock_guard lock(mutex_);
        nextReady = drawn_[std::size_t(placed_)].ready;
    }
    if (nextReady)
        QMetaObject::invokeMethod(
            this, [this] { placeReady(); }, Qt::QueuedConnection);
}

void BatchCreation::place(qsizetype position, Drawn drawn) {
    BatchItemResult& result = results_[position];
    result.Reached = true;
    result.Shape = drawn.shape;
    result.InvalidReason = drawn.invalidReason;
    result.TextureProblems = drawn.textureProblems;
    result.FreightProblems = drawn.freightProblems;
    result.NothingDrawn = drawn.nothingDrawn;
    result.LengthRefused = drawn.lengthRefused;
    // An unreadable shape is no picture: nothing is written for it.
    if (drawn.shape != ShapeLoadStatus::Loaded || drawn.lengthRefused) {
        result.Result = PlaceResult::NoPicture;
        return;
    }
    const PlaceOutcome outcome = CreateThumbnail(
        fs_, entries_[position],
        [&](const QString& location) {
            return drawn.picture ? inventory::ThumbnailFile::WriteTemporary(
                                       fs_, location, *drawn.picture, &result.WriteError)
                                 : QString();
        },
        choice_, policy_);
    result.Result = outcome.Result;
    result.TargetPath = outcome.TargetPath;
    result.PlaceError = outcome.Error;
}

void BatchCreation::finish() {
    stopWorkers();
    finished_ = true;
    emit finished();
}

void BatchCreation::stopWorkers() {
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
        nextToDraw_ = total();
    }
    room_.notify_all();
    for (std::thread& worker : workers_)
        worker.join();
    workers_.clear();
}

BatchReport BatchCreation::report() const {
    // Each failed vehicle with why, so that the user knows whether a vehicle or the folder
    // is to blame.
    QStringList failedNames;
    qsizetype reached = 0;
    for (qsizetype i = 0; i < results_.size(); ++i) {
        if (results_[i].Reached)
            ++reached;
        if (results_[i].failed())
            failedNames.append(FailureLine(entries_[i].vehicleName(), FailureReason(results_[i])));
    }
    if (!failedNames.isEmpty()) {
        QString text = app::LoadMessage(app::MessageId::CreateFailed) + LineBreak + LineBreak +
                       app::LoadMessage(app::MessageId::FailureCount, {"|1", failedNames.size()});
        for (qsizetype i = 0; i < std::min(NamedFailures, failedNames.size()); ++i)
            text += LineBreak + failedNames[i];
        if (failedNames.size() > NamedFailures)
            text += LineBreak + app::LoadMessage(app::MessageId::MoreFailures,
                                                 {"|1", failedNames.size() - NamedFailures});
        return {text, false};
    }
    if (reached < total())
        return {app::LoadMessage(app::MessageId::CreationStopped, {"|1", reached, "|2", total()}),
                true};
    return {app::LoadMessage(app::MessageId::CreateFinished), true};
}

} // namespace preview
