#pragma once

// The design shared by the two folder dialogs, frmPathMSTS and frmPathRAMETTA: a line with
// the chosen folder, a folder list, a drive list, OK and Cancel. The dialog writes its target
// variable itself: the start folder as it opens, the folder shown in lblCHEMIN on OK.
// A folder typed or pasted into lblCHEMIN moves the list there, and Enter then confirms it as
// OK does; a text that names no folder is refused: the line turns red and the dialog stays
// open. A folder that cannot be listed is refused on OK with a message.

#include "dialogs/Drives.h"

#include <QDialog>
#include <QHash>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

namespace app {
struct Global;
}

namespace dialogs {

class DriveList;
class FolderList;

class frmPathDialog : public QDialog {
    Q_OBJECT
public:
    struct Design {
        QString title;
        int clientWidth;
        // Centred on the owner window, or else on the screen.
        bool centreOnOwner;
    };

    // Runs the load step at once, so the target holds the start folder from here on.
    // `drives` empty: the machine's drives (AvailableDrives()).
    frmPathDialog(app::Global& global, QString& target, const Design& design,
                  QWidget* owner = nullptr, QList<Drive> drives = {});

    bool loadDone() const { return LoadDone; }

    QLabel* Label1;         // caption of the folder list
    QLabel* Label2;         // caption of the chosen folder
    QLabel* Label3;         // caption of the drive list
    QLineEdit* lblCHEMIN;   // the chosen folder
    FolderList* LstDir;     // the folder list
    DriveList* LstLecteur;  // the drive list
    QPushButton* cmdOK;     // keeps the chosen folder
    QPushButton* cmdCancel; // leaves without choosing

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void load();
    void ShowChosenFolder();
    void LstDir_Change();
    void LstLecteur_Change();
    void cmdOK_Click();
    // Moves the list to the folder typed in lblCHEMIN; false, marked, when it names none.
    bool applyTypedFolder();
    // Keeps the dialog open on a folder that cannot be listed, and says so.
    void refuseFolder(const QString& folder);
    void markRefused(bool refused);

    app::Global& global_;
    QString& target_;
    Design design_;
    bool LoadDone = false;
    bool placed_ = false;
    bool snappingBack_ = false;
    // The folder last shown on each drive, so that going back to a drive returns there.
    QHash<QString, QString> driveFolders_;
};

} // namespace dialogs
