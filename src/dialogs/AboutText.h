#pragma once

// The texts of the about box, composed from the message table and the program's metadata.

#include "shared/Version.h"

#include <QRect>
#include <QString>

namespace dialogs {

struct ProgramVersion {
    int major;
    int minor;
    int revision;
};

inline constexpr ProgramVersion PictelleVersion{app::VersionMajor, app::VersionMinor,
                                                app::VersionPatch};

// The comments line under the title.
QString ProgramComments();

// Four lines joined by CR LF: the version, the development credit, the graphics credit and
// the legal notice after "Copyright ".
QString AboutDescription(const ProgramVersion& version = PictelleVersion);

// The distribution notice, its marker turned into a line break.
QString AboutDisclaimer();

// The text handed to the shell to write to the author: "mailto:" + address + "?Subject=" +
// the subject line, whose marker receives the title in upper case. Nothing is encoded.
QString AuthorMailLink(const QString& address, const QString& applicationTitle);

// Where the address goes: its designed place, widened to the text's width, then moved left
// as far as needed to end inside the box's margin (a maintainer's address can be long), but
// never past the left margin.
QRect AddressPlace(const QRect& designed, int textWidth, int boxWidth, int margin);

} // namespace dialogs
