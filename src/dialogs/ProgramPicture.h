#pragma once

// The picture of the about box: a framed thumbnail of a locomotive on its track, drawn by
// code so that the program carries no picture files.

#include <QPixmap>
#include <QSize>

namespace dialogs {

QPixmap DrawProgramPicture(const QSize& size);

} // namespace dialogs
