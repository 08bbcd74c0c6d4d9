#pragma once

// The numbered message table: every French text the program shows comes from here.
//
// Texts may hold the markers "|1", "|2" and "|3", which callers fill through LoadMessage's
// marker/replacement pairs. The table is compiled into the program and has one language.

#include <QList>
#include <QString>

#include <initializer_list>
#include <stdexcept>

namespace app {

// The application title used in every window title.
inline constexpr char16_t ApplicationTitle[] = u"Pictelle";

// Raised by LoadMessage for a number the table does not hold.
class MessageNotFound : public std::runtime_error {
public:
    explicit MessageNotFound(int number);
    int number() const { return number_; }

private:
    int number_;
};

// One value of LoadMessage's pairs list: a text, or a number that is used as its decimal text.
class MessageValue {
public:
    MessageValue(const QString& text) : text_(text) {}
    MessageValue(const char* utf8) : text_(QString::fromUtf8(utf8)) {}
    MessageValue(const char16_t* text) : text_(QString::fromUtf16(text)) {}
    MessageValue(int number) : text_(QString::number(number)) {}
    MessageValue(long number) : text_(QString::number(number)) {}
    MessageValue(long long number) : text_(QString::number(number)) {}
    MessageValue(unsigned number) : text_(QString::number(number)) {}
    MessageValue(unsigned long number) : text_(QString::number(number)) {}
    MessageValue(unsigned long long number) : text_(QString::number(number)) {}
    MessageValue(double number) : text_(QString::number(number)) {}

    const QString& text() const { return text_; }

private:
    QString text_;
};

// The text of message `number` with each marker of the pairs (marker, replacement, marker,
// replacement, ...) replaced everywhere. A replacement is not searched again for its own
// marker, but later pairs do search it; markers without a pair stay as they are, and an
// unpaired last value is ignored. Throws MessageNotFound for a number outside the table.
QString LoadMessage(int number, std::initializer_list<MessageValue> pairs = {});
QString LoadMessage(int number, const QList<MessageValue>& pairs);

// Whether the table holds `number`.
bool HasMessage(int number);

} // namespace app
