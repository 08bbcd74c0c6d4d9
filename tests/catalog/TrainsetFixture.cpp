#include "TrainsetFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace fixture {

const char* textFormName(TextForm form) {
    switch (form) {
    case TextForm::Ansi:
        return "Ansi";
    case TextForm::Utf16LE:
        return "Utf16LE";
    case TextForm::Utf16BE:
        return "Utf16BE";
    case TextForm::Utf8Bom:
        return "Utf8Bom";
    }
    return "?";
}

QByteArray encode(const QString& text, TextForm form) {
    QByteArray out;
    switch (form) {
    case TextForm::Ansi:
        // The test texts use Latin-1 letters only, which Windows-1252 shares.
        return text.toLatin1();
    case TextForm::Utf8Bom:
        return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    case TextForm::Utf16LE:
    case TextForm::Utf16BE: {
        const bool little = form == TextForm::Utf16LE;
        out.append(little ? "\xFF\xFE" : "\xFE\xFF", 2);
        for (const QChar c : text) {
            const char lo = static_cast<char>(c.unicode() & 0xFF);
            const char hi = static_cast<char>(c.unicode() >> 8);
            out.append(little ? lo : hi);
            out.append(little ? hi : lo);
        }
        return out;
    }
    }
    return out;
}

void makeFolder(const QString& nativePath) {
    ASSERT_TRUE(QDir().mkpath(nativePath)) << nativePath.toStdString();
}

void writeFile(const QString& nativePath, const QByteArray& bytes) {
    makeFolder(QFileInfo(nativePath).path());
    QFile f(nativePath);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << nativePath.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

namespace {
QString templatePath(Trainset::Storage storage) {
    const QFileInfo shm("/dev/shm");
    const QString base = storage == Trainset::Storage::Memory && shm.isDir() && shm.isWritable()
                             ? shm.filePath()
                             : QDir::tempPath();
    return base + "/pictelle-catalog-XXXXXX";
}
} // namespace

Trainset::Trainset(Storage storage)
    : dir_(templatePath(storage)),
      fs_(platform::FileSystem::Options{dir_.path() + "/wine/dosdevices", dir_.path() + "/own",
                                        dir_.path() + "/data"}) {
    makeFolder(trainset());
    makeFolder(own());
}

void Trainset::definition(const QString& folder, const QString& name, const QString& text,
                          TextForm form) {
    writeFile(trainset() + "/" + folder + "/" + name, encode(text, form));
}

void Trainset::vehicle(const QString& folder, const QString& name, const QString& shape,
                       const QString& size) {
    definition(folder, name,
               "SIMISA@@@@@@@@@@JINX0D0t______\r\n\r\nWagon ( " + name + "\r\n\tWagonShape ( " +
                   shape + " )\r\n\tSize ( " + size + " )\r\n)\r\n");
    file(folder + "/" + shape, "shape");
}

void Trainset::file(const QString& relativePath, const QByteArray& bytes) {
    writeFile(trainset() + "/" + relativePath, bytes);
}

} // namespace fixture
