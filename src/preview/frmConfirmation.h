#pragma once

// The overwrite question: a thumbnail of the same name is already in the Thumbnails folder.
// It names the file and offers four answers; answer() is the one selected, whichever way the
// dialog closed. It opens with "overwrite, ask again" selected, so closing it at once, by OK
// or by the close box, means OverwriteOnce.
//
// ConfirmationPolicy is the overwrite policy of the window: it shows this dialog, modal and
// owned by the main window, and answers what the user left selected.

#include "preview/OverwritePolicy.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace preview {

class frmConfirmation : public QDialog {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 499;
    static constexpr int ClientHeight = 247;

    // Runs the load step: names `targetPath` and selects OverwriteOnce.
    explicit frmConfirmation(const QString& targetPath, QWidget* owner = nullptr);

    OverwriteChoice answer() const { return answer_; }

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

    QString targetPath_;
    OverwriteChoice answer_ = OverwriteChoice::OverwriteOnce;
};

class ConfirmationPolicy : public OverwritePolicy {
public:
    explicit ConfirmationPolicy(QWidget* owner) : owner_(owner) {}
    OverwriteChoice AskOverwrite(const QString& targetPath) override;

private:
    QWidget* owner_;
};

} // namespace preview
