#include "shared/WineRegistry.h"

#include <gtest/gtest.h>

#include <random>

using app::FindWineRegistryText;

namespace {

const QString mstsKey =
    QStringLiteral("SOFTWARE\\Microsoft\\Microsoft Games\\Train Simulator\\1.0");

// A registry file as Wine writes it: header, sections with a time stamp, escaped texts.
const QByteArray sample = R"(WINE REGISTRY Version 2
;; All keys relative to \\Machine

#arch=win32

[Software\\Microsoft\\Microsoft Games\\Train Simulator\\1.0] 1700000000
#time=1da1b2c3d4e5f60
"Language"=dword:00000409
"Path"="C:\\Program Files\\Microsoft Games\\Train Simulator"
"Quoted"="say \"hi\"\\"
"Accents"="D:\\Jeux\\Cr\x00e9ation \xe0 faire"
"Octal"="a\101b\tc"
"Expand"=str(2):"%ProgramFiles%\\MSTS"
"Binary"=hex:01,02,03,\
  04,05
@="default text"

[Software\\Microsoft\\Windows\\CurrentVersion] 1700000001
"ProgramFilesDir"="C:\\Program Files"
)";

} // namespace

TEST(WineRegistry, FindsQuotedTextsAndUndoesEscapes) {
    EXPECT_EQ(FindWineRegistryText(sample, mstsKey, QStringLiteral("Path")),
              QStringLiteral("C:\\Program Files\\Microsoft Games\\Train Simulator"));
    EXPECT_EQ(FindWineRegistryText(sample, mstsKey, QStringLiteral("Quoted")),
              QStringLiteral("say \"hi\"\\"));
    EXPECT_EQ(FindWineRegistryText(sample, mstsKey, QStringLiteral("Accents")),
              QString::fromUtf16(u"D:\\Jeux\\Cr\u00e9ation \u00e0 faire"));
    EXPECT_EQ(FindWineRegistryText(sample, mstsKey, QStringLiteral("Octal")),
              QStringLiteral("aAb\tc"));
    EXPECT_EQ(FindWineRegistryText(sample, mstsKey, QString()), QStringLiteral("default text"));
    EXPECT_EQ(FindWineRegistryText(sample,
                                   QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion"),
                                   QStringLiteral("ProgramFilesDir")),
              QStringLiteral("C:\\Program Files"));
}

TEST(WineRegistry, NamesCompareWithoutRegardToCase) {
    EXPECT_EQ(FindWineRegistryText(sample, mstsKey.toLower(), QStringLiteral("PATH")),
              QStringLiteral("C:\\Program Files\\Microsoft Games\\Train Simulator"));
}

TEST(WineRegistry, OtherValueKindsAndMissingNamesGiveNothing) {
    for (const char* name : {"Language", "Expand", "Binary", "Missing"})
        EXPECT_FALSE(FindWineRegistryText(sample, mstsKey, QLatin1String(name))) << name;
    // A value of another key, and a key that is only a prefix of a section, do not count.
    EXPECT_FALSE(FindWineRegistryText(sample, mstsKey, QStringLiteral("ProgramFilesDir")));
    EXPECT_FALSE(FindWineRegistryText(sample, QStringLiteral("Software\\Microsoft"),
                                      QStringLiteral("Path")));
    EXPECT_FALSE(FindWineRegistryText(QByteArray(), mstsKey, QStringLiteral("Path")));
}

TEST(WineRegistry, ReadsWindowsLineEndings) {
    QByteArray crlf = sample;
    crlf.replace("\n", "\r\n");
    EXPECT_EQ(FindWineRegistryText(crlf, mstsKey, QStringLiteral("Path")),
              QStringLiteral("C:\\Program Files\\Microsoft Games\\Train Simulator"));
}

TEST(WineRegistry, DamagedLinesAreSkipped) {
    const QByteArray damaged =
        "[Software\\\\Microsoft\\\\Microsoft Games\\\\Train Simulator\\\\1.0\n"
        "\"Path\"=\"C:\\\\unterminated\n"
        "[Software\\\\Microsoft\\\\Microsoft Games\\\\Train Simulator\\\\1.0]\n"
        "\"Path\n"
        "\"Path\"\n"
        "\"Path\"=\"\\x\"\n"
        "\"Other\"=\"ok\\\n";
    // The only complete Path line has an empty-digit hex escape, read as a plain 'x'.
    EXPECT_EQ(FindWineRegistryText(damaged, mstsKey, QStringLiteral("Path")), QStringLiteral("x"));
    EXPECT_FALSE(FindWineRegistryText(damaged, mstsKey, QStringLiteral("Other")));
}

TEST(WineRegistry, RandomBytesNeverBreakTheReader) {
    std::mt19937 random(12345);
    const QByteArray alphabet = "[]\"\\=@x0\n\r abc:";
    for (int round = 0; round < 200; ++round) {
        QByteArray noise(1 + int(random() % 4000), '\0');
        for (char& c : noise)
            c = random() % 3 == 0 ? char(random() % 256)
                                  : alphabet[int(random() % alphabet.size())];
        const QByteArray file = sample + noise + sample.left(int(random() % sample.size()));
        (void)FindWineRegistryText(file, mstsKey, QStringLiteral("Path"));
    }
    // The value before the noise is still found.
    const QByteArray tail(100000, '\\');
    EXPECT_EQ(FindWineRegistryText(sample + tail, mstsKey, QStringLiteral("Path")),
              QStringLiteral("C:\\Program Files\\Microsoft Games\\Train Simulator"));
}

TEST(WineRegistry, ReadsEveryValueKindWithItsType) {
    using Form = app::WineRegistryValue::Form;
    const std::optional<app::WineRegistryValue> number =
        app::ReadWineRegistryValue(sample, mstsKey, QStringLiteral("Language"));
    ASSERT_TRUE(number);
    EXPECT_EQ(number->form, Form::Dword);
    EXPECT_EQ(number->type, 4u);

    const std::optional<app::WineRegistryValue> expand =
        app::ReadWineRegistryValue(sample, mstsKey, QStringLiteral("Expand"));
    ASSERT_TRUE(expand);
    EXPECT_EQ(expand->form, Form::Str);
    EXPECT_EQ(expand->type, 2u);
    EXPECT_EQ(expand->text, QStringLiteral("%ProgramFiles%\\MSTS"));

    // The byte list runs on over the next line.
    const std::optional<app::WineRegistryValue> binary =
        app::ReadWineRegistryValue(sample, mstsKey, QStringLiteral("Binary"));
    ASSERT_TRUE(binary);
    EXPECT_EQ(binary->form, Form::Hex);
    EXPECT_EQ(binary->type, 3u);
    EXPECT_EQ(binary->bytes, QByteArray("\x01\x02\x03\x04\x05"));

    // A leading backslash on the key is not part of its name.
    EXPECT_TRUE(app::ReadWineRegistryValue(sample, "\\" + mstsKey + "\\", QStringLiteral("Path")));
}

TEST(WineRegistry, OnlyByteListsRunOnOverLines) {
    const QByteArray file = "[K] 1\n"
                            "\"Text\"=\"C:\\\n"
                            "\"Other\"=\"x\"\n"
                            "\"Bytes\"=hex(1):41,00,\\\r\n"
                            "  42,00,00,00\r\n"
                            "\"Bad\"=hex:1g\n";
    // An unclosed text does not swallow the next line.
    EXPECT_FALSE(app::ReadWineRegistryValue(file, QStringLiteral("K"), QStringLiteral("Text")));
    EXPECT_EQ(FindWineRegistryText(file, QStringLiteral("K"), QStringLiteral("Other")),
              QStringLiteral("x"));
    const std::optional<app::WineRegistryValue> bytes =
        app::ReadWineRegistryValue(file, QStringLiteral("K"), QStringLiteral("Bytes"));
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->type, 1u);
    EXPECT_EQ(bytes->text, QStringLiteral("AB"));
    EXPECT_FALSE(app::ReadWineRegistryValue(file, QStringLiteral("K"), QStringLiteral("Bad")));
}

TEST(WineRegistry, ARunOnValuePastTheLimitIsAbsentAndTheRestStillReads) {
    // A byte list that runs on for a megabyte, as a damaged file may hold, then a value the
    // program wants in the same key, and one just under the limit.
    QByteArray file = "[K] 1\n\"Huge\"=hex:00";
    for (int line = 0; line < 20000; ++line)
        file += ",\\\n  " + QByteArray("41,").repeated(16) + "41";
    file += "\n\"Path\"=\"C:\\\\MSTS\"\n\"Fits\"=hex:";
    const qsizetype fits = (app::MaxWineRegistryValueBytes - 8) / 3;
    file += QByteArray("42,").repeated(fits) + "42\n";

    EXPECT_FALSE(app::ReadWineRegistryValue(file, QStringLiteral("K"), QStringLiteral("Huge")));
    EXPECT_EQ(FindWineRegistryText(file, QStringLiteral("K"), QStringLiteral("Path")),
              QStringLiteral("C:\\MSTS"));
    const std::optional<app::WineRegistryValue> under =
        app::ReadWineRegistryValue(file, QStringLiteral("K"), QStringLiteral("Fits"));
    ASSERT_TRUE(under);
    EXPECT_EQ(under->bytes.size(), fits + 1);
}
