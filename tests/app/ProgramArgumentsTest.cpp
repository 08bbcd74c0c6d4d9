#include "app/ProgramArguments.h"

#include "shared/Version.h"

#include <gtest/gtest.h>

namespace {

using app::ParseProgramArguments;
using Request = app::ProgramArguments::Request;

app::ProgramArguments parse(QStringList arguments) {
    arguments.prepend(QStringLiteral("/usr/bin/pictelle"));
    return ParseProgramArguments(arguments);
}

TEST(ProgramArguments, HelpAndVersionWinOverEverythingElse) {
    EXPECT_EQ(parse({"--help"}).request, Request::Help);
    EXPECT_EQ(parse({"-h"}).request, Request::Help);
    EXPECT_EQ(parse({"--msts", "/m", "--help"}).request, Request::Help);
    EXPECT_EQ(parse({"--version"}).request, Request::Version);
    EXPECT_EQ(parse({"-platform", "offscreen", "--version"}).request, Request::Version);
    EXPECT_EQ(parse({"--version", "--help"}).request, Request::Help);
}

// The window receives Qt's own options too, which are read later by the application object:
// they must neither be taken for ours nor hide ours.
TEST(ProgramArguments, FoldersForOneRunAmongQtsOwnOptions) {
    const app::ProgramArguments plain = parse({});
    EXPECT_EQ(plain.request, Request::OpenWindow);
    EXPECT_FALSE(plain.msts);
    EXPECT_FALSE(plain.rametta);

    const app::ProgramArguments given = parse({"-platform", "offscreen", "--msts", "/jeux/MSTS",
                                               "-style", "fusion", "--rametta=/jeux/Rametta"});
    EXPECT_EQ(given.request, Request::OpenWindow);
    EXPECT_EQ(given.msts.value_or("none"), "/jeux/MSTS");
    EXPECT_EQ(given.rametta.value_or("none"), "/jeux/Rametta");

    // "-help" read letter by letter would have held an "h".
    EXPECT_EQ(parse({"-hpelx"}).request, Request::OpenWindow);
}

TEST(ProgramArguments, UsageNamesEveryOptionAndTheVersionIsTheProjects) {
    const QString usage = app::ProgramUsage();
    for (const char* option : {"--msts DIR", "--rametta DIR", "--version", "--help"})
        EXPECT_TRUE(usage.contains(QLatin1String(option))) << option;
    EXPECT_FALSE(usage.endsWith(u'\n'));
    EXPECT_EQ(app::ProgramVersionLine(), QStringLiteral("pictelle ") + app::VersionText);
}

} // namespace
