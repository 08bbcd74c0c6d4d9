#include "preview/ShapeReport.h"

#include "msts/Diagnostics.h"
#include "preview/SceneShape.h"

namespace preview {

QString InvalidShapeReason(const msts::Diagnostics& diagnostics) {
    for (const msts::Diagnostic& d : diagnostics.items()) {
        if (d.severity != msts::Severity::Error)
            continue;
        const std::string_view code = msts::codeName(d.code);
        QString reason = QString::fromLatin1(code.data(), qsizetype(code.size()));
        if (!d.what.empty())
            reason += QStringLiteral(" (%1)").arg(QString::fromStdString(d.what));
        return reason + QStringLiteral(" à l'octet %1").arg(d.position);
    }
    return {};
}

QStringList TextureProblems(const SceneShape& shape) {
    QStringList lines;
    for (const QString& name : shape.missingTextures())
        lines.append(QStringLiteral("texture introuvable, dessinée en gris : %1").arg(name));
    for (const QString& name : shape.unreadableTextures())
        lines.append(QStringLiteral("texture illisible, dessinée en gris : %1").arg(name));
    for (const QString& name : shape.corruptTextures())
        lines.append(QStringLiteral("texture corrompue, dessinée en gris : %1").arg(name));
    for (const QString& name : shape.overBudgetTextures())
        lines.append(QStringLiteral("mémoire des textures épuisée, texture dessinée en gris : %1")
                         .arg(name));
    return lines;
}

} // namespace preview
