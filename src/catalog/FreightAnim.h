#pragma once

// The freight animations of a vehicle definition file: extra shapes the simulator draws with
// the vehicle's own shape (a wagon's load, a tender's coal, or in some packs the running
// number painted on a shape laid over a body shared by every car).
//
// Each entry reads `FreightAnim ( shape.s a b [c] )`, the token in any letter case, the shape
// name quoted or bare. For a vehicle whose Type is Tender, `a` is the height of the load when
// full, in metres above the vehicle's origin, and the shape is drawn there; for every other
// vehicle the numbers do not place anything and the shape sits at the vehicle's origin.
//
// The text is walked as the simulator's tokens (words, quoted texts, brackets) rather than
// line by line: an entry may span lines, and longer words that merely contain the token
// (ORTSFreightAnims, FreightAnimStatic) are other entries. comment ( ... ) and skip ( ... )
// blocks are passed over. An entry that cannot be used is left out and described in the
// problems; it never stops the vehicle.

#include <QList>
#include <QString>

namespace catalog {

struct FreightAnim {
    // The shape file as the entry names it, relative to the vehicle's folder like WagonShape.
    QString Shape;
    // Where the shape's origin is drawn, in metres above the vehicle's origin.
    double Height = 0.0;

    friend bool operator==(const FreightAnim&, const FreightAnim&) = default;
};

struct FreightAnimProblem {
    enum class Reason {
        NoShape,        // no shape name, or an empty one
        MissingNumbers, // fewer than the two numbers
        TooManyValues,  // more than a name and three numbers
        NotANumber,     // a value that is no distance
        NestedBlock,    // a bracketed block inside the entry
        Unclosed,       // the text or the next entry comes before the entry's closing bracket
        PastLimit,      // the entries from here on are past MaximumFreightAnims
    };
    Reason Why = Reason::NoShape;
    // Line of the text (from 1) where the entry starts.
    int Line = 0;
    // The entry as written, from the token to its closing bracket, on one line.
    QString Entry;

    friend bool operator==(const FreightAnimProblem&, const FreightAnimProblem&) = default;
};

struct FreightAnimReading {
    QList<FreightAnim> Anims; // in the order of the file
    QList<FreightAnimProblem> Problems;
};

// Most entries, used or not, read from one definition text. Real vehicles carry a handful;
// the entries past it are left out with one PastLimit problem at the first of them.
inline constexpr qsizetype MaximumFreightAnims = 64;

// The freight animations of a decoded definition text. One pass over the text, whatever it
// holds: an unclosed entry ends where the next one starts.
FreightAnimReading ReadFreightAnims(const QString& definitionText);

// A distance value of a definition file in metres: a number with no unit or m, cm, mm, km,
// ft or in. False when the text is no such value.
bool ParseDistance(const QString& text, double& metres);

} // namespace catalog
