#include "preview/ShapeReport.h"

#include "msts/Diagnostics.h"
#include "preview/SceneShape.h"
#include "shared/Messages.h"

namespace preview {

QString InvalidShapeReason(const msts::Diagnostics& diagnostics) {
    for (const msts::Diagnostic& d : diagnostics.items()) {
        if (d.severity != msts::Severity::Error)
            continue;
        const std::string_view code = msts::codeName(d.code);
        QString reason = QString::fromLatin1(code.data(), qsizetype(code.size()));
        if (!d.what.empty())
            reason += QStringLiteral(" (%1)").arg(QString::fromStdString(d.what));
        // The reason, which quotes the file, goes in last: no marker is looked for in it.
        return app::LoadMessage(app::MessageId::InvalidShapeAt,
                                {"|2", qulonglong(d.position), "|1", reason});
    }
    return {};
}

QStringList TextureProblems(const SceneShape& shape) {
    QStringList lines;
    const auto add = [&lines](app::MessageId id, const QStringList& names) {
        for (const QString& name : names)
            lines.append(app::LoadMessage(id, {"|1", name}));
    };
    add(app::MessageId::TextureNotFound, shape.missingTextures());
    add(app::MessageId::TextureOutside, shape.outsideTextures());
    add(app::MessageId::TextureUnreadable, shape.unreadableTextures());
    add(app::MessageId::TextureCorrupt, shape.corruptTextures());
    add(app::MessageId::TextureOverBudget, shape.overBudgetTextures());
    return lines;
}

} // namespace preview
