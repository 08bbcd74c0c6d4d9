#include "preview/ShapePreview.h"

#include "platform/FileSystem.h"
#include "preview/BatchCreation.h"
#include "preview/FailureReasons.h"
#include "preview/SharedThumbnailNames.h"
#include "preview/ThumbnailPlacing.h"
#include "preview/VehicleScene.h"
#include "preview/frmConfirmation.h"
#include "preview/frmCreationProgress.h"
#include "preview/sfCanvas.h"
#include "shared/Messages.h"
#include "shared/Shell.h"
#include "state/Global.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

#include <optional>

namespace preview {

namespace {

// Hourglass for the time a vehicle loads.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

ShapePreview::ShapePreview(const PreviewControls& controls, app::Global& global)
    : QObject(controls.window), controls_(controls), global_(global),
      dialogPolicy_(std::make_unique<ConfirmationPolicy>(controls.window)),
      policy_(dialogPolicy_.get()), reports_(&messageBoxes_) {
    controls_.sfCanvas1->setFileSystem(&global_.Files);
    controls_.lblFORME->hide();

    connect(controls_.hscSCALE, &QScrollBar::valueChanged, this,
            [this] { app::RunHandler(controls_.window, [this] { ZoomChanged(); }); });
    connect(controls_.sfCanvas1, &sfCanvas::RepaintNeeded, this,
            [this] { app::RunHandler(controls_.window, [this] { RepaintNeeded(); }); });
}

ShapePreview::~ShapePreview() = default;

void ShapePreview::setOverwritePolicy(OverwritePolicy* policy) {
    policy_ = policy ? policy : dialogPolicy_.get();
}

const ReferenceSphere& ShapePreview::Reference() const {
    return controls_.sfCanvas1->Scene().reference();
}

void ShapePreview::setReportBoxes(ReportBoxes* reports) {
    reports_ = reports ? reports : &messageBoxes_;
}

void ShapePreview::SetUpZoomBar() {
    QScrollBar& bar = *controls_.hscSCALE;
    bar.setMinimum(0);
    bar.setMaximum(40);
    const int middle = bar.maximum() / 2;
    bar.setValue(middle);
    ScaleOffset_ = float(bar.value() - middle) / 10.0f;
    controls_.lblSCALEvalue->setText(QString::number(double(ScaleOffset_)));
    CameraFactor_ = ScaleOffset_ + 2.4f;
}

void ShapePreview::placeCanvas() {
    sfCanvas& canvas = *controls_.sfCanvas1;
    canvas.BackColor(PreviewBackColor);
    canvas.Top(CanvasTop);
    canvas.Height(CanvasHeight);
    const CanvasPlacement& placement = canvas.Scene().placement();
    canvas.Left(placement.Left);
    canvas.Width(placement.Width);
}

void ShapePreview::placeCamera() {
    VehicleScene& scene = controls_.sfCanvas1->Scene();
    scene.setCameraFactor(CameraFactor_);
    render::Vec3 target = scene.cameraTarget();
    controls_.sfCanvas1->SetCamera(scene.cameraDistance(), 2, 0, target.x, target.y, target.z, 0, 1,
                                   0);
}

void ShapePreview::SetUpPreview() {
    const catalog::Catalog& table = global_.Catalog;
    const VehicleChoice& list = *controls_.lsvMATERIEL;
    ShapePath_ = QString::fromUtf16(DefaultShapePath);
    double length = 0;
    qsizetype selected = -1;
    if (list.count() > 0) {
        selected = list.selectedCatalogIndex();
        if (table.isValidIndex(selected)) {
            ShapePath_ = table[selected].shapePath();
            length = table[selected].Length;
        }
    }

    // The window shows before the canvas starts.
    controls_.window->show();

    sfCanvas& canvas = *controls_.sfCanvas1;
    canvas.InitialiseDevice();
    canvas.InitialiseScene();
    canvas.SceneValueA(PreviewSceneValueA);
    canvas.SceneValueB(PreviewSceneValueB);

    PreviewShape_ = std::make_unique<sfShape>();
    PreviewShape_->AttachDevice(canvas.Device());
    PreviewShape_->TexturePath(QString::fromUtf16(PreviewTexturePath));
    if (table.isValidIndex(selected))
        PreviewShape_->ContentRoot(table[selected].simulatorFolder());
    PreviewShape_->ShapeFile(ShapePath_);

    canvas.Scene().setLength(length);
    placeCanvas();

    // Turned end for end; the shape keeps this transform for every later file.
    PreviewShape_->SetWorldMatrix(HalfTurnWorldMatrix().m);

    // Measured once. A reference shape without a sphere would put the camera inside every
    // vehicle: the next listed shape that has one takes its place.
    QStringList candidates =
        list.count() > 0 ? ReferenceCandidates(table, selected) : QStringList{ShapePath_};
    if (candidates.isEmpty() || candidates.front() != ShapePath_)
        candidates.prepend(ShapePath_);
    canvas.Scene().measureReference(candidates);
    if (PreviewShape_->ShapeFile() != ShapePath_)
        PreviewShape_->ShapeFile(ShapePath_);
    if (table.isValidIndex(selected))
        canvas.Scene().setFreight(FreightPlacements(table[selected]));

    placeCamera();

    QCoreApplication::processEvents();
    RedrawPreview();
}

void ShapePreview::ShowVehicle(qsizetype index) {
    if (!PreviewShape_ || !global_.Catalog.isValidIndex(index))
        return;
    const catalog::CatalogEntry& entry = global_.Catalog[index];
    sfCanvas& canvas = *controls_.sfCanvas1;
    canvas.Visible(false);

    ShapePath_ = entry.shapePath();
    canvas.Scene().show(entry);
    showLoadProblem();

    placeCanvas();
    // The set-up's sphere, not this shape's: every vehicle at one scale.
    placeCamera();

    QCoreApplication::processEvents();
    RedrawPreview();
    canvas.Visible(true);
}

void ShapePreview::showLoadProblem() {
    const SceneShape& scene = PreviewShape_->Scene();
    const QString shown = platform::FileSystem::displayPath(ShapePath_);
    const QString name = shown.mid(shown.lastIndexOf(u'/') + 1);
    std::optional<app::MessageId> message; // why no vehicle is shown
    switch (scene.status()) {
    case ShapeLoadStatus::NotFound:
        message = app::MessageId::ShapeNotFound;
        break;
    case ShapeLoadStatus::Unreadable:
        message = app::MessageId::ShapeUnreadable;
        break;
    case ShapeLoadStatus::Invalid:
        message = app::MessageId::ShapeInvalid;
        break;
    case ShapeLoadStatus::OutsideFolder:
        message = app::MessageId::ShapeOutside;
        break;
    case ShapeLoadStatus::NoFile:
    case ShapeLoadStatus::Loaded:
        break;
    }
    QLabel& problem = *controls_.lblFORME;
    if (message) {
        problem.setText(app::LoadMessage(*message, {"|1", name}));
        problem.setToolTip(shown);
        problem.show();
        return;
    }
    const QString freight = FreightProblemText(scene.freightProblems());
    if (freight.isEmpty()) {
        problem.clear();
        problem.hide();
        return;
    }
    problem.setText(freight);
    QStringList paths;
    for (const FreightProblem& freightProblem : scene.freightProblems())
        paths.append(platform::FileSystem::displayPath(freightProblem.path));
    problem.setToolTip(paths.join(u'\n'));
    problem.show();
}

void ShapePreview::RedrawPreview() {
    if (!PreviewShape_)
        return;
    sfCanvas& canvas = *controls_.sfCanvas1;
    if (!canvas.BeginFrame())
        return;
    int level = 1;
    float detail = -1.0f;
    PreviewShape_->Draw(level, detail);
    canvas.EndFrame();
    // A shape that loaded but of which nothing reached the picture says so too.
    if (PreviewShape_->Scene().status() != ShapeLoadStatus::Loaded)
        return;
    if (canvas.DrawnSamples() != 0) {
        showLoadProblem(); // what else there is to say, such as a missing freight shape
        return;
    }
    const QString shown = platform::FileSystem::displayPath(ShapePath_);
    controls_.lblFORME->setText(app::LoadMessage(app::MessageId::NothingDrawn,
                                                 {"|1", shown.mid(shown.lastIndexOf(u'/') + 1)}));
    controls_.lblFORME->setToolTip(shown);
    controls_.lblFORME->show();
}

void ShapePreview::ListClick() {
    if (!global_.MainWindowReady || controls_.lsvMATERIEL->count() == 0)
        return;
    const WaitCursor hourglass;
    controls_.cmdCREATE->setEnabled(false);
    controls_.sfCanvas1->Visible(false);
    controls_.window->repaint();
    ShowVehicle(controls_.lsvMATERIEL->selectedCatalogIndex());
    controls_.sfCanvas1->Visible(true);
    controls_.cmdCREATE->setEnabled(true);
    controls_.window->repaint();
}

void ShapePreview::ZoomChanged() {
    if (!global_.MainWindowReady)
        return;
    const double offset = ZoomOffset(controls_.hscSCALE->value(), controls_.hscSCALE->maximum());
    controls_.lblSCALEvalue->setText(ZoomCaption(offset));
    ScaleOffset_ = float(offset);
    CameraFactor_ = CameraFactorForOffset(offset);
    placeCamera();
    if (controls_.sfCanvas1->Device() != nullptr)
        RedrawPreview();
}

void ShapePreview::RepaintNeeded() {
    if (controls_.sfCanvas1->Device() != nullptr)
        RedrawPreview();
}

bool ShapePreview::showsEntry(qsizetype index) const {
    // Cars of a pack share one body shape and differ by their freight shapes.
    return PreviewShape_ && global_.Catalog.isValidIndex(index) &&
           PreviewShape_->ShapeFile() == global_.Catalog[index].shapePath() &&
           PreviewShape_->Scene().freightShapes() == FreightPlacements(global_.Catalog[index]);
}

void ShapePreview::CreateThumbnail() {
    const qsizetype index = controls_.lsvMATERIEL->selectedCatalogIndex();
    if (!global_.Catalog.isValidIndex(index)) {
        reports_->Report(controls_.window, app::LoadMessage(app::MessageId::CreateFailed),
                         ReportIcon::Exclamation);
        return;
    }
    // The picture must be the selected vehicle's, whatever changed the selection.
    if (!showsEntry(index))
        ShowVehicle(index);

    const catalog::CatalogEntry& entry = global_.Catalog[index];
    if (!LengthIsAccepted(entry.Length)) {
        reports_->Report(
            controls_.window,
            app::LoadMessage(app::MessageId::CreateFailed) + QStringLiteral("\n\n") +
                app::LoadMessage(app::MessageId::WhyLengthRefused, {"|1", MaximumVehicleLength}),
            ReportIcon::Exclamation);
        return;
    }
    sfCanvas& canvas = *controls_.sfCanvas1;
    platform::FileError writeError;
    const PlaceOutcome outcome = preview::CreateThumbnail(
        global_.Files, entry,
        [&](const QString& location) -> QString {
            canvas.ScreenshotLocation(location);
            // An unreadable shape is no picture: an empty thumbnail is never written.
            if (PreviewShape_->Scene().status() != ShapeLoadStatus::Loaded)
                return {};
            RedrawPreview();
            // Nor is a picture in which nothing of the vehicle was drawn.
            if (canvas.DrawnSamples() == 0)
                return {};
            return canvas.TakeScreenshot(&writeError);
        },
        global_.OverwriteChoice, *policy_);

    if (!IsSuccess(outcome.Result)) {
        // The folder and the system's reason, when the disk refused: the user can act on it.
        const QString reason = writeError.failed() || outcome.Error.failed()
                                   ? PlacingFailureReason(outcome.Result, writeError, outcome.Error,
                                                          outcome.TargetPath)
                                   : QString();
        reports_->Report(controls_.window,
                         app::LoadMessage(app::MessageId::CreateFailed) +
                             (reason.isEmpty() ? QString() : QStringLiteral("\n\n") + reason),
                         ReportIcon::Exclamation);
        return;
    }
    controls_.lsvMATERIEL->markCreatedHere();
    reports_->Report(controls_.window, app::LoadMessage(app::MessageId::CreateDone),
                     ReportIcon::Information);
}

void ShapePreview::CreateSelection(const QList<qsizetype>& rows) {
    VehicleChoice& list = *controls_.lsvMATERIEL;
    QList<qsizetype> listed;
    QList<catalog::CatalogEntry> entries;
    for (qsizetype row : rows) {
        const qsizetype index = list.catalogIndexAt(row);
        if (global_.Catalog.isValidIndex(index)) {
            listed.append(row);
            entries.append(global_.Catalog[index]);
        }
    }
    settleSharedNames(entries);
    BatchCreation run(global_.Files, std::move(entries), BatchCamera{Reference(), CameraFactor_},
                      global_.OverwriteChoice, *policy_);
    // The preview's textures are already decoded: the run starts from them, and what it
    // decodes serves the preview afterwards.
    run.setTextureCache(controls_.sfCanvas1->textureCache());
    connect(&run, &BatchCreation::itemFinished, this, [&](qsizetype position) {
        if (run.results()[position].succeeded())
            list.markCreatedHere(listed[position]);
    });
    frmCreationProgress progress(controls_.window, run);
    progress.exec();
    const BatchReport report = run.report();
    reports_->Report(controls_.window, report.Text,
                     report.Success ? ReportIcon::Information : ReportIcon::Exclamation);
}

void ShapePreview::settleSharedNames(const QList<catalog::CatalogEntry>& entries) {
    // A standing answer already settles every conflict.
    const OverwriteChoice standing = global_.OverwriteChoice;
    if (standing == OverwriteChoice::OverwriteAlways || standing == OverwriteChoice::KeepAlways)
        return;
    const qsizetype sharing = CountSharedThumbnailNames(entries);
    if (sharing == 0)
        return;
    const QStringList answers{app::LoadMessage(app::MessageId::SharedNamesReplace),
                              app::LoadMessage(app::MessageId::SharedNamesKeep),
                              app::LoadMessage(app::MessageId::SharedNamesAsk)};
    switch (reports_->Ask(controls_.window, SharedThumbnailNamesQuestion(sharing, entries.size()),
                          answers)) {
    case 0:
        global_.OverwriteChoice = OverwriteChoice::OverwriteAlways;
        break;
    case 1:
        global_.OverwriteChoice = OverwriteChoice::KeepAlways;
        break;
    default:
        break;
    }
}

void ShapePreview::ReleaseShape() {
    PreviewShape_.reset();
}

} // namespace preview
