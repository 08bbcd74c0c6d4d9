#include "shared/Messages.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

namespace {

QString u(const char16_t* text) {
    return QString::fromUtf16(text);
}

// The table by bare number, as a number converts to a MessageId.
QString LoadMessage(int number, std::initializer_list<app::MessageValue> pairs = {}) {
    return app::LoadMessage(app::MessageId(number), pairs);
}

} // namespace

TEST(MessageTable, TextsComeOutExactlyWithAccentsAndLeadingSpaces) {
    EXPECT_EQ(LoadMessage(104), u(u"Quitter"));
    EXPECT_EQ(LoadMessage(107), u(u"Cr\u00e9er"));
    EXPECT_EQ(LoadMessage(115), u(u"D\u00e9selectionner tout"));
    EXPECT_EQ(LoadMessage(144),
              u(u"Un fichier portant ce nom est d\u00e9j\u00e0 pr\u00e9sent dans le "
                u"dossier de destination.|1Que d\u00e9sirez-vous faire ?"));
    EXPECT_EQ(LoadMessage(145),
              u(u"Ecraser le fichier (toujours demander l'op\u00e9ration \u00e0 effectuer)"));
    EXPECT_EQ(LoadMessage(112), u(u"  -  S\u00e9lectionn\u00e9 |1"));
    EXPECT_EQ(LoadMessage(113), u(u"  -  |1 fichiers s\u00e9lectionn\u00e9s."));
    EXPECT_EQ(LoadMessage(131), u(u" ou dossier de stockage de Train Store|1"));
    EXPECT_EQ(LoadMessage(142), u(u" - Demande de confirmation"));
    EXPECT_EQ(LoadMessage(160), u(u"Supprimer le chemin de Rametta"));
}

TEST(MessageTable, HoldsExactlyTheListedNumbers) {
    for (int n = 90; n <= 220; ++n) {
        const bool listed = (n >= 100 && n <= 160 && n != 123) || n == 207;
        EXPECT_EQ(app::HasMessage(n), listed) << n;
    }
    EXPECT_FALSE(app::HasMessage(-1));
    EXPECT_FALSE(app::HasMessage(100 + 65536));
}

// The names are read from the enum's source, as the code loads texts by name only: a name
// without a text would throw where it is shown, and a command-line text without a name could
// not be loaded at all.
TEST(MessageTable, EveryNameHasATextAndEveryCommandLineTextAName) {
    QFile header(QStringLiteral(PICTELLE_MESSAGES_HEADER));
    ASSERT_TRUE(header.open(QIODevice::ReadOnly));
    const QString enumBody = QString::fromUtf8(header.readAll())
                                 .section(QStringLiteral("enum class MessageId"), 1)
                                 .section(QStringLiteral("};"), 0, 0);
    const QRegularExpression entry(QStringLiteral(R"((\w+) = (\d+),)"));
    QSet<int> named;
    for (auto it = entry.globalMatch(enumBody); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const int number = match.captured(2).toInt();
        const std::string name = match.captured(1).toStdString();
        EXPECT_FALSE(named.contains(number)) << name << " shares its number";
        named.insert(number);
        ASSERT_TRUE(app::HasMessage(number)) << name;
        // The maintainer's address is a build setting, empty when none was given.
        if (number != int(app::MessageId::AuthorAddress)) {
            EXPECT_FALSE(LoadMessage(number).trimmed().isEmpty()) << name;
        }
    }
    EXPECT_GT(named.size(), 100) << "the enum was not read";
    for (int number = 400; number < 500; ++number)
        EXPECT_TRUE(!app::HasMessage(number) || named.contains(number)) << number;
}

TEST(MessageTable, UnknownNumberRaisesToTheCaller) {
    for (int n : {123, 161, 206, 208, 0, 99, -100}) {
        try {
            LoadMessage(n, {"|1", "x"});
            ADD_FAILURE() << "no error for " << n;
        } catch (const app::MessageNotFound& error) {
            EXPECT_EQ(error.number(), n);
        }
    }
}

TEST(MessageTable, ImplementersEntriesHaveTheirShape) {
    // An address alone (no name, no brackets), or nothing when the build names no maintainer.
    EXPECT_TRUE(LoadMessage(100).isEmpty() || LoadMessage(100).contains(u'@'));
    EXPECT_FALSE(LoadMessage(100).contains(u' '));
    EXPECT_FALSE(LoadMessage(100).contains(u'<'));
    EXPECT_FALSE(LoadMessage(121).isEmpty());
    EXPECT_FALSE(LoadMessage(121).contains(u'|'));
    EXPECT_EQ(LoadMessage(207).count(QStringLiteral("|1")), 1);
    EXPECT_EQ(LoadMessage(124).count(QStringLiteral("|1")), 1);
    EXPECT_FALSE(LoadMessage(124).contains(u'\n'));
    EXPECT_FALSE(LoadMessage(159).isEmpty());
    EXPECT_FALSE(LoadMessage(159).contains(u'|'));
}

TEST(LoadMessage, FillsMarkersWithTextsAndNumbers) {
    EXPECT_EQ(LoadMessage(106, {"|1", "Pictelle"}),
              u(u"Pictelle - Cr\u00e9ateur de pictelles pour Rametta"));
    EXPECT_EQ(LoadMessage(127, {"|1", 3}), QStringLiteral("Total 3 fichiers"));
    EXPECT_EQ(LoadMessage(126, {"|1", 1}), QStringLiteral("Total 1 fichier"));
    EXPECT_EQ(LoadMessage(127, {"|1", -32768}), QStringLiteral("Total -32768 fichiers"));
    EXPECT_EQ(LoadMessage(119, {"|1", "1.1.0"}), QStringLiteral("Version 1.1.0"));
}

TEST(LoadMessage, FillsTheCreditsBlockWithLineBreaks) {
    const QString crlf = QStringLiteral("\r\n");
    const QString dev = LoadMessage(121);
    const QString text =
        LoadMessage(120, {"|1", crlf, "|2", dev + crlf, "|3", LoadMessage(122) + crlf});
    EXPECT_EQ(text, crlf + u(u"D\u00e9veloppement : ") + dev + crlf +
                        QStringLiteral("Graphismes : Paint Shop Pro 7.00") + crlf);
    const QStringList lines = text.split(crlf);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[0].isEmpty());
    EXPECT_TRUE(lines[3].isEmpty());
}

TEST(LoadMessage, ReplacementIsNotSearchedAgainForItsOwnMarker) {
    EXPECT_EQ(LoadMessage(143, {"|1", "a|1b"}), QStringLiteral("Fichier a|1b"));
    EXPECT_EQ(LoadMessage(105, {"|1", "|1|1"}), QStringLiteral("A propos de |1|1"));
}

TEST(LoadMessage, LaterPairsSearchEarlierReplacements) {
    EXPECT_EQ(LoadMessage(143, {"|1", "<|2>", "|2", "x"}), QStringLiteral("Fichier <x>"));
}

TEST(LoadMessage, ReplacesEveryOccurrenceAndKeepsUnpairedMarkers) {
    EXPECT_EQ(LoadMessage(120, {"|2", "D;"}), u(u"|1D\u00e9veloppement : D;Graphismes : |3"));
    // A marker given without its replacement is ignored.
    EXPECT_EQ(LoadMessage(143, {"|1"}), QStringLiteral("Fichier |1"));
    // A marker that does not occur changes nothing.
    EXPECT_EQ(LoadMessage(104, {"|1", "x"}), QStringLiteral("Quitter"));
    // An empty marker matches nowhere instead of looping.
    EXPECT_EQ(LoadMessage(104, {"", "x"}), QStringLiteral("Quitter"));
}

TEST(LoadMessage, LeadingSpacesSurviveSubstitution) {
    EXPECT_EQ(LoadMessage(112, {"|1", "ACELA\\acela.eng"}),
              u(u"  -  S\u00e9lectionn\u00e9 ACELA\\acela.eng"));
    EXPECT_EQ(QStringLiteral("Pictelle") + LoadMessage(142, {"|1", "x"}),
              QStringLiteral("Pictelle - Demande de confirmation"));
}
