#pragma once

#include <QString>

// Text a person scans, types or names a station by (a panel's serial, an
// operator's ID, a station's or an order's name), as the station takes it:
// in one normal form, so that what reads alike is alike, and only what can
// be read: no control, format, bidi or separator character hides in it or
// breaks a line of the run log, and no pile of marks buries it.
namespace TextRule {

enum class Form {
    // Serials and IDs: compatibility forms folded (NFKC), so a full-width
    // serial from an input method is the same panel as its ASCII form.
    Scanned,
    // Names: composed (NFC), their characters kept.
    Named,
};

enum class Fault { None, Empty, Unseen, Marks, TooLong };

// Characters, unless the settings say otherwise.
constexpr int defaultLength = 64;
// No setting allows more: a record's columns are indexed by these values.
constexpr int maxLength = 256;
// On one character.
constexpr int maxMarks = 3;

struct Checked
{
    // Normalized, without the spaces around it.
    QString text;
    Fault fault = Fault::None;
};

Checked check(const QString &read, Form form, int length = defaultLength);
// What a record holds of a value: the value as the rule takes it, or, where
// the rule refuses it, its unseen characters written as \uXXXX and the rest
// cut at the longest length allowed.
QString recordable(const QString &value, Form form);

} // namespace TextRule
