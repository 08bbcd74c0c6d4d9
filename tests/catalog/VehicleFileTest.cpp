#include "catalog/VehicleFile.h"

#include "TrainsetFixture.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <clocale>

using namespace catalog;
using fixture::TextForm;

namespace {

struct Case {
    const char* what;
    QString text;
    QString shape;
    double length;
};

// Each definition text and what the readers must take from it. Lines end with CR LF unless
// the case is about line ends.
std::vector<Case> cases() {
    return {
        {"plain", "WagonShape ( scotsman.s )\r\n", "scotsman.s", 0},
        {"tabs before, quotes around, space inside",
         "Wagon ( w\r\n\t\tWagonShape ( \"My Loco.s\" )\r\n)", "My Loco.s", 0},
        {"any letter case, no spaces", "wagonshape(x.s)", "x.s", 0},
        {"name on the next line is passed over",
         "WagonShape (\r\nname.s )\r\nWagonShape ( later.s )\r\n", "later.s", 0},
        {"first closing bracket ends the value", "WagonShape ( x.s ) ( y.s )", "x.s", 0},
        {"tab before the closing bracket survives", "WagonShape (\tx.s\t)", "x.s\t", 0},
        {"brackets in the wrong order are passed over", "WagonShape ) x.s (\r\nWagonShape ( y.s )",
         "y.s", 0},
        {"only the first line counts", "WagonShape ( one.s )\r\nWagonShape ( two.s )", "one.s", 0},
        {"metres", "Size ( 3.1m 4.2m 20.5m )", "", 20.5},
        {"feet", "Size ( 10ft 14ft 60ft )", "", 60 / 3.28},
        {"feet in capitals", "Size ( 10FT 14FT 60FT )", "", 60 / 3.28},
        {"inches are not converted", "Size ( 3m 4m 67in )", "", 67},
        {"the comma ends the number", "Size ( 3m 4m 1,5m )", "", 1},
        {"a comment line holding the token is taken", "comment ( Size note )\r\nSize ( 3m 4m 20m )",
         "", 0},
        {"a single word is the length", "Size ( 20.5m )", "", 20.5},
        {"no space at all", "Size(20.5m)", "", 20.5},
        {"exponents", "Size ( 3m 4m 2.5E1m )", "", 25},
        {"D exponent", "Size ( 3m 4m 1D1 )", "", 10},
        {"empty value", "Size ( )", "", 0},
        {"both on one line take the same brackets", "WagonShape ( a.s ) Size ( 1m 2m 3m )", "a.s",
         0},
        // Intended: files edited on Linux end their lines with a lone line feed, and are
        // often saved with a UTF-8 byte-order mark (the Utf8Bom form below).
        {"a lone line feed ends a line, as in files written on Linux",
         "Wagon ( w\n\tWagonShape ( a.s )\n\tSize ( 3m 4m 12m )\n)\n", "a.s", 12},
        {"carriage returns alone end lines", "Wagon ( w\r\tWagonShape ( b.s )\r\tSize ( 1 2 8 )\r",
         "b.s", 8},
        {"letters beyond ASCII", "WagonShape ( Locom\u00e9 \u00e0 vapeur.s )",
         "Locom\u00e9 \u00e0 vapeur.s", 0},
        {"no token at all", "Wagon ( w\r\n)\r\n", "", 0},
        {"empty file", "", "", 0},
        {"a typical vehicle",
         "SIMISA@@@@@@@@@@JINX0D0t______\r\n\r\nWagon ( GP38\r\n\tType ( Engine )\r\n"
         "\tWagonShape ( GP38.s )\r\n\tSize ( 3.1m 4.6m 18.03m )\r\n\tMass ( 113t )\r\n)\r\n"
         "Engine ( GP38\r\n\tType ( Diesel )\r\n)\r\n",
         "GP38.s", 18.03},
    };
}

class VehicleFileReaderTest : public ::testing::Test {
protected:
    fixture::Trainset set;
};

// Every form the simulator's tools write, and the forms files edited on Linux take (UTF-8
// with its byte-order mark, lone line feeds), must read the same, with the two readers and
// with the single reading the walk uses.
TEST_F(VehicleFileReaderTest, EveryCaseReadsTheSameInEveryTextForm) {
    int n = 0;
    for (const Case& c : cases()) {
        for (const TextForm form : fixture::allTextForms) {
            const QString name = QString("v%1_%2.eng").arg(n++).arg(fixture::textFormName(form));
            set.definition("F", name, c.text, form);
            const QString path = set.trainset() + "\\F\\" + name;
            SCOPED_TRACE(std::string(c.what) + " / " + fixture::textFormName(form));
            const VehicleValues once = ReadVehicleFile(set.fs(), path);
            EXPECT_TRUE(once.readable);
            EXPECT_EQ(once.shape, c.shape);
            EXPECT_DOUBLE_EQ(once.length, c.length);
        }
    }
}

TEST_F(VehicleFileReaderTest, UnreadableFilesGiveEmptyValues) {
    fixture::makeFolder(set.trainset() + "/F/folder.eng");
    for (const QString& path : {set.trainset() + "/F/missing.eng", set.trainset() + "/F/folder.eng",
                                set.trainset() + "/F/folder.eng\\", QString()}) {
        SCOPED_TRACE(path.toStdString());
        const VehicleValues none = ReadVehicleFile(set.fs(), path);
        EXPECT_FALSE(none.readable);
        EXPECT_EQ(none.shape, "");
        EXPECT_EQ(none.length, 0.0);
    }
}

TEST_F(VehicleFileReaderTest, FileExistsIsTrueForReadableFilesOnly) {
    set.file("F/a.eng");
    fixture::makeFolder(set.trainset() + "/F/sub");
    const QString folder = set.trainset() + "\\F";
    EXPECT_TRUE(FileExists(set.fs(), folder + "\\a.eng"));
    EXPECT_TRUE(FileExists(set.fs(), folder + "\\A.ENG"));
    EXPECT_TRUE(FileExists(set.fs(), folder + "\\a.eng\\")); // one trailing backslash dropped
    EXPECT_FALSE(FileExists(set.fs(), folder));
    EXPECT_FALSE(FileExists(set.fs(), folder + "\\"));
    EXPECT_FALSE(FileExists(set.fs(), folder + "\\sub\\"));
    EXPECT_FALSE(FileExists(set.fs(), folder + "\\b.eng"));
    EXPECT_FALSE(FileExists(set.fs(), ""));
    EXPECT_FALSE(FileExists(set.fs(), "\\"));
}

TEST(StripValueTest, RemovesEachLayerInTurnAndAtMostOneBracketOrQuote) {
    const std::pair<QString, QString> cases[] = {
        {" scotsman.s )", "scotsman.s"},
        {" \"My Loco.s\" )", "My Loco.s"},
        {"\tx.s\t)", "x.s\t"},
        {"\t  \tx.s )", "x.s"},
        {" x.s \t \t", "x.s"},
        {"((x))", "(x)"},
        {"\"\"x\"\" )", "\"x\""},
        {" \" spaced \" )", " spaced "},
        {"\t", ""},
        {"", ""},
        {")", ""},
        {"\"", ""},
    };
    for (const auto& [in, out] : cases) {
        QString value = in;
        StripValue(value);
        EXPECT_EQ(value, out) << "from [" << in.toStdString() << "]";
    }
}

TEST(LeadingNumberTest, ReadsTheNumberAtTheStartAndStopsAtTheFirstOtherCharacter) {
    EXPECT_DOUBLE_EQ(LeadingNumber("20.5m"), 20.5);
    EXPECT_DOUBLE_EQ(LeadingNumber("  \t12.5e2xyz"), 1250);
    EXPECT_DOUBLE_EQ(LeadingNumber("+3"), 3);
    EXPECT_DOUBLE_EQ(LeadingNumber("-.5"), -0.5);
    EXPECT_DOUBLE_EQ(LeadingNumber("1 2"), 12); // blanks are skipped inside too
    EXPECT_DOUBLE_EQ(LeadingNumber("1d2"), 100);
    EXPECT_DOUBLE_EQ(LeadingNumber("1e"), 1);
    EXPECT_DOUBLE_EQ(LeadingNumber("1e+m"), 1);
    EXPECT_DOUBLE_EQ(LeadingNumber("2em"), 2);
    EXPECT_DOUBLE_EQ(LeadingNumber("1,5"), 1);
    EXPECT_DOUBLE_EQ(LeadingNumber("7."), 7);
    EXPECT_EQ(LeadingNumber("e5"), 0.0);
    EXPECT_EQ(LeadingNumber("."), 0.0);
    EXPECT_EQ(LeadingNumber("-"), 0.0);
    EXPECT_EQ(LeadingNumber("m"), 0.0);
    EXPECT_EQ(LeadingNumber(""), 0.0);
    // Out of range: no infinite length reaches the preview.
    EXPECT_EQ(LeadingNumber("1e999"), 0.0);
}

TEST(LeadingNumberTest, DecimalPointWhateverTheLocale) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    const std::string cBefore = std::setlocale(LC_NUMERIC, nullptr);
    std::setlocale(LC_NUMERIC, "fr_FR.UTF-8"); // may be missing; the Qt default still changes
    EXPECT_DOUBLE_EQ(LeadingNumber("20.5m"), 20.5);
    EXPECT_DOUBLE_EQ(LeadingNumber("20,5m"), 20);
    EXPECT_DOUBLE_EQ(LengthFromSizeValue("3m 4m 60ft"), 60 / 3.28);
    std::setlocale(LC_NUMERIC, cBefore.c_str());
    QLocale::setDefault(before);
}

TEST(DecodeDefinitionTextTest, ByteOrderMarksSelectTheEncodingAndAreDropped) {
    EXPECT_EQ(DecodeDefinitionText(QByteArray("\xFF\xFE"
                                              "a\0b\0",
                                              6)),
              "ab");
    EXPECT_EQ(DecodeDefinitionText(QByteArray("\xFE\xFF"
                                              "\0a\0b",
                                              6)),
              "ab");
    EXPECT_EQ(DecodeDefinitionText("\xEF\xBB\xBF"
                                   "caf\xC3\xA9"),
              QString("caf\u00e9"));
    // An odd last byte is dropped, not read past.
    EXPECT_EQ(DecodeDefinitionText(QByteArray("\xFF\xFE"
                                              "a\0b",
                                              5)),
              "a");
    EXPECT_EQ(DecodeDefinitionText(QByteArray("\xFF", 1)), QString(QChar(0xFF)));
    // Without a mark: Windows-1252, which differs from Latin-1 in 0x80-0x9F.
    EXPECT_EQ(DecodeDefinitionText("\x80 \x92 \xE9"), QString("\u20ac \u2019 \u00e9"));
    // Bytes the code page leaves undefined keep their value.
    EXPECT_EQ(DecodeWindows1252("\x81\x8D\x8F\x90\x9D"),
              QString::fromUtf16(u"\u0081\u008d\u008f\u0090\u009d"));
}

// A value is that of the first line holding the token anywhere in it, as a plain substring,
// with a "(" before its first ")".
TEST(VehicleTextTest, TheFirstLineThatHoldsTheTokenAndBothBracketsGivesTheValue) {
    EXPECT_EQ(ReadVehicleText("x\r\nthe size ( 1 2 3 )\r\n").length, 3.0);
    EXPECT_EQ(ReadVehicleText("MaxSizeLimit ( 9 )").length, 9.0);
    EXPECT_EQ(ReadVehicleText("Size 1 2 3\r\n(Size").length, 0.0);
    EXPECT_EQ(ReadVehicleText("\u00e9\u00e9Size ( 3 )").length, 3.0);
    // Near misses just before it, and the token ending the line.
    EXPECT_EQ(ReadVehicleText("WagonWagonShapWAGONSHAPE ( a.s )").shape, "a.s");
    EXPECT_EQ(ReadVehicleText("(x) Shape (\r\n( b.s ) wagonshape").shape, "b.s");
}

} // namespace
