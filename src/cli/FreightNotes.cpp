#include "cli/FreightNotes.h"

#include "preview/VehicleScene.h"
#include "shared/Messages.h"

#include <QStringList>

namespace cli {

namespace {

app::MessageId reasonMessage(catalog::FreightAnimProblem::Reason why) {
    using app::MessageId;
    using Reason = catalog::FreightAnimProblem::Reason;
    switch (why) {
    case Reason::NoShape:
        return MessageId::FreightAnimNoShape;
    case Reason::MissingNumbers:
        return MessageId::FreightAnimNoNumbers;
    case Reason::TooManyValues:
        return MessageId::FreightAnimTooMany;
    case Reason::NotANumber:
        return MessageId::FreightAnimNotNumber;
    case Reason::NestedBlock:
        return MessageId::FreightAnimNested;
    case Reason::Unclosed:
        break;
    }
    return MessageId::FreightAnimUnclosed;
}

} // namespace

QString FreightAnimProblemNote(const catalog::FreightAnimProblem& problem) {
    // The entry, copied from the user's file, last: no later marker is looked for in it.
    return app::LoadMessage(app::MessageId::FreightAnimSkipped,
                            {"|1", problem.Line, "|2", app::LoadMessage(reasonMessage(problem.Why)),
                             "|3", problem.Entry});
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
