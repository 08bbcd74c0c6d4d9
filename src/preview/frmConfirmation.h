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

    QLabel* Label1 = nullptr;                 // the question, naming the existing file
    QLabel* Label2 = nullptr;                 // already there: what to do?
    QGroupBox* Frame1 = nullptr;              // box around the four answers
    QWidget* Picture1 = nullptr;              // panel inside Frame1 holding the answers
    QRadioButton* optRENAME = nullptr;        // replace this once
    QRadioButton* optNO_RENAME = nullptr;     // keep this once
    QRadioButton* optALL_RENAME = nullptr;    // replace for the rest of the run
    QRadioButton* optALL_NO_RENAME = nullptr; // keep for the rest of the run
    QPushButton* cmdOK = nullptr;             // gives the chosen answer

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
