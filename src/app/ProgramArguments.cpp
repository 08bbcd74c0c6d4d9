#include "app/ProgramArguments.h"

#include "shared/Messages.h"
#include "shared/Version.h"

#include <QCommandLineParser>

namespace app {

ProgramArguments ParseProgramArguments(const QStringList& arguments) {
    QCommandLineParser parser;
    // "-platform xcb" stays one unknown word instead of a run of letters that might hold "h".
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("help"), QStringLiteral("h")});
    const QCommandLineOption version(QStringLiteral("version"));
    const QCommandLineOption msts(QStringLiteral("msts"), QString(), QStringLiteral("DIR"));
    const QCommandLineOption rametta(QStringLiteral("rametta"), QString(), QStringLiteral("DIR"));
    parser.addOptions({help, version, msts, rametta});
    // Unknown options are Qt's or nobody's; the window opens as it always did.
    parser.parse(arguments);

    ProgramArguments parsed;
    if (parser.isSet(help))
        parsed.request = ProgramArguments::Request::Help;
    else if (parser.isSet(version))
        parsed.request = ProgramArguments::Request::Version;
    if (parser.isSet(msts))
        parsed.msts = parser.value(msts);
    if (parser.isSet(rametta))
        parsed.rametta = parser.value(rametta);
    return parsed;
}

QString ProgramUsage() {
    QStringList lines;
    for (const MessageId id : {MessageId::UsageTitle, MessageId::WindowUsage,
                               MessageId::WindowUsageVersion, MessageId::WindowUsageHelp})
        lines.append(LoadMessage(id));
    return lines.join(u'\n');
}

QString ProgramVersionLine() {
    return QStringLiteral("pictelle ") + QLatin1String(VersionText);
}

} // namespace app
