#pragma once

// The progress window of a multiple creation: modal, owned by the main window. It names the
// vehicle in hand ("Création de l'image ..."), shows a bar and how many of the vehicles are
// done, and offers "Annuler", which lets the vehicle in hand finish and stops there. The run
// starts once the window shows and the window closes itself when the run finishes; its close
// box and Escape cancel as the button does.

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace preview {

class BatchCreation;

class frmCreationProgress : public QDialog {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 360;
    static constexpr int ClientHeight = 112;

    frmCreationProgress(QWidget* owner, BatchCreation& run);

    QLabel* lblIMAGE = nullptr;          // the vehicle being made
    QProgressBar* prgCREATION = nullptr; // share of the selection done
    QLabel* lblCOUNT = nullptr;          // "n sur m"
    QPushButton* cmdCancel = nullptr;    // asks the run to stop

    BatchCreation& run() const { return run_; }

public slots:
    // Only a finished run closes the window; before that, closing means cancelling.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showItem(qsizetype position);
    void showCount();
    void cmdCancel_Click();

    BatchCreation& run_;
    bool startQueued_ = false;
};

} // namespace preview
