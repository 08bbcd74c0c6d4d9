#pragma once

// Case-blind search for an ASCII word in the UTF-16 text of a definition file. The scan reads
// tens of thousands of these files and looks for a few words in each, so the search tests
// eight positions at a time for the word's first and last letters before comparing.

#include <QStringView>

namespace catalog {

// Where `word` (ASCII, any case) first appears in `text` at or after `from`, with A–Z and
// a–z taken as equal and no other character equal to a letter; -1 when nowhere. An empty
// word is found at `from`.
qsizetype FindAsciiWord(QStringView text, QStringView word, qsizetype from = 0);

} // namespace catalog
