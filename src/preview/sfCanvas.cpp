#include "preview/sfCanvas.h"

#include "shared/Messages.h"
#include "shared/Version.h"

#include <QMessageBox>
#include <QPainter>
#include <QTimer>

namespace preview {

sfCanvas::sfCanvas(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("sfCanvas1"));
    setFocusPolicy(Qt::StrongFocus);
    // Every pixel is painted from the picture or the background colour.
    setAttribute(Qt::WA_OpaquePaintEvent);
    vehicle_.setTextureCache(textureCache_);
    vehicle_.view().setBackColor(backColor_);
}

bool sfCanvas::InitialiseDevice() {
    device_ = true;
    return true;
}

bool sfCanvas::InitialiseScene() {
    sceneStarted_ = device_;
    return sceneStarted_;
}

sfCanvas* sfCanvas::Device() {
    return device_ ? this : nullptr;
}

void sfCanvas::setFileSystem(const platform::FileSystem* fileSystem) {
    fileSystem_ = fileSystem;
    vehicle_.setFileSystem(&this->fileSystem());
}

const platform::FileSystem& sfCanvas::fileSystem() const {
    return fileSystem_ ? *fileSystem_ : ownFileSystem_;
}

void sfCanvas::SceneValueA(int value) {
    sceneValueA_ = value;
    vehicle_.view().setFarPlane(value);
}

void sfCanvas::SceneValueB(int value) {
    sceneValueB_ = value;
    vehicle_.view().setLightElevation(value);
}

void sfCanvas::BackColor(quint32 bgr) {
    backColor_ = bgr & 0x00FFFFFFu;
    vehicle_.view().setBackColor(backColor_);
    update();
}

QColor sfCanvas::backgroundColour() const {
    return QColor(int(backColor_ & 0xFF), int((backColor_ >> 8) & 0xFF),
                  int((backColor_ >> 16) & 0xFF));
}

void sfCanvas::SetCamera(float distance, int, int, float& targetX, float& targetY, float& targetZ,
                         float upX, float upY, float upZ) {
    cameraDistance_ = distance;
    cameraTarget_ = {targetX, targetY, targetZ};
    vehicle_.view().setCamera(distance, {targetX, targetY, targetZ}, {upX, upY, upZ});
}

bool sfCanvas::BeginFrame() {
    if (!device_ || width() <= 0 || height() <= 0)
        return false;
    frame_ = render::RgbImage(width(), height(), vehicle_.view().background());
    frameDrawn_ = 0;
    inFrame_ = true;
    return true;
}

void sfCanvas::DrawShape() {
    if (!inFrame_)
        return;
    render::RenderStats stats;
    frame_ = vehicle_.render(frame_.width, frame_.height, &stats);
    frameDrawn_ = stats.drawnSamples;
}

void sfCanvas::EndFrame() {
    if (!inFrame_)
        return;
    inFrame_ = false;
    picture_ = std::move(frame_);
    pictureDrawn_ = frameDrawn_;
    frame_ = {};
    shown_ = QImage(picture_.rgb.data(), picture_.width, picture_.height, picture_.width * 3,
                    QImage::Format_RGB888)
                 .copy();
    update();
}

render::RgbImage sfCanvas::shownPicture() const {
    if (picture_.width == width() && picture_.height == height())
        return picture_;
    return render::RgbImage(width(), height(), vehicle_.view().background());
}

QString sfCanvas::TakeScreenshot() {
    return writeScreenshot(fileSystem(), screenshotLocation_, shownPicture());
}

void sfCanvas::ShowAbout() {
    const QString text =
        QStringLiteral("sfCanvas\n") +
        app::LoadMessage(app::MessageId::Version, {"|1", QString::fromLatin1(app::VersionText)}) +
        u'\n' + app::LoadMessage(app::MessageId::Toolchain);
    QMessageBox box(QMessageBox::Information, app::LoadMessage(app::MessageId::AboutCanvas), text,
                    QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("sfCanvasAbout"));
    box.exec();
}

void sfCanvas::Left(float value) {
    move(qRound(value), y());
}

void sfCanvas::Top(float value) {
    move(x(), qRound(value));
}

void sfCanvas::Width(float value) {
    resize(qRound(value), height());
}

void sfCanvas::Height(float value) {
    resize(width(), qRound(value));
}

void sfCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (shown_.size() == size())
        painter.drawImage(0, 0, shown_);
    else
        painter.fillRect(rect(), backgroundColour());
}

void sfCanvas::resizeEvent(QResizeEvent*) {
    requestRepaint();
}

void sfCanvas::showEvent(QShowEvent*) {
    requestRepaint();
}

void sfCanvas::requestRepaint() {
    // Raised from the event loop, not from inside a resize or a paint, and once for a burst
    // of changes; the host then draws a new frame.
    if (repaintQueued_)
        return;
    repaintQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        repaintQueued_ = false;
        emit RepaintNeeded();
    });
}

} // namespace preview
