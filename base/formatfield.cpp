#include "base/formatfield.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

// How a binary value is rounded "half away from zero".
//
// The values shown are single-precision floats (a count times 0.01f, a sample times a scale factor),
// formatted through their exact conversion to double. We round that exact binary value: the result
// is the nearest text with `decimals` places, and only a value lying exactly halfway between two
// such texts is moved away from zero. Exact halves exist only for values whose lowest set bit is
// 2^-(decimals+1): 0.125f gives 0.13, 2.5f at 0 decimals gives 3, -0.375f gives -0.38. A float such
// as 0.145f is really 0.14499999582..., below the half, and gives 0.14, as every correct decimal
// conversion does. We deliberately do not round the shortest decimal spelling of the float ("0.145")
// instead: that would make the text depend on how the value happened to be printed, not on the value.
//
// The usual path works on integers: a finite double is m * 2^e exactly, so value * 10^decimals is
// m * 10^decimals * 2^e, which fits 64 bits for every float below 10^15 at up to four decimals.
// Other values (huge numbers, full 53-bit doubles with many decimals) go through the C library's
// exact conversion; an exact half among them is rounded on its exact text, because the C library
// breaks ties to even.

namespace {

constexpr int MaxFastDecimals = 19;
constexpr auto Pow10 = [] {
    std::array<uint64_t, MaxFastDecimals + 1> powers{};
    uint64_t power = 1;
    for (uint64_t& p : powers) {
        p = power;
        power *= 10; // wraps harmlessly after the last entry
    }
    return powers;
}();

// magnitude (finite, > 0) as odd mantissa * 2^exponent.
void Decompose(double magnitude, uint64_t& mantissa, int& exponent) {
    int e = 0;
    const double fraction = std::frexp(magnitude, &e); // magnitude = fraction * 2^e, fraction in [0.5, 1)
    mantissa = static_cast<uint64_t>(std::ldexp(fraction, 53));
    exponent = e - 53;
    const int zeros = std::countr_zero(mantissa);
    mantissa >>= zeros;
    exponent += zeros;
}

// round(magnitude * 10^decimals), halves away from zero, exactly. False when it does not fit 64 bits.
bool ScaledRound(double magnitude, int decimals, uint64_t& scaled) {
    if (magnitude == 0.0) {
        scaled = 0;
        return true;
    }
    if (decimals > MaxFastDecimals)
        return false;
    uint64_t mantissa = 0;
    int exponent = 0;
    Decompose(magnitude, mantissa, exponent);
    uint64_t product = 0;
    if (__builtin_mul_overflow(mantissa, Pow10[decimals], &product))
        return false;
    if (exponent >= 0) {
        if (exponent >= 64 || product > (UINT64_MAX >> exponent))
            return false;
        scaled = product << exponent;
        return true;
    }
    const int shift = -exponent;
    if (shift > 64) { // product < 2^64, so the value is below one half
        scaled = 0;
        return true;
    }
    if (shift == 64) { // one half or more rounds up to 1
        scaled = product >> 63;
        return true;
    }
    const uint64_t remainder = product & ((uint64_t{1} << shift) - 1);
    scaled = (product >> shift) + (remainder >= (uint64_t{1} << (shift - 1)) ? 1 : 0);
    return true;
}

// Writes the digits of v, most significant first; returns the count.
int WriteUnsigned(char* out, uint64_t v) {
    char digits[20];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
    for (int i = 0; i < n; ++i)
        out[i] = digits[n - 1 - i];
    return n;
}

bool IsExactHalf(double magnitude, int decimals) {
    if (magnitude == 0.0)
        return false;
    uint64_t mantissa = 0;
    int exponent = 0;
    Decompose(magnitude, mantissa, exponent);
    return exponent == -(decimals + 1);
}

std::string PrintFixed(double value, int decimals) {
    // At most a sign, 309 integer digits, the point and the decimals.
    std::string text(static_cast<size_t>(decimals) + 320, '\0');
    const int size = std::snprintf(text.data(), text.size(), "%.*f", decimals, value);
    text.resize(static_cast<size_t>(std::clamp(size, 0, static_cast<int>(text.size()) - 1)));
    return text;
}

// The rounded text with '.' as the decimal point, for values outside the integer path.
std::string FixedTextSlow(double value, int decimals) {
    if (!IsExactHalf(std::fabs(value), decimals)) {
        std::string text = PrintFixed(value, decimals); // correctly rounded, and no half to break
        // A negative value that rounds to zero shows no sign.
        if (!text.empty() && text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos)
            text.erase(0, 1);
        return text;
    }
    // An exact half has an exact text with one more decimal, ending in 5: drop the 5 and add one
    // unit in the last remaining place.
    std::string text = PrintFixed(std::fabs(value), decimals + 1);
    text.pop_back();
    if (decimals == 0)
        text.pop_back(); // the point
    int i = static_cast<int>(text.size()) - 1;
    for (; i >= 0; --i) {
        char& digit = text[static_cast<size_t>(i)];
        if (digit == '.')
            continue;
        if (digit != '9') {
            ++digit;
            break;
        }
        digit = '0';
    }
    if (i < 0)
        text.insert(text.begin(), '1');
    if (value < 0)
        text.insert(text.begin(), '-');
    return text;
}

std::string GeneralText(double value) {
    char text[32];
    const int size = std::snprintf(text, sizeof text, "%.15g", value);
    return std::string(text, static_cast<size_t>(std::clamp(size, 0, static_cast<int>(sizeof text) - 1)));
}

void SetSeparator(std::string& text, char separator) {
    std::replace(text.begin(), text.end(), '.', separator);
}

// Cut to width, drop a trailing full stop, pad at the front: steps that every path shares.
void Fit(char* out, const char* text, int length, int width) {
    length = std::min(length, width);
    if (length > 0 && text[length - 1] == '.')
        --length;
    const int pad = width - length;
    std::memset(out, ' ', static_cast<size_t>(pad));
    std::memcpy(out + pad, text, static_cast<size_t>(length));
}

} // namespace

void FormatFieldChars(char* out, double value, int width, int decimals, char separator) {
    if (width <= 0)
        return;
    if (!std::isfinite(value) || value == 0.0)
        value = 0.0; // also turns -0.0 into 0.0
    decimals = std::max(decimals, 0);

    if (decimals > width) {
        std::string text = GeneralText(value);
        SetSeparator(text, separator);
        Fit(out, text.data(), static_cast<int>(text.size()), width);
        return;
    }

    uint64_t scaled = 0;
    if (ScaledRound(std::fabs(value), decimals, scaled)) {
        char text[48]; // sign, 20 integer digits, point, 19 decimals
        int n = 0;
        if (value < 0 && scaled != 0)
            text[n++] = '-';
        n += WriteUnsigned(text + n, scaled / Pow10[decimals]);
        if (decimals > 0) {
            text[n++] = separator;
            uint64_t fraction = scaled % Pow10[decimals];
            for (int i = decimals - 1; i >= 0; --i) {
                text[n + i] = static_cast<char>('0' + fraction % 10);
                fraction /= 10;
            }
            n += decimals;
        }
        Fit(out, text, n, width);
        return;
    }
    std::string text = FixedTextSlow(value, decimals);
    SetSeparator(text, separator);
    Fit(out, text.data(), static_cast<int>(text.size()), width);
}

QChar DecimalSeparator(const QLocale& locale) {
    const QString point = locale.decimalPoint();
    return point.size() == 1 ? point.at(0) : QLatin1Char('.');
}

char Latin1Separator(QChar separator) {
    return separator.unicode() <= 0xFF ? static_cast<char>(separator.unicode()) : ',';
}

QString FormatField(double value, int width, int decimals, const QLocale& locale) {
    if (width <= 0)
        return QString();
    const QChar separator = DecimalSeparator(locale);
    const char latin1 = Latin1Separator(separator);
    std::string chars(static_cast<size_t>(width), ' ');
    FormatFieldChars(chars.data(), value, width, decimals, latin1);
    QString text = QString::fromLatin1(chars.data(), width);
    if (separator.unicode() > 0xFF)
        text.replace(QLatin1Char(latin1), separator);
    return text;
}

QString PadInfo(const QString& text) {
    constexpr int InfoWidth = 24;
    if (text.isEmpty())
        return QString(InfoWidth, QLatin1Char('_'));
    return text.leftJustified(InfoWidth, QLatin1Char(' '));
}
