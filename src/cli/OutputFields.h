#pragma once

// Fields of the tab-separated lines that list and make print. Names come from the user's
// files and may hold tabs or line feeds; written as they are, they would shift the columns
// of their line or split it in two.

#include <QString>
#include <QStringList>

namespace cli {

// The text with its control characters escaped: tab as \t, line feed as \n, carriage
// return as \r, any other as \xHH. Every other character is kept.
QString EscapeField(const QString& text);

// The fields, each escaped, joined by tabs.
QString TabLine(const QStringList& fields);

} // namespace cli
