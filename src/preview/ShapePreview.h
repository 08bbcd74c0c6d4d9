#pragma once

// The main window's preview of the selected vehicle, and the create command that captures it.
//
// The preview state belongs to the main window: the shape drawn on the canvas, the path last
// given to it, the reference sphere measured once at set-up (every vehicle is then seen from
// the same point, so all thumbnails share one scale) and the world matrix. The canvas is sized
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

namespace app {
class frmPrincipal;
struct Global;
} // namespace app

namespace preview {

class ShapePreview : public QObject {
    Q_OBJECT
public:
    // Connects the zoom bar and the canvas's repaint event. The window's controls must exist.
    ShapePreview(app::frmPrincipal& window, app::Global& global);
    ~ShapePreview() override;

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

    sfShape* PreviewShape() const { return PreviewShape_.get(); }
    const QString& ShapePath() const { return ShapePath_; }
    const ReferenceSphere& Reference() const { return Reference_; }
    // The line under the canvas that says why a vehicle shows no picture.
    QLabel* lblFORME = nullptr;

private:
    void placeCanvas(double length);
    void placeCamera();
    void showLoadProblem();
    bool showsEntry(qsizetype index) const;

    app::frmPrincipal& window_;
    app::Global& global_;

    std::unique_ptr<sfShape> PreviewShape_;
    QString ShapePath_;
    ReferenceSphere Reference_;
    render::Mat4 WorldMatrix_;

    std::unique_ptr<OverwritePolicy> dialogPolicy_;
    MessageReportBoxes messageBoxes_;
    OverwritePolicy* policy_ = nullptr;
    ReportBoxes* reports_ = nullptr;
};

} // namespace preview
