#pragma once

// The main window's preview of the selected vehicle, and the create command that captures it.
//
// The preview works on a few of the main window's controls (PreviewControls) and keeps its own
// state: the shape drawn on the canvas, the path last given to it, the reference sphere
// measured once at set-up (every vehicle is then seen from the same point, so all thumbnails
// share one scale), the world matrix and the zoom. The canvas is sized
// as the thumbnail: 96 pixels high and 7.415 pixels a metre of the vehicle's length, so the
// picture shown is the thumbnail that the create command writes.
//
// Until MainWindowReady is set, list clicks and zoom changes do nothing. The overwrite
// question and the end-of-creation messages go through replaceable objects, so that tests
// answer and read them without modal boxes.

#include "preview/OverwritePolicy.h"
#include "preview/PreviewGeometry.h"
#include "preview/ReportBoxes.h"
#include "preview/sfShape.h"

#include <QList>
#include <QObject>
#include <QString>

#include <memory>

class QLabel;
class QScrollBar;
class QWidget;

namespace app {
struct Global;
} // namespace app

namespace preview {

class sfCanvas;

// The vehicle list as the preview sees it: which catalog entry is selected, and the look of a
// vehicle whose thumbnail was just made.
class VehicleChoice {
public:
    virtual ~VehicleChoice() = default;
    virtual qsizetype count() const = 0;
    // Catalog index of the selected vehicle; -1 when none is selected.
    virtual qsizetype selectedCatalogIndex() const = 0;
    virtual void markCreatedHere() = 0;
    // Catalog index of the item at a list row; -1 when there is none.
    virtual qsizetype catalogIndexAt(qsizetype row) const = 0;
    // Gives the item at a list row the look of a thumbnail just made.
    virtual void markCreatedHere(qsizetype row) = 0;
};

// The main window's controls the preview works on. The window creates and owns them.
struct PreviewControls {
    QWidget* window = nullptr;       // shown at set-up, repainted, parent of the boxes
    sfCanvas* sfCanvas1 = nullptr;   // the picture
    QScrollBar* hscSCALE = nullptr;  // zoom bar
    QLabel* lblSCALEvalue = nullptr; // zoom bar's caption: the offset from the middle
    QLabel* lblFORME = nullptr;      // why a vehicle shows no picture
    QWidget* cmdCREATE = nullptr;    // disabled while a vehicle loads
    VehicleChoice* lsvMATERIEL = nullptr;
};

class ShapePreview : public QObject {
    Q_OBJECT
public:
    // Connects the zoom bar and the canvas's repaint event. The controls must exist and
    // outlive the preview.
    ShapePreview(const PreviewControls& controls, app::Global& global);
    ~ShapePreview() override;

    // The window's load step 4: the bar's range, its middle, the caption and the zoom state.
    void SetUpZoomBar();
    // Once, in the window's load step: shows the window, starts the canvas, loads the
    // selected vehicle's shape (the default shape for an empty list), measures the reference
    // sphere and draws. The canvas stays hidden.
    void SetUpPreview();
    // Loads the vehicle at a catalog index, sizes the canvas for it, draws and shows it.
    void ShowVehicle(qsizetype index);
    // One frame, when a shape exists and the canvas can draw.
    void RedrawPreview();

    // Handlers.
    void ListClick();       // after the status line is refreshed
    void ZoomChanged();     // hscSCALE moved
    void RepaintNeeded();   // the canvas must be drawn again
    void CreateThumbnail(); // cmdCREATE
    // cmdCREATE with several items selected: each one's thumbnail, in list order, behind the
    // creation progress window, with this preview's camera and overwrite answers.
    void CreateSelection(const QList<qsizetype>& rows);
    void ReleaseShape(); // the window unloads

    // Replaceable for tests; the window's dialog and message boxes by default. Not owned.
    void setOverwritePolicy(OverwritePolicy* policy);
    void setReportBoxes(ReportBoxes* reports);

    const QString& ShapePath() const { return ShapePath_; }
    const ReferenceSphere& Reference() const;
    // Zoom: offset of the bar from its middle, and the camera distance factor that follows it.
    float ScaleOffset() const { return ScaleOffset_; }
    float CameraFactor() const { return CameraFactor_; }

private:
    void placeCanvas();
    void placeCamera();
    void showLoadProblem();
    bool showsEntry(qsizetype index) const;

    PreviewControls controls_;
    app::Global& global_;

    std::unique_ptr<sfShape> PreviewShape_;
    QString ShapePath_;
    float ScaleOffset_ = 0.0f;
    float CameraFactor_ = 2.4f;

    std::unique_ptr<OverwritePolicy> dialogPolicy_;
    MessageReportBoxes messageBoxes_;
    OverwritePolicy* policy_ = nullptr;
    ReportBoxes* reports_ = nullptr;
};

} // namespace preview
