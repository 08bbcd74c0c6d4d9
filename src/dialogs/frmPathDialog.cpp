#include "dialogs/frmPathDialog.h"

#include "dialogs/DriveList.h"
#include "dialogs/FolderList.h"
#include "dialogs/StartFolder.h"
#include "dialogs/TypedPath.h"
#include "inventory/ThumbnailInventory.h"
#include "platform/FileSystem.h"
#include "shared/Messages.h"
#include "shared/RememberedFolders.h"
#include "shared/SettingsStore.h"
#include "shared/Shell.h"
#include "state/Global.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>

namespace dialogs {

namespace {

constexpr int ClientHeight = 345;

// The dialogs were laid out for an 8-point sans serif; the substitutes keep its metrics.
QFont dialogFont() {
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("DejaVu Sans")});
    font.setPixelSize(11);
    return font;
}

// A caption wider than its design place (the substitute font runs wider) keeps its whole text.
void fitWidth(QLabel* label) {
    label->resize(std::max(label->width(), label->sizeHint().width()), label->height());
}

QLabel* label(QWidget* parent, const char* name, const QString& text, const QRect& geometry) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(geometry);
    return l;
}

} // namespace

frmPathDialog::frmPathDialog(app::Global& global, QString& target, const Design& design,
                             QWidget* owner, QList<Drive> drives)
    : QDialog(owner), global_(global), target_(target), design_(design) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(design.clientWidth, ClientHeight);
    setFont(dialogFont());

    const int wide = design.clientWidth - 16;
    const int buttonLeft = design.clientWidth - 97;

    Label2 = label(this, "Label2", QStringLiteral("Sélectionné :"), {8, 8, 62, 13});
    // A line rather than a label, so that a folder can be typed or pasted.
    lblCHEMIN = new QLineEdit(QStringLiteral("Label2"), this);
    lblCHEMIN->setObjectName(QStringLiteral("lblCHEMIN"));
    lblCHEMIN->setGeometry(8, 24, wide, 33);
    QFont bold = lblCHEMIN->font();
    bold.setBold(true);
    lblCHEMIN->setFont(bold);
    QPalette chosen = lblCHEMIN->palette();
    chosen.setColor(QPalette::WindowText, QColor(0, 0, 192));
    chosen.setColor(QPalette::Text, QColor(0, 0, 192));
    lblCHEMIN->setPalette(chosen);
    Label1 = label(this, "Label1", QStringLiteral("Répertoires :"), {8, 64, 60, 13});

    LstDir = new FolderList(
        global_.Files,
        [this](const QString& path) { return inventory::FolderExists(global_.Files, path); }, this);
    LstDir->setGeometry(8, 80, wide, 186);
    Label3 = label(this, "Label3", QStringLiteral("Lecteurs:"), {8, 280, 44, 13});
    LstLecteur =
        new DriveList(drives.isEmpty() ? AvailableDrives(global_.WinePrefix.isEmpty()
                                                             ? platform::FileSystem::winePrefix()
                                                             : global_.WinePrefix,
                                                         global_.Wine.home)
                                       : std::move(drives),
                      this);
    LstLecteur->setGeometry(8, 296, 161, 21);

    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(buttonLeft, 280, 89, 25);
    cmdCancel = new QPushButton(QStringLiteral("A&nnuler"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setGeometry(buttonLeft, 312, 89, 25);
    // Enter in the folder list opens a folder; it must not reach a default button.
    cmdOK->setAutoDefault(false);
    cmdCancel->setAutoDefault(false);
    setTabOrder(LstDir, LstLecteur);
    setTabOrder(LstLecteur, cmdOK);
    setTabOrder(cmdOK, cmdCancel);

    connect(LstDir, &FolderList::pathChanged, this, &frmPathDialog::LstDir_Change);
    connect(LstLecteur, &DriveList::driveChanged, this, &frmPathDialog::LstLecteur_Change);
    connect(cmdOK, &QPushButton::clicked, this, &frmPathDialog::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    // Enter in the line takes the folder as OK does (see eventFilter).
    lblCHEMIN->installEventFilter(this);
    connect(lblCHEMIN, &QLineEdit::textEdited, this, [this] { markRefused(false); });

    load();
}

void frmPathDialog::load() {
    LoadDone = false;
    setWindowTitle(design_.title);
    cmdCancel->setText(app::LoadMessage(app::MessageId::Cancel));
    Label1->setText(app::LoadMessage(app::MessageId::FoldersCaption));
    Label2->setText(app::LoadMessage(app::MessageId::SelectedCaption));
    Label3->setText(app::LoadMessage(app::MessageId::DrivesCaption));
    for (QLabel* caption : {Label1, Label2, Label3})
        fitWidth(caption);
    cmdOK->setEnabled(false);

    StartFolderSources sources;
    sources.readProgramFilesSetting = [this] {
        return global_.Settings.ReadSetting(app::SettingsRoot::LocalMachine,
                                            QString::fromUtf16(app::WindowsSettingsKey),
                                            QString::fromUtf16(app::ProgramFilesDirValue));
    };
    sources.folderExists = [this](const QString& path) {
        return inventory::FolderExists(global_.Files, path);
    };
    sources.ownFolder = global_.Files.ownFolder();
    sources.homeFolder = global_.Wine.home.isEmpty() ? QDir::homePath() : global_.Wine.home;
    ChooseStartFolder(target_, global_.ProgramFilesFolder, sources);

    const QString start = global_.Files.resolve(target_);
    LstLecteur->setDrive(start.isEmpty() ? target_ : start);
    LstDir->setPath(target_);
    ShowChosenFolder();
    LoadDone = true;
}

void frmPathDialog::ShowChosenFolder() {
    markRefused(false);
    lblCHEMIN->setText(platform::FileSystem::displayPath(LstDir->path()));
    if (LoadDone && !cmdOK->isEnabled())
        cmdOK->setEnabled(true);
}

void frmPathDialog::LstDir_Change() {
    const QString drive = LstLecteur->driveOf(LstDir->path());
    if (!drive.isEmpty())
        driveFolders_.insert(drive, LstDir->path());
    ShowChosenFolder();
}

void frmPathDialog::LstLecteur_Change() {
    const QString drive = LstLecteur->drive();
    if (drive.isEmpty())
        return;
    // Back on a drive, the folder list returns to the folder it last showed there.
    const QString folder = driveFolders_.value(drive, drive);
    if (LstDir->setPath(folder) || (folder != drive && LstDir->setPath(drive))) {
        ShowChosenFolder();
        return;
    }
    // A drive that cannot be opened: back to the drive of the folder shown, silently.
    if (!snappingBack_) {
        snappingBack_ = true;
        LstLecteur->setDrive(LstDir->path());
        snappingBack_ = false;
    }
    ShowChosenFolder();
}

bool frmPathDialog::applyTypedFolder() {
    const QString shown = platform::FileSystem::displayPath(LstDir->path());
    if (lblCHEMIN->text() == shown)
        return true;
    const QString home = global_.Wine.home.isEmpty() ? QDir::homePath() : global_.Wine.home;
    const QString typed = TypedFolder(lblCHEMIN->text(), home);
    // A relative text would name a folder below wherever the program was started.
    const bool absolute = typed.startsWith(u'/') || platform::FileSystem::isDrivePath(typed);
    if (absolute && LstDir->setPath(typed)) {
        // The same folder written otherwise moves nothing: show it as the list does.
        ShowChosenFolder();
        // The drive list follows to the drive that holds it.
        LstLecteur->setDrive(LstDir->path());
        return true;
    }
    markRefused(true);
    QApplication::beep();
    lblCHEMIN->selectAll();
    lblCHEMIN->setFocus();
    return false;
}

bool frmPathDialog::eventFilter(QObject* watched, QEvent* event) {
    // Taken here rather than from returnPressed: the line lets the key on to the dialog,
    // which would press the default button of the message a refusal has just opened.
    if (watched == lblCHEMIN && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (applyTypedFolder() && cmdOK->isEnabled())
                cmdOK_Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmPathDialog::refuseFolder(const QString& folder) {
    markRefused(true);
    // Window-modal and not waited for: the dialog stays open behind it for another choice.
    auto* box = new QMessageBox(QMessageBox::Warning, windowTitle(),
                                app::LoadMessage(app::MessageId::FolderRefused,
                                                 {"|1", platform::FileSystem::displayPath(folder)}),
                                QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("FolderRefused"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void frmPathDialog::markRefused(bool refused) {
    lblCHEMIN->setProperty("refused", refused);
    lblCHEMIN->setStyleSheet(refused ? QStringLiteral("QLineEdit { background: #ffd0d0; }")
                                     : QString());
}

void frmPathDialog::cmdOK_Click() {
    if (!applyTypedFolder())
        return;
    // A folder that cannot be listed would leave the program with nothing to read in it.
    if (app::ReadableFolderFault(global_.Files, LstDir->path()) == app::FolderFault::Unreadable) {
        refuseFolder(LstDir->path());
        return;
    }
    if (!lblCHEMIN->text().isEmpty())
        target_ = lblCHEMIN->text();
    accept();
}

void frmPathDialog::showEvent(QShowEvent* event) {
    if (!placed_) {
        placed_ = true;
        QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
        if (design_.centreOnOwner && owner) {
            const QRect area = owner->frameGeometry();
            move(area.x() + (area.width() - width()) / 2,
                 area.y() + (area.height() - height()) / 2);
        } else {
            app::CenterOnScreen(this);
        }
    }
    QDialog::showEvent(event);
}

} // namespace dialogs
