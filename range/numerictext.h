#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// Numbers that live in captions. The score captions are read leniently; the countdown number is
// read strictly; both are written back as the shortest plain decimal text of the value.
namespace NumericText {

// Leading blanks skipped, then the longest leading decimal number (sign, digits, a fraction, an
// exponent) taken; empty or non-numeric text reads as 0.
double parseLenient(QStringView text);

// The whole text, blanks around it aside, must be a decimal number; anything else is no number.
std::optional<double> parseStrict(QStringView text);

// "7", "12", "-1", "0.5": no exponent, no thousands separator, no trailing zeros.
QString plain(double value);

} // namespace NumericText
