// Reading the FreightAnim entries of definition files: the forms they are written in, tenders
// and other vehicles, entries that cannot be used, and the way they reach the catalog.

#include "catalog/FreightAnim.h"
#include "catalog/Catalog.h"
#include "catalog/TrainsetWalk.h"
#include "catalog/VehicleFile.h"

#include "TrainsetFixture.h"

#include <gtest/gtest.h>

using namespace catalog;
using Reason = FreightAnimProblem::Reason;

namespace {

QString wagon(const QString& type, const QString& body) {
    return "SIMISA@@@@@@@@@@JINX0D0t______\r\n\r\nWagon ( w\r\n\tType ( " + type +
           " )\r\n\tWagonShape ( body.s )\r\n" + body + ")\r\n";
}

QList<QString> shapes(const FreightAnimReading& r) {
    QList<QString> names;
    for (const FreightAnim& a : r.Anims)
        names.append(a.Shape);
    return names;
}

} // namespace

TEST(FreightAnimReadingTest, EveryWrittenFormGivesTheShapeName) {
    const struct {
        const char* what;
        QString entry;
        QString shape;
    } cases[] = {
        {"bare name", "FreightAnim ( coal.s 1.2 0.5 )", "coal.s"},
        {"quoted name with a space", "FreightAnim ( \"My Load.s\" 0 0 )", "My Load.s"},
        {"capitals, no spaces", "FREIGHTANIM(n101.s 0 0)", "n101.s"},
        {"lower case, third number", "freightanim ( n.s 1 2 1 )", "n.s"},
        {"across lines", "FreightAnim (\r\n\tcoal.s\r\n\t1.2 0.5\r\n)", "coal.s"},
        {"numbers with units", "FreightAnim ( c.s 1.2m 50cm )", "c.s"},
        {"a relative path", "FreightAnim ( ..\\Common\\load.s 0 0 )", "..\\Common\\load.s"},
        // Quoted, backslashes are escaped as in every text of the format.
        {"a quoted path", "FreightAnim ( \"..\\\\Common\\\\load.s\" 0 0 )", "..\\Common\\load.s"},
        {"letters beyond ASCII", "FreightAnim ( \"W\u00e4gen \U0001F682.s\" 0 0 )",
         "W\u00e4gen \U0001F682.s"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const FreightAnimReading r = ReadFreightAnims(wagon("Freight", "\t" + c.entry + "\r\n"));
        EXPECT_TRUE(r.Problems.isEmpty());
        ASSERT_EQ(r.Anims.size(), 1);
        EXPECT_EQ(r.Anims[0].Shape, c.shape);
        EXPECT_EQ(r.Anims[0].Height, 0.0);
    }
}

TEST(FreightAnimReadingTest, AnEntryIsFoundWhereverTheTextPlacesIt) {
    const QString texts[] = {
        "FreightAnim ( c.s 0 0 )",
        "Freight FreightAn FreightAnimX ( a ) FreightAnim ( c.s 0 0 )",
        "Name ( \"\u00e9\u00e9\u00e9\u00e9\u00e9\" )\r\nfREIGHTaNIM ( c.s 0 0 )",
        "ORTSFreightAnims ( x )\r\nFreightAnim ( c.s 0 0 )",
    };
    for (const QString& text : texts) {
        SCOPED_TRACE(text.toStdString());
        EXPECT_EQ(shapes(ReadFreightAnims(text)), QList<QString>{"c.s"});
    }
    // A malformed entry is told too, so the quick look for the word must find it.
    EXPECT_EQ(ReadFreightAnims("x FREIGHTANIM ( )").Problems.size(), 1);
}

TEST(FreightAnimReadingTest, SeveralEntriesKeepTheirOrderAndOtherTokensAreNotEntries) {
    const FreightAnimReading r = ReadFreightAnims(
        wagon("Freight", "\tFreightAnim ( body_numbers.s 0 0 )\r\n"
                         "\tcomment ( FreightAnim ( commented.s 0 0 ) )\r\n"
                         "\tSkip ( FreightAnim ( skipped.s 0 0 ) )\r\n"
                         "\tORTSFreightAnims ( FreightAnimStatic ( Shape ( static.s ) ) )\r\n"
                         "\tName ( \"FreightAnim ( quoted.s 0 0 )\" )\r\n"
                         "\tFreightAnim ( \"lettering.s\" 0 0 1 )\r\n"));
    EXPECT_EQ(shapes(r), (QList<QString>{"body_numbers.s", "lettering.s"}));
    EXPECT_TRUE(r.Problems.isEmpty());
}

// A tender's load is drawn full: the first number is its height. Any other vehicle's freight
// shape sits at the origin, whatever its numbers.
TEST(FreightAnimReadingTest, TheFirstNumberPlacesATendersLoadOnly) {
    const QString entries =
        "\tFreightAnim ( coal.s 3.3 2.5 1 )\r\n\tFreightAnim ( w.s 120cm 0 )\r\n";
    const FreightAnimReading tender = ReadFreightAnims(wagon("Tender", entries));
    ASSERT_EQ(tender.Anims.size(), 2);
    EXPECT_DOUBLE_EQ(tender.Anims[0].Height, 3.3);
    EXPECT_DOUBLE_EQ(tender.Anims[1].Height, 1.2);
    EXPECT_EQ(ReadFreightAnims(wagon("tender", entries)).Anims[0].Height, 3.3);

    for (const char* type : {"Freight", "Carriage", "Engine"}) {
        const FreightAnimReading other = ReadFreightAnims(wagon(type, entries));
        ASSERT_EQ(other.Anims.size(), 2) << type;
        EXPECT_EQ(other.Anims[0].Height, 0.0) << type;
        EXPECT_EQ(other.Anims[1].Height, 0.0) << type;
    }
    // The vehicle's Type is the Wagon block's own: a coupling's or the Engine block's does not
    // make a tender, and a Type after the entries still counts.
    EXPECT_EQ(ReadFreightAnims("Wagon ( w\r\n\tCoupling ( Type ( Tender ) )\r\n" + entries +
                               "\tType ( Freight )\r\n)\r\nEngine ( w Type ( Tender ) )")
                  .Anims[0]
                  .Height,
              0.0);
    EXPECT_DOUBLE_EQ(
        ReadFreightAnims("Wagon ( w\r\n" + entries + "\tType ( Tender )\r\n)").Anims[0].Height,
        3.3);
}

TEST(FreightAnimReadingTest, MalformedEntriesAreLeftOutAndToldWithTheirLine) {
    const FreightAnimReading r =
        ReadFreightAnims("Wagon ( w\r\n"                            // line 1
                         "\tType ( Tender )\r\n"                    // 2
                         "\tFreightAnim ( )\r\n"                    // 3
                         "\tFreightAnim ( \"\" 1 2 )\r\n"           // 4
                         "\tFreightAnim ( coal.s )\r\n"             // 5
                         "\tFreightAnim ( coal.s 1 )\r\n"           // 6
                         "\tFreightAnim ( coal.s 1 2 3 4 )\r\n"     // 7
                         "\tFreightAnim ( coal.s full 2 )\r\n"      // 8
                         "\tFreightAnim ( coal.s 1 \"2\" )\r\n"     // 9
                         "\tFreightAnim ( coal.s 1 2furlongs )\r\n" // 10
                         "\tFreightAnim ( coal.s ( 1 ) 2 )\r\n"     // 11
                         "\tFreightAnim ( good.s 2.5 1 )\r\n"       // 12
                         "\tFreightAnim ( open.s 1 2\r\n");         // 13: never closed
    ASSERT_EQ(r.Anims.size(), 1);
    EXPECT_EQ(r.Anims[0], (FreightAnim{"good.s", 2.5}));
    const QList<std::pair<int, Reason>> expected = {
        {3, Reason::NoShape},        {4, Reason::NoShape},       {5, Reason::MissingNumbers},
        {6, Reason::MissingNumbers}, {7, Reason::TooManyValues}, {8, Reason::NotANumber},
        {9, Reason::NotANumber},     {10, Reason::NotANumber},   {11, Reason::NestedBlock},
        {13, Reason::Unclosed}};
    ASSERT_EQ(r.Problems.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(r.Problems[i].Line, expected[i].first) << i;
        EXPECT_EQ(r.Problems[i].Why, expected[i].second) << "line " << expected[i].first;
    }
    EXPECT_EQ(r.Problems[5].Entry, "FreightAnim ( coal.s full 2 )");
    // The unclosed entry is quoted up to its line's end, not with the rest of the file.
    EXPECT_EQ(r.Problems.back().Entry, "FreightAnim ( open.s 1 2");
}

TEST(FreightAnimReadingTest, DistancesTakeTheFileUnits) {
    double m = -1;
    const std::pair<const char*, double> good[] = {{"2", 2},        {"-0.5", -0.5},   {"1.5m", 1.5},
                                                   {"50cm", 0.5},   {"250mm", 0.25},  {"1e1", 10},
                                                   {"10ft", 3.048}, {"12in", 0.3048}, {".5M", 0.5}};
    for (const auto& [text, metres] : good) {
        EXPECT_TRUE(ParseDistance(text, m)) << text;
        EXPECT_NEAR(m, metres, 1e-9) << text;
    }
    for (const char* bad : {"", "m", "1,5", "1.5 m", "1.5parsecs", "1e999", "--1", "0x10"})
        EXPECT_FALSE(ParseDistance(bad, m)) << bad;
}

// The walk's single reading carries the entries onto the catalog entry, in every text form,
// and their shapes are looked up beside the vehicle's shape.
TEST(FreightAnimReadingTest, TheWalkStoresTheEntriesOnTheCatalogEntry) {
    fixture::Trainset set;
    const QString text = wagon("Tender", "\tSize ( 3m 4m 8m )\r\n"
                                         "\tFreightAnim ( coal.s 3.3 2 )\r\n"
                                         "\tFreightAnim ( coal.s )\r\n");
    int n = 0;
    for (const fixture::TextForm form : fixture::allTextForms)
        set.definition("T", QString("t%1.wag").arg(n++), text, form);
    set.file("T/body.s");
    Catalog catalog;
    ASSERT_TRUE(ScanTrainset(set.fs(), set.msts(), catalog, nullptr));
    ASSERT_EQ(catalog.count(), n);
    for (const CatalogEntry& e : catalog) {
        SCOPED_TRACE(e.FileName.toStdString());
        EXPECT_EQ(e.Shape, "body.s");
        ASSERT_EQ(e.FreightAnims.size(), 1);
        EXPECT_EQ(e.FreightAnims[0], (FreightAnim{"coal.s", 3.3}));
        ASSERT_EQ(e.FreightAnimProblems.size(), 1);
        EXPECT_EQ(e.FreightAnimProblems[0].Line, 8);
        EXPECT_EQ(e.freightShapePath(e.FreightAnims[0]), e.TrainsetPath + "T\\coal.s");
    }
}

// Hostile texts are read in one pass: an unclosed entry ends where the next one starts, and a
// vehicle's entries past the limit are left out with one note, the Type after them still read.
TEST(FreightAnimReadingTest, UnclosedAndCountlessEntriesAreReadOnce) {
    QString lines;
    for (int i = 0; i < 30000; ++i)
        lines += QString("FreightAnim ( load%1.s 1 2\r\n").arg(i);
    const FreightAnimReading many = ReadFreightAnims(lines);
    EXPECT_TRUE(many.Anims.isEmpty());
    ASSERT_EQ(many.Problems.size(), MaximumFreightAnims + 1);
    EXPECT_EQ(many.Problems[0].Entry, "FreightAnim ( load0.s 1 2");
    EXPECT_EQ(many.Problems[MaximumFreightAnims - 1].Why, Reason::Unclosed);
    EXPECT_EQ(many.Problems.back().Why, Reason::PastLimit);
    EXPECT_EQ(many.Problems.back().Line, MaximumFreightAnims + 1);

    // On one line, each unclosed entry is quoted up to the next, not to the end of the line.
    const FreightAnimReading oneLine =
        ReadFreightAnims("FreightAnim ( a.s 1 2 FreightAnim ( b.s 1 2 )  FreightAnim ( c.s 1");
    ASSERT_EQ(oneLine.Anims.size(), 1);
    EXPECT_EQ(oneLine.Anims[0].Shape, "b.s");
    ASSERT_EQ(oneLine.Problems.size(), 2);
    EXPECT_EQ(oneLine.Problems[0].Entry, "FreightAnim ( a.s 1 2");
    EXPECT_EQ(oneLine.Problems[1].Entry, "FreightAnim ( c.s 1");

    QString entries;
    for (int i = 0; i < 20000; ++i)
        entries += QString("\tFreightAnim ( load%1.s 1.5 2 )\r\n").arg(i);
    const FreightAnimReading vehicle =
        ReadFreightAnims("Wagon ( w\r\n" + entries + "\tType ( Tender )\r\n)\r\n");
    ASSERT_EQ(vehicle.Anims.size(), MaximumFreightAnims);
    EXPECT_EQ(vehicle.Anims.back(), (FreightAnim{"load63.s", 1.5}));
    ASSERT_EQ(vehicle.Problems.size(), 1);
    EXPECT_EQ(vehicle.Problems[0].Why, Reason::PastLimit);
    EXPECT_EQ(vehicle.Problems[0].Line, MaximumFreightAnims + 2);
}
