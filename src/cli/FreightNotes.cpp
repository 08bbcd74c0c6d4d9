#include "cli/FreightNotes.h"

#include "preview/ThumbnailMaker.h"

#include <QStringList>

namespace cli {

namespace {

QString reasonText(catalog::FreightAnimProblem::Reason why) {
    using Reason = catalog::FreightAnimProblem::Reason;
    switch (why) {
    case Reason::NoShape:
        return QStringLiteral("aucune forme");
    case Reason::MissingNumbers:
        return QStringLiteral("nombres manquants");
    case Reason::TooManyValues:
        return QStringLiteral("trop de valeurs");
    case Reason::NotANumber:
        return QStringLiteral("valeur non numérique");
    case Reason::NestedBlock:
        return QStringLiteral("bloc imbriqué");
    case Reason::Unclosed:
        break;
    }
    return QStringLiteral("parenthèse non fermée");
}

} // namespace

QString FreightAnimProblemNote(const catalog::FreightAnimProblem& problem) {
    return QStringLiteral("FreightAnim ignoré, ligne %1 (%2) : %3")
        .arg(problem.Line)
        .arg(reasonText(problem.Why), problem.Entry);
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
