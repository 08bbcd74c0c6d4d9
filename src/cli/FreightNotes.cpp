#include "cli/FreightNotes.h"

#include "preview/VehicleScene.h"
#include "shared/Messages.h"

#include <QStringList>

namespace cli {

namespace {

// The reasons' texts are numbered in the order of the reasons.
app::MessageId reasonMessage(catalog::FreightAnimProblem::Reason why) {
    using app::MessageId;
    using Reason = catalog::FreightAnimProblem::Reason;
    static_assert(int(MessageId::FreightAnimNoShape) + int(Reason::Unclosed) ==
                  int(MessageId::FreightAnimUnclosed));
    static_assert(int(MessageId::FreightAnimNoShape) + int(Reason::PastLimit) ==
                  int(MessageId::FreightAnimPastLimit));
    return MessageId(int(MessageId::FreightAnimNoShape) + int(why));
}

} // namespace

QString FreightAnimProblemNote(const catalog::FreightAnimProblem& problem) {
    // Its line and why, never its text: no message quotes what a file holds.
    return app::LoadMessage(
        app::MessageId::FreightAnimSkipped,
        {"|1", problem.Line, "|2",
         app::LoadMessage(reasonMessage(problem.Why), {"|1", int(catalog::MaximumFreightAnims)})});
}

QString FreightNotes(const QList<catalog::FreightAnimProblem>& entries,
                     const QList<preview::FreightProblem>& shapes) {
    QStringList notes;
    for (const catalog::FreightAnimProblem& problem : entries)
        notes.append(FreightAnimProblemNote(problem));
    const QString missing = preview::FreightProblemText(shapes);
    if (!missing.isEmpty())
        notes.append(missing.split(u'\n'));
    return notes.join(QStringLiteral("; "));
}

} // namespace cli
