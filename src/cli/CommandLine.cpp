#include "cli/CommandLine.h"

#include <cstdio>

namespace cli {

void printError(const QString& line) {
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
}

void printLine(const QString& line) {
    std::fprintf(stdout, "%s\n", line.toLocal8Bit().constData());
}

bool OptionParser::parse(const QStringList& arguments) {
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString argument = arguments[i];
        if (!argument.startsWith(QLatin1String("--"))) {
            if (!allowPositional_) {
                error_ = QStringLiteral("argument inattendu : %1").arg(argument);
                return false;
            }
            positional_.append(argument);
            continue;
        }
        QString value;
        bool hasValue = false;
        const qsizetype equals = argument.indexOf(u'=');
        if (equals > 0) {
            value = argument.mid(equals + 1);
            argument.truncate(equals);
            hasValue = true;
        }
        const QString name = argument.mid(2);
        if (!names_.contains(name)) {
            error_ = QStringLiteral("option inconnue : --%1").arg(name);
            return false;
        }
        if (seen_.contains(name)) {
            error_ = QStringLiteral("option répétée : --%1").arg(name);
            return false;
        }
        if (!hasValue) {
            if (i + 1 >= arguments.size()) {
                error_ = QStringLiteral("valeur manquante après --%1").arg(name);
                return false;
            }
            value = arguments[++i];
        }
        if (value.isEmpty()) {
            error_ = QStringLiteral("valeur vide pour --%1").arg(name);
            return false;
        }
        seen_.append(name);
        values_.append(value);
    }
    return true;
}

std::optional<QString> OptionParser::value(const QString& name) const {
    const qsizetype i = seen_.indexOf(name);
    if (i < 0)
        return std::nullopt;
    return values_[i];
}

} // namespace cli
