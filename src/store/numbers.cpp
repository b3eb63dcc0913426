#include "numbers.h"

#include "kalimoerror.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {
bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

QStringView trimBlanks(QStringView s) {
    while (!s.isEmpty() && isBlank(s.front()))
        s = s.mid(1);
    while (!s.isEmpty() && isBlank(s.back()))
        s.chop(1);
    return s;
}

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

int hexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}
} // namespace

std::optional<double> ParseDecimal(QStringView text) {
    const QStringView t = trimBlanks(text);
    // Rebuild the number in the C form that strtod reads, checking the shape as we go.
    std::string c;
    c.reserve(size_t(t.size()));
    qsizetype i = 0;
    if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
        c += char(t[i++].unicode());
    int digits = 0;
    while (i < t.size() && isDigit(t[i])) {
        c += char(t[i++].unicode());
        ++digits;
    }
    if (i < t.size() && t[i] == QLatin1Char(',')) {
        c += '.';
        ++i;
        while (i < t.size() && isDigit(t[i])) {
            c += char(t[i++].unicode());
            ++digits;
        }
    }
    if (digits == 0)
        return std::nullopt;
    if (i < t.size() && (t[i] == QLatin1Char('e') || t[i] == QLatin1Char('E'))) {
        c += 'e';
        ++i;
        if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
            c += char(t[i++].unicode());
        int expDigits = 0;
        while (i < t.size() && isDigit(t[i])) {
            c += char(t[i++].unicode());
            ++expDigits;
        }
        if (expDigits == 0)
            return std::nullopt;
    }
    if (i != t.size())
        return std::nullopt;
    errno = 0;
    const double value = std::strtod(c.c_str(), nullptr);
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

double StrToFloat(const QString& text) {
    if (const auto v = ParseDecimal(text))
        return *v;
    throw KalimoError(Messages::NotAFloat(text));
}

std::optional<int> ParseInteger(QStringView text) {
    const QStringView t = trimBlanks(text);
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
        negative = t[i++] == QLatin1Char('-');
    if (i == t.size())
        return std::nullopt;
    long long value = 0;
    for (; i < t.size(); ++i) {
        if (!isDigit(t[i]))
            return std::nullopt;
        value = value * 10 + (t[i].unicode() - '0');
        if (value > 2147483648LL)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(value);
}

int StrToInt(const QString& text) {
    if (const auto v = ParseInteger(text))
        return *v;
    throw KalimoError(Messages::NotAnInteger(text));
}

std::optional<int> ParseProfileInteger(QStringView text) {
    const QStringView t = trimBlanks(text);
    if (t.size() > 2 && t[0] == QLatin1Char('0') && (t[1] == QLatin1Char('x') || t[1] == QLatin1Char('X'))) {
        quint64 value = 0;
        for (const QChar c : t.mid(2)) {
            const int digit = hexDigit(c);
            if (digit < 0)
                return std::nullopt;
            value = value * 16 + quint64(digit);
            if (value > 0xFFFFFFFFULL)
                return std::nullopt;
        }
        return int(quint32(value)); // eight hex digits cover the whole 32-bit range, as colours need
    }
    return ParseInteger(t);
}

QString FormatDecimal(double value, int decimals) {
    QString text = QString::number(value, 'f', decimals);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

bool HoldsOnly(QStringView text, QStringView allowed) {
    return std::all_of(text.begin(), text.end(), [&](QChar c) { return allowed.contains(c); });
}

bool TakesWeightText(QString& text) {
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return HoldsOnly(text, u"0123456789,") && text.count(QLatin1Char(',')) <= 1 && text != QLatin1String(",");
}

bool TakesWeightCellText(QString& text, QStringView before) {
    if (!TakesWeightText(text))
        return false;
    // Digits put after the marker: the marker goes. A comma after it ("0,5") makes a weight of
    // its own.
    if (before == QLatin1String("0") && text.size() > 1 && text.startsWith(QLatin1Char('0')) &&
        HoldsOnly(text, u"0123456789"))
        text.remove(0, 1);
    return true;
}

bool TakesFoodValueText(QString& text) {
    return TakesWeightText(text);
}

bool TakesQuantityText(QStringView text) {
    return HoldsOnly(text.startsWith(QLatin1Char('-')) ? text.mid(1) : text, u"0123456789,.");
}

namespace {
char16_t unit(QChar c) {
    return c.unicode();
}
char16_t unit(char c) {
    return char16_t(uchar(c));
}

template <typename Text> std::optional<int> plainNumber(Text text) {
    if (text.isEmpty() || text.size() > 6 || unit(text.front()) == u'0')
        return std::nullopt;
    int n = 0;
    for (const auto c : text) {
        if (unit(c) < u'0' || unit(c) > u'9')
            return std::nullopt;
        n = n * 10 + int(unit(c) - u'0');
    }
    return n;
}
} // namespace

std::optional<int> ParsePlainNumber(QStringView text) {
    return plainNumber(text);
}

std::optional<int> ParsePlainNumber(QByteArrayView text) {
    return plainNumber(text);
}
