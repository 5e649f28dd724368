#include "numerictext.h"

#include <array>
#include <charconv>
#include <limits>

namespace NumericText {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

qsizetype skipDigits(QStringView text, qsizetype at)
{
    while (at < text.size() && text[at] >= u'0' && text[at] <= u'9')
        ++at;
    return at;
}

// The length of the longest decimal number at the start of text, or 0 if none starts there.
qsizetype leadingNumberLength(QStringView text)
{
    qsizetype at = 0;
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-'))
        ++at;
    const qsizetype integerStart = at;
    at = skipDigits(text, at);
    bool digits = at > integerStart;
    if (at < text.size() && text[at] == u'.') {
        const qsizetype fractionEnd = skipDigits(text, at + 1);
        if (fractionEnd > at + 1 || digits) {
            digits = digits || fractionEnd > at + 1;
            at = fractionEnd;
        }
    }
    if (!digits)
        return 0;
    if (at < text.size() && (text[at] == u'e' || text[at] == u'E')) {
        qsizetype exponent = at + 1;
        if (exponent < text.size() && (text[exponent] == u'+' || text[exponent] == u'-'))
            ++exponent;
        const qsizetype exponentEnd = skipDigits(text, exponent);
        if (exponentEnd > exponent)
            at = exponentEnd;
    }
    return at;
}

// Converts a decimal number that leadingNumberLength() accepted whole. A value beyond the range
// of a double reads as the largest double of its sign, one too small as zero.
double toDouble(QStringView number)
{
    const QByteArray latin1 = number.toLatin1();
    const char *first = latin1.constData();
    if (*first == '+')
        ++first;
    double value = 0.0;
    const auto [end, error] = std::from_chars(first, latin1.constData() + latin1.size(), value);
    Q_UNUSED(end);
    if (error == std::errc::result_out_of_range) {
        const bool negative = latin1.startsWith('-');
        const bool tiny = latin1.contains("e-") || latin1.contains("E-");
        if (tiny)
            return 0.0;
        return negative ? std::numeric_limits<double>::lowest()
                        : std::numeric_limits<double>::max();
    }
    return value;
}

} // namespace

double parseLenient(QStringView text)
{
    qsizetype start = 0;
    while (start < text.size() && isBlank(text[start]))
        ++start;
    const QStringView rest = text.mid(start);
    const qsizetype length = leadingNumberLength(rest);
    return length == 0 ? 0.0 : toDouble(rest.first(length));
}

std::optional<double> parseStrict(QStringView text)
{
    const QStringView trimmed = text.trimmed();
    if (trimmed.isEmpty() || leadingNumberLength(trimmed) != trimmed.size())
        return std::nullopt;
    return toDouble(trimmed);
}

QString plain(double value)
{
    if (value == 0.0)
        return QStringLiteral("0"); // and never "-0"
    // Fixed notation with the fewest digits that still read back as the same value.
    std::array<char, 400> buffer {};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed);
    return QString::fromLatin1(buffer.data(), result.ptr - buffer.data());
}

} // namespace NumericText
