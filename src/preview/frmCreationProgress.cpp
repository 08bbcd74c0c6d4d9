#include "preview/frmCreationProgress.h"

#include "preview/BatchCreation.h"
#include "shared/Messages.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

namespace preview {

frmCreationProgress::frmCreationProgress(QWidget* owner, BatchCreation& run)
    : QDialog(owner), run_(run) {
    setObjectName(QStringLiteral("frmCreationProgress"));
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    setFixedSize(ClientWidth, ClientHeight);
    setWindowTitle(app::LoadMessage(app::MessageId::CreationTitle, {"|1", app::ApplicationTitle}));

    lblIMAGE = new QLabel(this);
    lblIMAGE->setObjectName(QStringLiteral("lblIMAGE"));
    lblIMAGE->setGeometry(12, 10, ClientWidth - 24, 17);
    lblIMAGE->setTextFormat(Qt::PlainText);

    prgCREATION = new QProgressBar(this);
    prgCREATION->setObjectName(QStringLiteral("prgCREATION"));
    prgCREATION->setGeometry(12, 34, ClientWidth - 24, 20);
    prgCREATION->setRange(0, int(run_.total()));
    prgCREATION->setTextVisible(false);

    lblCOUNT = new QLabel(this);
    lblCOUNT->setObjectName(QStringLiteral("lblCOUNT"));
    lblCOUNT->setGeometry(12, 58, ClientWidth - 24, 17);
    lblCOUNT->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    cmdCancel = new QPushButton(app::LoadMessage(app::MessageId::Cancel), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setGeometry((ClientWidth - 89) / 2, 80, 89, 25);
    cmdCancel->setAutoDefault(false);

    connect(&run_, &BatchCreation::itemStarted, this, &frmCreationProgress::showItem);
    connect(&run_, &BatchCreation::itemFinished, this, [this] { showCount(); });
    connect(&run_, &BatchCreation::finished, this, [this] { QDialog::done(Accepted); });
    connect(cmdCancel, &QPushButton::clicked, this, &frmCreationProgress::cmdCancel_Click);

    if (run_.total() > 0)
        showItem(run_.current());
    showCount();
}

void frmCreationProgress::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Started from the window's own event loop, so that a run that ends at once still closes
    // it.
    if (!startQueued_) {
        startQueued_ = true;
        QTimer::singleShot(0, this, [this] { run_.start(); });
    }
}

void frmCreationProgress::done(int result) {
    if (run_.isFinished()) {
        QDialog::done(result);
        return;
    }
    cmdCancel_Click();
}

void frmCreationProgress::showItem(qsizetype position) {
    if (position < 0 || position >= run_.total())
        return;
    lblIMAGE->setText(
        app::LoadMessage(app::MessageId::Creating, {"|1", run_.entry(position).vehicleName()}));
}

void frmCreationProgress::showCount() {
    prgCREATION->setValue(int(run_.done()));
    lblCOUNT->setText(
        app::LoadMessage(app::MessageId::CreationCount, {"|1", run_.done(), "|2", run_.total()}));
}

void frmCreationProgress::cmdCancel_Click() {
    cmdCancel->setEnabled(false);
    run_.cancel();
}

} // namespace preview
