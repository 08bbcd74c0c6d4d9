#pragma once

// The main window. Its load step does all the start-up work in a fixed order; its buttons
// make thumbnails, open the about boxes, forget the stored Rametta folder and quit.
//
// Each load step and each handler is a method of its own (folder dialogs, thumbnail
// inventory, catalog scan, list colours, preview, about box), called in the load's fixed
// order. The steps that ask the user or do long work are virtual, so that tests can answer
// or replace them. The controls are private: tests find them by their
// object names, which are the names below.

#include <QWidget>

#include <memory>

class QFrame;
class QLabel;
class QPushButton;
class QScrollBar;

namespace preview {
class sfCanvas;
class ShapePreview;
class VehicleChoice;
} // namespace preview

namespace app {

struct Global;
class VehicleListView;
struct VehicleListControls;

class frmPrincipal : public QWidget {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 443;
    static constexpr int ClientHeight = 344;

    explicit frmPrincipal(Global& global, QWidget* parent = nullptr);
    ~frmPrincipal() override;

    // The load step. Main runs it once after creating the window; the window becomes
    // visible during it (when the preview is set up).
    void Load();

    Global& global() const { return global_; }
    // The preview of the selected vehicle and the create command.
    preview::ShapePreview& preview() const { return *preview_; }

protected:
    // Load steps that tests replace. Each is called once, in the load's order.
    // Step 5: the simulator's folder is not registered; asks for it into MstsPath.
    virtual void askMstsFolder();
    // Step 6: no stored Rametta folder; asks for it into RamettaPath.
    virtual void askRamettaFolder();
    // Before step 5, when a remembered folder was set aside: one message saying which and
    // why; the dialogs then ask for it again.
    virtual void reportStartFolders(const QString& text);
    // Step 8.
    virtual void LoadThumbnailInventory();
    // Step 10: the catalog scan behind the progress window; fills the vehicle list.
    virtual void runCatalogScan();
    // Step 11.
    virtual void ColourVehicleList();
    // Step 13: shows the window, then starts the canvas.
    virtual void SetUpPreview();
    // Step 14, when the list holds at least one item: previews the selected vehicle.
    virtual void showSelectedVehicle();

    // Number of items in the vehicle list.
    int vehicleCount() const;
    // The list with the create button and the status line it keeps up to date.
    VehicleListControls vehicleListControls() const;

    // Unload: the window is closing and the program ends.
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void connectHandlers();
    void createVehicleList();
    void arrangeTabOrder();

    void resetProgramState();  // step 1
    void setCaptions();        // steps 2 and 3
    void setUpZoomBar();       // step 4
    void readStartFolders();   // before step 5
    void readMstsFolder();     // step 5
    void readRamettaFolder();  // step 6
    void storeRamettaFolder(); // step 7

    void cmdCancel_Click();
    void cmdDelInfosPath_Click();
    void cmdPROPOS_Click();
    void cmdPROPOS_OCX_Click();
    void cmdCREATE_Click();
    void lsvMATERIEL_ItemClick();

    // Controls, named as the window's design names them (docs/GLOSSARY.md).
    VehicleListView* lsvMATERIEL = nullptr; // the vehicle list
    QLabel* lblQTE_FILES = nullptr;         // status line: total and selected file
    preview::sfCanvas* sfCanvas1 = nullptr; // the preview picture
    QLabel* lblFORME = nullptr;             // why the selected vehicle shows no picture
    QScrollBar* hscSCALE = nullptr;         // zoom bar
    QLabel* lblSCALEmin = nullptr;          // "+" at the zoom bar's near end
    QLabel* lblSCALEvalue = nullptr;        // zoom offset from the bar's middle
    QLabel* lblSCALEmax = nullptr;          // "-" at the zoom bar's far end
    QFrame* Shape1 = nullptr;               // red swatch: in Rametta's folder
    QFrame* Shape2 = nullptr;               // green swatch: built into Rametta
    QFrame* Shape3 = nullptr;               // magenta swatch: made by Pictelle
    QFrame* Shape4 = nullptr;               // blue swatch: still to make
    QLabel* Label2 = nullptr;               // note beside the legend
    QLabel* Label3 = nullptr;               // legend of Shape1
    QLabel* Label4 = nullptr;               // legend of Shape2
    QLabel* Label5 = nullptr;               // legend of Shape3
    QLabel* Label6 = nullptr;               // legend of Shape4
    QPushButton* cmdDelInfosPath = nullptr; // forget the stored Rametta folder
    QPushButton* cmdCREATE = nullptr;       // make the selected vehicle's thumbnail
    QPushButton* cmdPROPOS = nullptr;       // about Pictelle
    QPushButton* cmdPROPOS_OCX = nullptr;   // about the rendering canvas
    QPushButton* cmdCancel = nullptr;       // quit

    Global& global_;
    std::unique_ptr<preview::VehicleChoice> listChoice_;
    std::unique_ptr<preview::ShapePreview> preview_;
};

} // namespace app
