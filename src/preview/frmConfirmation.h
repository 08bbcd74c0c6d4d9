#pragma once

// The overwrite question: a thumbnail of the same name is already in the Thumbnails folder.
// It names the file and offers four answers, each of which is written to OverwriteChoice
// as soon as its option is clicked; the dialog opens with "overwrite, ask again" selected,
// so closing it at once, by OK or by the close box, means OverwriteOnce.
//
// ConfirmationPolicy is the overwrite policy of the window: it shows this dialog, modal and
// owned by the main window, and answers what the user left selected.

#include "preview/OverwritePolicy.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace app {
struct Global;
}

namespace preview {

class frmConfirmation : public QDialog {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 499;
    static constexpr int ClientHeight = 247;

    // Runs the load step: reads PendingTargetPath and sets OverwriteChoice to OverwriteOnce.
    explicit frmConfirmation(app::Global& global, QWidget* owner = nullptr);

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QWidget* Picture1 = nullptr;
    QRadioButton* optRENAME = nullptr;
    QRadioButton* optNO_RENAME = nullptr;
    QRadioButton* optALL_RENAME = nullptr;
    QRadioButton* optALL_NO_RENAME = nullptr;
    QPushButton* cmdOK = nullptr;

private:
    void load();
    void optionClicked(OverwriteChoice choice);

    app::Global& global_;
};

class ConfirmationPolicy : public OverwritePolicy {
public:
    ConfirmationPolicy(app::Global& global, QWidget* owner) : global_(global), owner_(owner) {}
    OverwriteChoice AskOverwrite(const QString& targetPath) override;

private:
    app::Global& global_;
    QWidget* owner_;
};

} // namespace preview
