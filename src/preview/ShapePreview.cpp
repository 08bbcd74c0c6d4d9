#include "preview/ShapePreview.h"

#include "app/Global.h"
#include "app/Messages.h"
#include "app/Shell.h"
#include "app/VehicleList.h"
#include "app/frmPrincipal.h"
#include "platform/FileSystem.h"
#include "preview/ThumbnailMaker.h"
#include "preview/ThumbnailPlacing.h"
#include "preview/frmConfirmation.h"
#include "preview/sfCanvas.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

namespace preview {

namespace {

// Messages that say why the preview shows no vehicle.
constexpr int ShapeNotFoundMessage = 301;
constexpr int ShapeUnreadableMessage = 302;
constexpr int ShapeInvalidMessage = 303;
constexpr int NothingDrawnMessage = 304;

// Hourglass for the time a vehicle loads.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

ShapePreview::ShapePreview(app::frmPrincipal& window, app::Global& global)
    : QObject(&window), window_(window), global_(global),
      dialogPolicy_(std::make_unique<ConfirmationPolicy>(global, &window)),
      policy_(dialogPolicy_.get()), reports_(&messageBoxes_) {
    window_.sfCanvas1->setFileSystem(&global_.Files);

    lblFORME = new QLabel(&window_);
    lblFORME->setObjectName(QStringLiteral("lblFORME"));
    lblFORME->setGeometry(216, 128, 225, 22);
    lblFORME->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblFORME->setWordWrap(true);
    lblFORME->hide();

    connect(window_.hscSCALE, &QScrollBar::valueChanged, this,
            [this] { app::RunHandler(&window_, [this] { ZoomChanged(); }); });
    connect(window_.sfCanvas1, &sfCanvas::RepaintNeeded, this,
            [this] { app::RunHandler(&window_, [this] { RepaintNeeded(); }); });
}

ShapePreview::~ShapePreview() = default;

void ShapePreview::setOverwritePolicy(OverwritePolicy* policy) {
    policy_ = policy ? policy : dialogPolicy_.get();
}

void ShapePreview::setReportBoxes(ReportBoxes* reports) {
    reports_ = reports ? reports : &messageBoxes_;
}

void ShapePreview::placeCanvas(double length) {
    sfCanvas& canvas = *window_.sfCanvas1;
    canvas.BackColor(PreviewBackColor);
    canvas.Top(CanvasTop);
    canvas.Height(CanvasHeight);
    const CanvasPlacement placement = PlacementForLength(length);
    canvas.Left(placement.Left);
    canvas.Width(placement.Width);
}

void ShapePreview::placeCamera() {
    float x = Reference_.Centre.x;
    float y = Reference_.Centre.y;
    float z = Reference_.Centre.z;
    window_.sfCanvas1->SetCamera(CameraDistance(window_.CameraFactor, Reference_), 2, 0, x, y, z, 0,
                                 1, 0);
}

void ShapePreview::SetUpPreview() {
    const catalog::Catalog& table = global_.Catalog;
    const app::VehicleListView& list = *window_.lsvMATERIEL;
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
    window_.show();

    sfCanvas& canvas = *window_.sfCanvas1;
    canvas.InitialiseDevice();
    canvas.InitialiseScene();
    canvas.SceneValueA(PreviewSceneValueA);
    canvas.SceneValueB(PreviewSceneValueB);

    PreviewShape_ = std::make_unique<sfShape>();
    PreviewShape_->AttachDevice(canvas.Device());
    PreviewShape_->TexturePath(QString::fromUtf16(PreviewTexturePath));
    PreviewShape_->ShapeFile(ShapePath_);

    placeCanvas(length);

    // Turned end for end; the shape keeps this transform for every later file.
    WorldMatrix_ = HalfTurnWorldMatrix();
    PreviewShape_->SetWorldMatrix(WorldMatrix_.m);

    // Measured once. A reference shape without a sphere would put the camera inside every
    // vehicle: the next listed shape that has one takes its place.
    QStringList candidates =
        list.count() > 0 ? ReferenceCandidates(table, selected) : QStringList{ShapePath_};
    if (candidates.isEmpty() || candidates.front() != ShapePath_)
        candidates.prepend(ShapePath_);
    Reference_ = FirstUsableSphere(candidates, [this](const QString& path) {
        if (PreviewShape_->ShapeFile() != path)
            PreviewShape_->ShapeFile(path);
        ReferenceSphere sphere;
        PreviewShape_->GetBoundingSphere(sphere.Centre.x, sphere.Centre.y, sphere.Centre.z,
                                         sphere.Radius);
        return sphere;
    });
    if (PreviewShape_->ShapeFile() != ShapePath_)
        PreviewShape_->ShapeFile(ShapePath_);

    placeCamera();

    QCoreApplication::processEvents();
    RedrawPreview();
}

void ShapePreview::ShowVehicle(qsizetype index) {
    if (!PreviewShape_ || !global_.Catalog.isValidIndex(index))
        return;
    const catalog::CatalogEntry& entry = global_.Catalog[index];
    sfCanvas& canvas = *window_.sfCanvas1;
    canvas.Visible(false);

    ShapePath_ = entry.shapePath();
    PreviewShape_->ShapeFile(ShapePath_);
    showLoadProblem();

    placeCanvas(entry.Length);
    // The set-up's sphere, not this shape's: every vehicle at one scale.
    placeCamera();
    PreviewShape_->Prepare();
    canvas.UpdateScene();
    canvas.UpdateView();

    QCoreApplication::processEvents();
    RedrawPreview();
    canvas.Visible(true);
}

void ShapePreview::showLoadProblem() {
    const SceneShape& scene = PreviewShape_->Scene();
    const QString shown = platform::FileSystem::displayPath(ShapePath_);
    const QString name = shown.mid(shown.lastIndexOf(u'/') + 1);
    int message = 0;
    switch (scene.status()) {
    case ShapeLoadStatus::NotFound:
        message = ShapeNotFoundMessage;
        break;
    case ShapeLoadStatus::Unreadable:
        message = ShapeUnreadableMessage;
        break;
    case ShapeLoadStatus::Invalid:
        message = ShapeInvalidMessage;
        break;
    case ShapeLoadStatus::NoFile:
    case ShapeLoadStatus::Loaded:
        break;
    }
    if (message == 0) {
        lblFORME->clear();
        lblFORME->hide();
        return;
    }
    lblFORME->setText(app::LoadMessage(message, {"|1", name}));
    lblFORME->setToolTip(shown);
    lblFORME->show();
}

void ShapePreview::RedrawPreview() {
    if (!PreviewShape_)
        return;
    sfCanvas& canvas = *window_.sfCanvas1;
    if (!canvas.BeginFrame())
        return;
    int level = 1;
    float detail = -1.0f;
    PreviewShape_->Draw(level, detail);
    canvas.EndFrame();
    // A shape that loaded but of which nothing reached the picture says so too.
    if (PreviewShape_->Scene().status() == ShapeLoadStatus::Loaded) {
        const bool blank = canvas.DrawnSamples() == 0;
        if (blank) {
            const QString shown = platform::FileSystem::displayPath(ShapePath_);
            lblFORME->setText(app::LoadMessage(NothingDrawnMessage,
                                               {"|1", shown.mid(shown.lastIndexOf(u'/') + 1)}));
            lblFORME->setToolTip(shown);
        }
        lblFORME->setVisible(blank);
    }
}

void ShapePreview::ListClick() {
    if (!global_.MainWindowReady || window_.lsvMATERIEL->count() == 0)
        return;
    const WaitCursor hourglass;
    window_.cmdCREATE->setEnabled(false);
    window_.sfCanvas1->Visible(false);
    window_.repaint();
    ShowVehicle(window_.lsvMATERIEL->selectedCatalogIndex());
    window_.sfCanvas1->Visible(true);
    window_.cmdCREATE->setEnabled(true);
    window_.repaint();
}

void ShapePreview::ZoomChanged() {
    if (!global_.MainWindowReady)
        return;
    const double offset = ZoomOffset(window_.hscSCALE->value(), window_.hscSCALE->maximum());
    window_.lblSCALEvalue->setText(ZoomCaption(offset));
    window_.ScaleOffset = float(offset);
    window_.CameraFactor = CameraFactorForOffset(offset);
    placeCamera();
    if (window_.sfCanvas1->Device() != nullptr)
        RedrawPreview();
}

void ShapePreview::RepaintNeeded() {
    if (window_.sfCanvas1->Device() != nullptr)
        RedrawPreview();
}

bool ShapePreview::showsEntry(qsizetype index) const {
    return PreviewShape_ && global_.Catalog.isValidIndex(index) &&
           PreviewShape_->ShapeFile() == global_.Catalog[index].shapePath();
}

void ShapePreview::CreateThumbnail() {
    const qsizetype index = window_.lsvMATERIEL->selectedCatalogIndex();
    if (!global_.Catalog.isValidIndex(index)) {
        reports_->Report(&window_, app::LoadMessage(140), ReportIcon::Exclamation);
        return;
    }
    // The picture must be the selected vehicle's, whatever changed the selection.
    if (!showsEntry(index))
        ShowVehicle(index);

    const catalog::CatalogEntry& entry = global_.Catalog[index];
    sfCanvas& canvas = *window_.sfCanvas1;
    const CreateOutcome outcome = preview::CreateThumbnail(
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
            return canvas.TakeScreenshot();
        },
        PlacingState{global_.OverwriteChoice, global_.PendingTargetPath}, *policy_);

    if (!IsSuccess(outcome.Result)) {
        reports_->Report(&window_, app::LoadMessage(140), ReportIcon::Exclamation);
        return;
    }
    app::MarkCreatedHere(*window_.lsvMATERIEL);
    reports_->Report(&window_, app::LoadMessage(139), ReportIcon::Information);
}

void ShapePreview::ReleaseShape() {
    PreviewShape_.reset();
}

} // namespace preview
