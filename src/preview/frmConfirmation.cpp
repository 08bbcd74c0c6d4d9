#include "preview/frmConfirmation.h"

#include "platform/FileSystem.h"
#include "shared/Messages.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace preview {

namespace {

QRadioButton* makeOption(QWidget* parent, const char* name, int top) {
    auto* option = new QRadioButton(parent);
    option->setObjectName(QLatin1String(name));
    option->setGeometry(16, top, 441, 17);
    return option;
}

} // namespace

frmConfirmation::frmConfirmation(const QString& targetPath, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      targetPath_(targetPath) {
    setObjectName(QStringLiteral("frmConfirmation"));
    setModal(true);
    setFixedSize(ClientWidth, ClientHeight);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(8, 8, 481, 41);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setWordWrap(true);
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);

    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(8, 56, 481, 33);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(8, 96, 481, 113);
    Picture1 = new QWidget(Frame1);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(8, 16, 465, 89);

    optRENAME = makeOption(Picture1, "optRENAME", 5);
    optNO_RENAME = makeOption(Picture1, "optNO_RENAME", 25);
    optALL_RENAME = makeOption(Picture1, "optALL_RENAME", 45);
    optALL_NO_RENAME = makeOption(Picture1, "optALL_NO_RENAME", 65);

    cmdOK = new QPushButton(this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(200, 216, 113, 25);
    cmdOK->setText(QStringLiteral("&Ok"));
    cmdOK->setDefault(true);

    // Every option takes its answer at once; however the dialog closes, that answer stands.
    const std::pair<QRadioButton*, OverwriteChoice> options[] = {
        {optRENAME, OverwriteChoice::OverwriteOnce},
        {optNO_RENAME, OverwriteChoice::KeepOnce},
        {optALL_RENAME, OverwriteChoice::OverwriteAlways},
        {optALL_NO_RENAME, OverwriteChoice::KeepAlways},
    };
    for (const auto& [option, choice] : options) {
        const OverwriteChoice value = choice;
        connect(option, &QRadioButton::clicked, this, [this, value] { optionClicked(value); });
    }
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    load();
}

void frmConfirmation::load() {
    setWindowTitle(QString::fromUtf16(app::ApplicationTitle) +
                   app::LoadMessage(app::MessageId::ConfirmationTitle));
    Label1->setText(app::LoadMessage(app::MessageId::ConfirmationFile,
                                     {"|1", platform::FileSystem::displayPath(targetPath_)}));
    Label2->setText(app::LoadMessage(app::MessageId::ConfirmationQuestion, {"|1", "\r\n"}));
    optRENAME->setText(app::LoadMessage(app::MessageId::Replace));
    optNO_RENAME->setText(app::LoadMessage(app::MessageId::Keep));
    optALL_RENAME->setText(app::LoadMessage(app::MessageId::ReplaceAll));
    optALL_NO_RENAME->setText(app::LoadMessage(app::MessageId::KeepAll));
    Frame1->setTitle(app::LoadMessage(app::MessageId::ConfirmationChoice));
    // Selecting runs the option's action, as a click would.
    optRENAME->setChecked(true);
    optionClicked(OverwriteChoice::OverwriteOnce);
}

void frmConfirmation::optionClicked(OverwriteChoice choice) {
    answer_ = choice;
}

OverwriteChoice ConfirmationPolicy::AskOverwrite(const QString& targetPath) {
    frmConfirmation dialog(targetPath, owner_);
    dialog.exec();
    return dialog.answer();
}

} // namespace preview
