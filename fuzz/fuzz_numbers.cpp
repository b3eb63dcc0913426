// Number conversions: any text is either a number or refused, never a crash; numbers written by
// the program read back as the same number.
#include "calories/foodlog.h"
#include "store/numbers.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {
void check(bool ok) {
    if (!ok)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromLatin1(reinterpret_cast<const char*>(data), qsizetype(size));
    if (const auto v = ParseDecimal(text))
        check(std::isfinite(*v));
    if (const auto i = ParseInteger(text))
        check(ParseInteger(QString::number(*i)) == *i);
    ParseProfileInteger(text);

    if (size >= sizeof(double)) {
        double value;
        std::memcpy(&value, data, sizeof value);
        // Beyond 1e300 the fifteen-digit text may round past the largest double.
        if (std::isfinite(value) && std::fabs(value) < 1e300) {
            const QString shown = FormatAmount(value);
            check(!shown.contains(QLatin1Char('.')) && !shown.contains(QLatin1Char(' ')));
            const auto back = ParseDecimal(shown);
            check(back.has_value());
            // Fifteen significant digits survive the round trip.
            check(value == 0 || std::fabs(*back - value) <= std::fabs(value) * 1e-14);
        }
    }
    if (size >= sizeof(int)) {
        int i;
        std::memcpy(&i, data, sizeof i);
        check(ParseInteger(QString::number(i)) == i);
        check(ParseProfileInteger(QStringLiteral("0x") + QString::number(quint32(i), 16)) == i);
    }
    return 0;
}
