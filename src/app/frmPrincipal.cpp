#include "app/frmPrincipal.h"

#include "app/OpenOnClick.h"
#include "app/VehicleList.h"
#include "app/ZoomBar.h"
#include "catalog/ScanDriver.h"
#include "catalog/frmProgress.h"
#include "dialogs/frmPathMSTS.h"
#include "dialogs/frmPathRAMETTA.h"
#include "dialogs/frmPropos.h"
#include "preview/ShapePreview.h"
#include "preview/sfCanvas.h"
#include "shared/Messages.h"
#include "shared/RememberedFolders.h"
#include "shared/SettingsStore.h"
#include "shared/Shell.h"
#include "shared/ThumbnailsNote.h"
#include "state/Global.h"

#include <QAbstractItemModel>
#include <QCloseEvent>
#include <QFont>
#include <QFrame>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>

namespace app {

namespace {

const QString title = QString::fromUtf16(ApplicationTitle);

QLabel* makeLabel(QWidget* parent, const char* name, const QRect& place) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(place);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    return label;
}

QLabel* makeZoomLabel(QWidget* parent, const char* name, const QRect& place) {
    QLabel* label = makeLabel(parent, name, place);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setWordWrap(false);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

QFrame* makeSwatch(QWidget* parent, const char* name, const QRect& place, QColor colour) {
    auto* swatch = new QFrame(parent);
    swatch->setObjectName(QLatin1String(name));
    swatch->setGeometry(place);
    swatch->setStyleSheet(
        QStringLiteral("QFrame { background-color: %1; border: 1px solid black; }")
            .arg(colour.name()));
    return swatch;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QRect& place) {
    auto* button = new QPushButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(place);
    button->setAutoDefault(false);
    return button;
}

// The vehicle list as the preview sees it.
class ListChoice final : public preview::VehicleChoice {
public:
    explicit ListChoice(VehicleListView& list) : list_(list) {}
    qsizetype count() const override { return list_.count(); }
    qsizetype selectedCatalogIndex() const override { return list_.selectedCatalogIndex(); }
    void markCreatedHere() override { MarkCreatedHere(list_); }
    qsizetype catalogIndexAt(qsizetype row) const override {
        const VehicleListItem* item = list_.item(row);
        return item ? item->catalogIndex : -1;
    }
    void markCreatedHere(qsizetype row) override { MarkCreatedHere(list_, row); }

private:
    VehicleListView& list_;
};

} // namespace

frmPrincipal::frmPrincipal(Global& global, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      global_(global) {
    setObjectName(QStringLiteral("frmPrincipal"));
    // A fixed single border: the client area never changes size, and there is no maximise.
    setFixedSize(ClientWidth, ClientHeight);
    // The layout was drawn for an 8-point sans serif of about 11 pixels; a larger desktop
    // font would clip the captions.
    QFont small = font();
    small.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    small.setPixelSize(11);
    setFont(small);
    createControls();
    arrangeTabOrder();
    connectHandlers();
    listChoice_ = std::make_unique<ListChoice>(*lsvMATERIEL);
    preview_ = std::make_unique<preview::ShapePreview>(
        preview::PreviewControls{this, sfCanvas1, hscSCALE, lblSCALEvalue, lblFORME, cmdCREATE,
                                 listChoice_.get()},
        global_);
}

frmPrincipal::~frmPrincipal() = default;

void frmPrincipal::createVehicleList() {
    lsvMATERIEL = new VehicleListView(this);
    lsvMATERIEL->setGeometry(8, 8, 201, 185);
}

void frmPrincipal::createControls() {
    createVehicleList();

    lblQTE_FILES = makeLabel(this, "lblQTE_FILES", {8, 200, 425, 33});

    sfCanvas1 = new preview::sfCanvas(this);
    sfCanvas1->setGeometry(256, 30, 145, 96);

    hscSCALE = new ZoomBar(this);
    hscSCALE->setGeometry(272, 152, 113, 15);
    hscSCALE->setSingleStep(1);
    hscSCALE->setPageStep(1);

    lblSCALEmin = makeZoomLabel(this, "lblSCALEmin", {272, 168, 15, 13});
    lblSCALEvalue = makeZoomLabel(this, "lblSCALEvalue", {296, 168, 64, 13});
    lblSCALEmax = makeZoomLabel(this, "lblSCALEmax", {368, 168, 15, 13});

    Shape1 = makeSwatch(this, "Shape1", {8, 240, 25, 9}, QColor(255, 0, 0));
    Shape2 = makeSwatch(this, "Shape2", {8, 256, 25, 9}, QColor(0, 192, 0));
    Shape3 = makeSwatch(this, "Shape3", {8, 272, 25, 9}, QColor(255, 0, 255));
    Shape4 = makeSwatch(this, "Shape4", {8, 288, 25, 9}, QColor(0, 0, 255));
    // Six pixels wider than the design's 225: in our font the first legend's full stop ends
    // past it, and the room up to the note is free.
    Label3 = makeLabel(this, "Label3", {40, 238, 231, 17});
    Label4 = makeLabel(this, "Label4", {40, 254, 231, 17});
    Label5 = makeLabel(this, "Label5", {40, 270, 231, 17});
    Label6 = makeLabel(this, "Label6", {40, 286, 231, 17});
    for (QLabel* legend : {Label3, Label4, Label5, Label6})
        legend->setWordWrap(false);
    Label2 = makeLabel(this, "Label2", {272, 240, 161, 49});
    OpenFolderOnClick(
        Label2, [this] { return global_.Files.thumbnailsFolder(); }, global_.Files);

    cmdDelInfosPath = makeButton(this, "cmdDelInfosPath", {256, 288, 177, 17});
    cmdCREATE = makeButton(this, "cmdCREATE", {8, 312, 97, 25});
    cmdPROPOS = makeButton(this, "cmdPROPOS", {112, 312, 113, 25});
    cmdPROPOS_OCX = makeButton(this, "cmdPROPOS_OCX", {232, 312, 121, 25});
    cmdCancel = makeButton(this, "cmdCancel", {360, 312, 73, 25});

    lblFORME = makeLabel(this, "lblFORME", {216, 128, 225, 22});
    lblFORME->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
}

void frmPrincipal::arrangeTabOrder() {
    QWidget::setTabOrder(cmdCancel, cmdCREATE);
    QWidget::setTabOrder(cmdCREATE, cmdPROPOS);
    QWidget::setTabOrder(cmdPROPOS, cmdPROPOS_OCX);
    QWidget::setTabOrder(cmdPROPOS_OCX, sfCanvas1);
    QWidget::setTabOrder(sfCanvas1, hscSCALE);
    QWidget::setTabOrder(hscSCALE, lsvMATERIEL);
    QWidget::setTabOrder(lsvMATERIEL, cmdDelInfosPath);
}

void frmPrincipal::connectHandlers() {
    connect(cmdCancel, &QPushButton::clicked, this,
            [this] { RunHandler(this, [this] { cmdCancel_Click(); }); });
    connect(cmdDelInfosPath, &QPushButton::clicked, this,
            [this] { RunHandler(this, [this] { cmdDelInfosPath_Click(); }); });
    connect(cmdPROPOS, &QPushButton::clicked, this,
            [this] { RunHandler(this, [this] { cmdPROPOS_Click(); }); });
    connect(cmdPROPOS_OCX, &QPushButton::clicked, this,
            [this] { RunHandler(this, [this] { cmdPROPOS_OCX_Click(); }); });
    connect(cmdCREATE, &QPushButton::clicked, this,
            [this] { RunHandler(this, [this] { cmdCREATE_Click(); }); });
    connect(lsvMATERIEL, &VehicleListView::ItemClick, this,
            [this] { RunHandler(this, [this] { lsvMATERIEL_ItemClick(); }); });
    // Selections grown with Shift or Ctrl raise no click; the count still follows them.
    connect(lsvMATERIEL->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (global_.MainWindowReady)
            UpdateStatusLine(vehicleListControls(), global_.Catalog);
    });
    connect(lsvMATERIEL, &VehicleListView::CreateSelectionRequested, this, [this] {
        if (cmdCREATE->isEnabled())
            RunHandler(this, [this] { cmdCREATE_Click(); });
    });
}

void frmPrincipal::Load() {
    resetProgramState();            // 1
    setCaptions();                  // 2, 3
    setUpZoomBar();                 // 4
    readStartFolders();             // 5, 6: what earlier runs left, checked
    readMstsFolder();               // 5
    readRamettaFolder();            // 6
    storeRamettaFolder();           // 7
    LoadThumbnailInventory();       // 8
    CenterOnScreen(this);           // 9
    runCatalogScan();               // 10
    ColourVehicleList();            // 11
    global_.MainWindowReady = true; // 12
    sfCanvas1->Visible(false);      // 13
    SetUpPreview();
    if (vehicleCount() > 0) // 14
        showSelectedVehicle();
}

void frmPrincipal::resetProgramState() {
    global_.OverwriteChoice = OverwriteChoice::Ask;
    global_.MainWindowReady = false;
}

void frmPrincipal::setCaptions() {
    setWindowTitle(LoadMessage(MessageId::MainTitle, {"|1", title}));
    cmdCancel->setText(LoadMessage(MessageId::Quit));
    cmdCREATE->setText(LoadMessage(MessageId::Create));
    cmdPROPOS->setText(LoadMessage(MessageId::AboutProgram, {"|1", title}));
    cmdPROPOS_OCX->setText(LoadMessage(MessageId::AboutCanvas));
    cmdDelInfosPath->setText(LoadMessage(MessageId::DeleteRamettaPath));
    Label2->setText(ThumbnailsFolderNote(global_.Files));
    Label3->setText(LoadMessage(MessageId::LegendRamettaFolder));
    Label4->setText(LoadMessage(MessageId::LegendBuiltIn));
    Label5->setText(LoadMessage(MessageId::LegendMadeHere));
    Label6->setText(LoadMessage(MessageId::LegendToMake));
    lblQTE_FILES->clear();
    cmdCREATE->setEnabled(false);
}

void frmPrincipal::setUpZoomBar() {
    preview_->SetUpZoomBar();
    lblSCALEmin->setText(QStringLiteral("+"));
    lblSCALEmax->setText(QStringLiteral("-"));
}

void frmPrincipal::readStartFolders() {
    const StartFolders folders = ReadStartFolders(
        global_.Settings, global_.Files, platform::KnownWinePrefixes(global_.Files, global_.Wine));
    const MstsFolder& found = folders.Msts;
    global_.MstsPath = found.path;
    if (!found.prefix.isEmpty()) {
        // The Rametta dialog then opens in the same prefix's program files.
        global_.WinePrefix = found.prefix;
        if (global_.ProgramFilesFolder.isEmpty())
            global_.ProgramFilesFolder = found.programFiles;
    }
    global_.RamettaPath = folders.Rametta;
    // Told before any dialog opens, so that the user knows why they are asked again.
    if (!folders.Report.isEmpty())
        reportStartFolders(folders.Report);
}

void frmPrincipal::readMstsFolder() {
    if (global_.MstsPath.isEmpty())
        askMstsFolder();
}

void frmPrincipal::readRamettaFolder() {
    if (global_.RamettaPath.isEmpty())
        askRamettaFolder();
}

void frmPrincipal::reportStartFolders(const QString& text) {
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("StartFoldersReport"));
    box.exec();
}

void frmPrincipal::storeRamettaFolder() {
    // Every start, so that a folder chosen in the dialog survives a quit during the scan.
    global_.Settings.WriteSetting(SettingsRoot::LocalMachine,
                                  QString::fromUtf16(PictelleSettingsKey),
                                  QString::fromUtf16(RamettaPathValue), global_.RamettaPath);
}

// The dialog writes MstsPath itself: its start folder as it opens, the chosen one on OK.
// A folder confirmed with OK is kept for the next start; the registration, when there is
// one, still comes first.
void frmPrincipal::askMstsFolder() {
    dialogs::frmPathMSTS dialog(global_, this);
    // A folder without a simulator is not kept: the next start asks again.
    if (dialog.exec() == QDialog::Accepted &&
        SimulatorFolderFault(global_.Files, global_.MstsPath) == FolderFault::None)
        StoreMstsChoice(global_.Settings, global_.MstsPath);
}

// The same for RamettaPath, which the next step stores whatever it holds.
void frmPrincipal::askRamettaFolder() {
    dialogs::frmPathRAMETTA dialog(global_, this);
    dialog.exec();
}

void frmPrincipal::LoadThumbnailInventory() {
    global_.Thumbnails = inventory::LoadThumbnailInventory(global_.Files, global_.RamettaPath);
}

void frmPrincipal::runCatalogScan() {
    // The progress window's first tick runs the scan and fills the list; closing the window
    // during the scan ends the program.
    catalog::frmProgress progress(
        this, global_.MainWindowReady, [this](catalog::frmProgress& window) {
            catalog::ScanRollingStock(
                global_.Files, global_.MstsPath, global_.Catalog, &window,
                [this] { FillVehicleList(vehicleListControls(), global_.Catalog); });
        });
    progress.exec();
}

void frmPrincipal::ColourVehicleList() {
    app::ColourVehicleList(*lsvMATERIEL, global_.Thumbnails);
}

void frmPrincipal::SetUpPreview() {
    // Shows the window, then starts the canvas.
    preview_->SetUpPreview();
}

void frmPrincipal::showSelectedVehicle() {
    preview_->ShowVehicle(lsvMATERIEL->selectedCatalogIndex());
}

VehicleListControls frmPrincipal::vehicleListControls() const {
    return {lsvMATERIEL, cmdCREATE, lblQTE_FILES};
}

void frmPrincipal::lsvMATERIEL_ItemClick() {
    if (!global_.MainWindowReady)
        return;
    UpdateStatusLine(vehicleListControls(), global_.Catalog);
    preview_->ListClick();
}

int frmPrincipal::vehicleCount() const {
    const QAbstractItemModel* model = lsvMATERIEL->model();
    return model ? model->rowCount() : 0;
}

void frmPrincipal::cmdCancel_Click() {
    close();
}

void frmPrincipal::cmdDelInfosPath_Click() {
    // RamettaPath keeps its value for this run; the next start asks again.
    global_.Settings.ClearSettingKey(SettingsRoot::LocalMachine,
                                     QString::fromUtf16(PictelleSettingsKey),
                                     QString::fromUtf16(RamettaPathValue));
}

void frmPrincipal::cmdPROPOS_Click() {
    dialogs::frmPropos about(global_, this);
    about.exec();
}

void frmPrincipal::cmdPROPOS_OCX_Click() {
    sfCanvas1->ShowAbout();
}

void frmPrincipal::cmdCREATE_Click() {
    const QList<qsizetype> rows = lsvMATERIEL->selectedRows();
    if (rows.size() > 1)
        preview_->CreateSelection(rows);
    else
        preview_->CreateThumbnail();
}

void frmPrincipal::closeEvent(QCloseEvent* event) {
    // Nothing is stored at exit.
    preview_->ReleaseShape();
    event->accept();
}

} // namespace app
