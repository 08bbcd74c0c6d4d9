#pragma once

// Writes small simulator folders for the catalog tests: definition files in each text form
// the simulator and its tools produce, shape stand-ins and thumbnail folders.

#include "platform/FileSystem.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace fixture {

enum class TextForm { Ansi, Utf16LE, Utf16BE, Utf8Bom };
inline constexpr TextForm allTextForms[] = {TextForm::Ansi, TextForm::Utf16LE, TextForm::Utf16BE,
                                            TextForm::Utf8Bom};
const char* textFormName(TextForm form);

// The text in that form, byte-order mark included; Ansi is Windows-1252.
QByteArray encode(const QString& text, TextForm form);

// Writes the bytes, creating the missing folders.
void writeFile(const QString& nativePath, const QByteArray& bytes);
void makeFolder(const QString& nativePath);

// A temporary simulator folder (MSTS\TRAINS\TRAINSET) beside a Rametta folder and the
// program's own folder, with a file layer whose own folder is that one.
class Trainset {
public:
    enum class Storage { Temporary, Memory };
    // Memory: on tmpfs (/dev/shm) when the machine has it, for trees of many thousand files.
    explicit Trainset(Storage storage = Storage::Temporary);

    QString root() const { return dir_.path(); }
    QString msts() const { return root() + "/MSTS"; }
    QString trainset() const { return msts() + "/TRAINS/TRAINSET"; }
    QString rametta() const { return root() + "/Rametta"; }
    QString own() const { return root() + "/own"; }
    const platform::FileSystem& fs() const { return fs_; }

    // A definition file in a trainset folder ("" for the trainset folder itself).
    void definition(const QString& folder, const QString& name, const QString& text,
                    TextForm form = TextForm::Ansi);
    // A vehicle whose WagonShape names `shape` and whose shape file exists.
    void vehicle(const QString& folder, const QString& name, const QString& shape,
                 const QString& size = "3m 4m 20m");
    // Any file below the trainset folder.
    void file(const QString& relativePath, const QByteArray& bytes = "x");

private:
    QTemporaryDir dir_;
    platform::FileSystem fs_;
};

} // namespace fixture
