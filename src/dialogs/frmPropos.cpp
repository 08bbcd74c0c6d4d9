#include "dialogs/frmPropos.h"

#include "dialogs/AboutText.h"
#include "dialogs/ProgramPicture.h"
#include "dialogs/SystemInformation.h"
#include "shared/Global.h"
#include "shared/Messages.h"
#include "shared/SettingsStore.h"
#include "shared/Shell.h"

#include <QFrame>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>

namespace dialogs {

namespace {

// Point sizes of the layout, at the 96 dots per inch it was drawn for.
int pixels(double points) {
    return static_cast<int>(points * 96.0 / 72.0 + 0.5);
}

QFont sansSerif(double points, bool bold = false) {
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("DejaVu Sans")});
    font.setPixelSize(pixels(points));
    font.setBold(bold);
    return font;
}

void setTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

QLabel* label(QWidget* parent, const char* name, const QRect& geometry) {
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(geometry);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return l;
}

QFrame* line(QWidget* parent, const char* name, int y, const QColor& colour) {
    auto* f = new QFrame(parent);
    f->setObjectName(QString::fromLatin1(name));
    f->setGeometry(8, y, 449, 1);
    f->setAutoFillBackground(true);
    QPalette palette = f->palette();
    palette.setColor(QPalette::Window, colour);
    f->setPalette(palette);
    return f;
}

// Labels show CR LF line breaks as plain new lines.
QString shown(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

frmPropos::Actions frmPropos::defaultActions(app::Global& global) {
    Actions actions;
    actions.shellOpen = [&global](const QString& target) {
        return app::ShellOpen(target, &global.Files);
    };
    const SystemInformationTools tools =
        SystemInformationToolsFor(global.Files, global.Settings.locations().wineRegistry);
    actions.startSystemInformation = [tools] {
        return StartSystemInformation(tools);
    };
    actions.showMessage = [](QWidget* owner, const QString& text) {
        QMessageBox box(QMessageBox::NoIcon, QString::fromUtf16(app::ApplicationTitle), text,
                        QMessageBox::Ok, owner);
        box.exec();
    };
    return actions;
}

frmPropos::frmPropos(app::Global& global, QWidget* owner)
    : frmPropos(defaultActions(global), owner) {}

frmPropos::frmPropos(Actions actions, QWidget* owner)
    : QDialog(owner), actions_(std::move(actions)) {
    setObjectName(QStringLiteral("frmPropos"));
    build();
    load();
}

void frmPropos::build() {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(465, 247);
    setFont(sansSerif(8.25));

    lblTitle = label(this, "lblTitle", {160, 0, 291, 65});
    QFont title;
    title.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
                       QStringLiteral("DejaVu Serif")});
    title.setPixelSize(pixels(36));
    title.setBold(true);
    title.setItalic(true);
    lblTitle->setFont(title);
    setTextColour(lblTitle, QColor(255, 0, 0));

    lblComment = label(this, "lblComment", {160, 64, 289, 17});
    setTextColour(lblComment, QColor(0, 128, 128));

    lblDescript = label(this, "lblDescript", {160, 88, 291, 59});
    lblDescript->setFont(sansSerif(8.25, true));
    setTextColour(lblDescript, QColor(0, 0, 128));

    picIcon = label(this, "picIcon", {8, 16, 145, 138});
    picIcon->setPixmap(DrawProgramPicture(picIcon->size()));

    lblCourrier = label(this, "lblCourrier", {224, 152, 85, 13});
    setTextColour(lblCourrier, QColor(0, 0, 255));
    lblCourrier->setCursor(Qt::PointingHandCursor);
    lblCourrier->installEventFilter(this);

    Line1 = line(this, "Line1", 176, QColor(128, 128, 128));
    Line2 = line(this, "Line2", 177, QColor(255, 255, 255));

    lblDisclaimer = label(this, "lblDisclaimer", {8, 184, 345, 55});
    lblDisclaimer->setWordWrap(true);
    setTextColour(lblDisclaimer, QColor(0, 0, 0));

    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(360, 184, 97, 23);
    cmdOK->setDefault(true);
    cmdSysInfo = new QPushButton(this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setGeometry(360, 216, 97, 23);
    cmdSysInfo->setAutoDefault(false);
    setTabOrder(cmdOK, cmdSysInfo);

    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmPropos::cmdSysInfo_Click);
}

void frmPropos::load() {
    app::CenterOnScreen(this);
    const QString title = QString::fromUtf16(app::ApplicationTitle);
    setWindowTitle(app::LoadMessage(app::MessageId::AboutTitle, {"|1", title}));
    cmdSysInfo->setText(QStringLiteral("&") + app::LoadMessage(app::MessageId::SystemInformation));
    lblTitle->setText(title);
    lblDescript->setText(shown(AboutDescription()));
    lblCourrier->setText(app::LoadMessage(app::MessageId::AuthorAddress));
    // A build that names no maintainer offers no mail link rather than a mail to nobody.
    lblCourrier->setVisible(!lblCourrier->text().isEmpty());
    // The address stays whole even when it is wider than the place it was given.
    lblCourrier->resize(
        std::max(lblCourrier->width(),
                 lblCourrier->fontMetrics().horizontalAdvance(lblCourrier->text()) + 2),
        lblCourrier->height());
    lblComment->setText(ProgramComments());
    lblDisclaimer->setText(shown(AboutDisclaimer()));
}

void frmPropos::cmdSysInfo_Click() {
    bool started = false;
    try {
        started = actions_.startSystemInformation && actions_.startSystemInformation();
    } catch (...) {
        started = false;
    }
    if (!started && actions_.showMessage)
        actions_.showMessage(this, app::LoadMessage(app::MessageId::NoSystemInformation));
}

void frmPropos::lblCourrier_Click() {
    try {
        if (actions_.shellOpen)
            actions_.shellOpen(
                AuthorMailLink(lblCourrier->text(), QString::fromUtf16(app::ApplicationTitle)));
    } catch (...) {
        // A mail that cannot be handed over is not reported.
    }
}

bool frmPropos::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lblCourrier && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        lblCourrier_Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace dialogs
