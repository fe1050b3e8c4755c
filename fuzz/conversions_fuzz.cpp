#include "calculator/conversions.h"

#include "platform/exceptions.h"

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <regex>
#include <string>

// Every input is a field text, read with both separators. Beyond "no crash and
// no sanitizer report", each conversion is held to a reference written another
// way than the code it checks.
namespace {

std::string gInput;

[[noreturn]] void Fail(const std::string &what)
{
    std::fprintf(stderr, "conversion oracle failed: %s\ninput (%zu bytes): \"", what.c_str(), gInput.size());
    for (unsigned char c : gInput)
        std::fprintf(stderr, c >= 0x20 && c < 0x7f && c != '\\' && c != '"' ? "%c" : "\\x%02x", c);
    std::fprintf(stderr, "\"\n");
    std::abort();
}

// what() is a C string: a NUL in the text ends the message there.
bool SameMessage(const std::exception &e, const std::string &message)
{
    return e.what() == std::string(message.c_str());
}

// The real grammar as a table-driven automaton.
enum Symbol { kSpace, kSign, kDigit, kSeparator, kExponentMark, kOther, kSymbols };
enum State { kLead, kSigned, kWhole, kFraction, kMark, kExponent, kTrail, kStates, kReject = -1 };

// clang-format off
constexpr int kNext[kStates][kSymbols] = {
    //              space    sign       digit      separator  E/e      other
    /* kLead */     {kLead,   kSigned,   kWhole,    kFraction, kReject, kReject},
    /* kSigned */   {kReject, kReject,   kWhole,    kFraction, kReject, kReject},
    /* kWhole */    {kTrail,  kReject,   kWhole,    kFraction, kMark,   kReject},
    /* kFraction */ {kTrail,  kReject,   kFraction, kReject,   kMark,   kReject},
    /* kMark */     {kTrail,  kExponent, kExponent, kReject,   kReject, kReject},
    /* kExponent */ {kTrail,  kReject,   kExponent, kReject,   kReject, kReject},
    /* kTrail */    {kTrail,  kReject,   kReject,   kReject,   kReject, kReject},
};
// clang-format on
constexpr bool kAccepting[kStates] = {false, false, true, true, true, true, true};

Symbol Classify(char c, char separator)
{
    if (c == ' ')
        return kSpace;
    if (c == '+' || c == '-')
        return kSign;
    if (c >= '0' && c <= '9')
        return kDigit;
    if (c == separator)
        return kSeparator;
    if (c == 'e' || c == 'E')
        return kExponentMark;
    return kOther;
}

struct RealShape {
    bool negative = false;
    std::string whole, fraction, exponentDigits;
    bool negativeExponent = false;
};

std::optional<RealShape> MatchRealGrammar(const std::string &text, char separator)
{
    RealShape shape;
    int state = kLead;
    for (char c : text) {
        const int next = kNext[state][Classify(c, separator)];
        if (next == kReject)
            return std::nullopt;
        if (c == '-' && next == kSigned)
            shape.negative = true;
        if (c == '-' && state == kMark)
            shape.negativeExponent = true;
        if (next == kWhole)
            shape.whole += c;
        if (next == kFraction && c != separator)
            shape.fraction += c;
        if (next == kExponent && c != '+' && c != '-')
            shape.exponentDigits += c;
        state = next;
    }
    if (!kAccepting[state])
        return std::nullopt;
    // The exponent stops at 500: up to three significant digits always pass,
    // a fourth only after a value below 500, a fifth never.
    const std::size_t first = shape.exponentDigits.find_first_not_of('0');
    const std::string significant = first == std::string::npos ? "" : shape.exponentDigits.substr(first);
    if (significant.size() > 4 || (significant.size() == 4 && significant[0] >= '5'))
        return std::nullopt;
    return shape;
}

// The value lies in [10^(m - 1), 10^m) for the m returned; nullopt for zero.
std::optional<int> DecimalMagnitude(const RealShape &shape)
{
    const int exponent = shape.exponentDigits.empty() ? 0 : std::atoi(shape.exponentDigits.c_str());
    const int scale = shape.negativeExponent ? -exponent : exponent;
    const std::size_t lead = shape.whole.find_first_not_of('0');
    if (lead != std::string::npos)
        return static_cast<int>(shape.whole.size() - lead) + scale;
    const std::size_t firstFraction = shape.fraction.find_first_not_of('0');
    if (firstFraction != std::string::npos)
        return -static_cast<int>(firstFraction) + scale;
    return std::nullopt;
}

// The display text's own grammar; the texts are short enough for std::regex.
struct DisplayGrammar {
    explicit DisplayGrammar(const std::string &separator)
        : plain("-?(0|[1-9][0-9]*)(" + separator + "[0-9]*[1-9])?"),
          scientific("-?[1-9](" + separator + "[0-9]*[1-9])?E-?[1-9][0-9]*")
    {
    }
    std::regex plain, scientific;
};

void CheckDisplayText(const std::string &shown, long double value, char separator)
{
    static const DisplayGrammar point("[.]"), comma(",");
    const DisplayGrammar &grammar = separator == ',' ? comma : point;
    const long double magnitude = std::fabs(value);
    const bool plainRange = value == 0 || (magnitude >= 0.0001L && magnitude < 1e15L);
    if (!std::regex_match(shown, plainRange ? grammar.plain : grammar.scientific))
        Fail("FormatReal wrote \"" + shown + "\" in the wrong notation or shape");
    if (value == 0 && shown != "0")
        Fail("FormatReal wrote zero as \"" + shown + "\"");
    std::size_t digits = 0;
    bool leading = true;
    for (char c : shown.substr(0, shown.find('E'))) {
        if (c >= '1' && c <= '9')
            leading = false;
        if (c >= '0' && c <= '9' && !leading)
            ++digits;
    }
    if (digits > 15)
        Fail("FormatReal wrote more than 15 significant digits: \"" + shown + "\"");
}

void CheckFormat(long double x, char separator)
{
    const std::string shown = calculator::FormatReal(x);
    if (std::isnan(x) || std::isinf(x)) {
        const char *expected = std::isnan(x) ? "NAN" : x < 0 ? "-INF" : "INF";
        if (shown != expected)
            Fail("FormatReal of a non-finite value wrote \"" + shown + "\"");
        return;
    }
    long double reread = 0;
    try {
        reread = calculator::ParseReal(shown);
    } catch (const platform::EConvertError &) {
        Fail("ParseReal refused FormatReal's \"" + shown + "\"");
    }
    if (calculator::FormatReal(reread) != shown)
        Fail("FormatReal(ParseReal(\"" + shown + "\")) wrote \"" + calculator::FormatReal(reread) + "\"");
    if (std::fabs(x) >= LDBL_MIN && std::fabs(reread - x) > 5.0001e-15L * std::fabs(x))
        Fail("FormatReal's \"" + shown + "\" is not x to 15 digits");
    CheckDisplayText(shown, reread, separator);
}

void CheckRounding(long double x, int d)
{
    const long double step = std::pow(10.0L, static_cast<long double>(d));
    const long double limit = 0x1p63L * step;
    try {
        const double rounded = calculator::RoundToDigit(x, d);
        if (!(std::fabs(x) < limit * (1 + 1e-15L)))
            Fail("RoundToDigit accepted a quotient of 2^63 or more at d = " + std::to_string(d));
        const long double error = std::fabs(static_cast<long double>(rounded) - x);
        if (error > step * 0.5L * (1 + 1e-12L) + std::fabs(x) * 0x1p-52L)
            Fail("RoundToDigit is further than half a step from x at d = " + std::to_string(d));
    } catch (const platform::EInvalidOp &) {
        if (std::fabs(x) < limit * (1 - 1e-15L))
            Fail("RoundToDigit refused a quotient below 2^63 at d = " + std::to_string(d));
    }
}

void CheckReal(const std::string &text, char separator, int d)
{
    calculator::SetDecimalSeparator(separator);
    const std::optional<RealShape> shape = MatchRealGrammar(text, separator);
    std::optional<long double> parsed;
    try {
        parsed = calculator::ParseReal(text);
    } catch (const platform::EConvertError &e) {
        if (!SameMessage(e, "'" + text + "' is not a valid floating point value"))
            Fail(std::string("ParseReal's message is \"") + e.what() + "\"");
    }
    const std::optional<int> magnitude = shape ? DecimalMagnitude(*shape) : std::nullopt;
    // Below 10^4932 every value is finite, from 10^4933 none is.
    const bool mustAccept = shape && (!magnitude || *magnitude <= 4932);
    const bool mustRefuse = !shape || (magnitude && *magnitude - 1 >= 4933);
    if (mustAccept && !parsed)
        Fail(std::string("ParseReal refused a text of the grammar with separator ") + separator);
    if (mustRefuse && parsed)
        Fail(std::string("ParseReal accepted a text outside the grammar or range with separator ") + separator);
    if (!parsed)
        return;

    const long double value = *parsed;
    if (!std::isfinite(value))
        Fail("ParseReal returned a value that is not finite");
    if (std::signbit(value) != shape->negative)
        Fail("ParseReal lost the sign");
    if (!magnitude && value != 0)
        Fail("ParseReal read zero digits as a non-zero value");
    if (magnitude && *magnitude > -4900) {
        const long double log = std::log10(std::fabs(value));
        if (log < *magnitude - 1 - 1e-9L || log > *magnitude + 1e-9L)
            Fail("ParseReal's value has the wrong decimal magnitude");
    }
    CheckFormat(value, separator);
    CheckRounding(value, -4);
    CheckRounding(value, 0);
    CheckRounding(value, d);
}

// Decimal through strtoll and hexadecimal through strtoul, each given only a
// run of digits already checked to be one.
std::optional<std::int32_t> ReferenceWhole(const std::string &text)
{
    const std::size_t start = text.find_first_not_of(' ');
    if (start == std::string::npos)
        return std::nullopt;
    const std::string rest = text.substr(start);
    const bool zeroX = rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X');
    if (zeroX || rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X') {
        const std::string digits = rest.substr(zeroX ? 2 : 1);
        if (digits.empty() || digits.size() > 8 ||
            digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
            return std::nullopt;
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(std::strtoul(digits.c_str(), nullptr, 16)));
    }
    const std::size_t signLength = rest[0] == '+' || rest[0] == '-' ? 1 : 0;
    if (rest.size() == signLength || rest.find_first_not_of("0123456789", signLength) != std::string::npos)
        return std::nullopt;
    errno = 0;
    const long long value = std::strtoll(rest.c_str(), nullptr, 10);
    if (errno == ERANGE || value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

void CheckWhole(const std::string &text)
{
    std::optional<std::int32_t> parsed;
    try {
        parsed = calculator::ParseWhole(text);
    } catch (const platform::EConvertError &e) {
        if (!SameMessage(e, "'" + text + "' is not a valid integer value"))
            Fail(std::string("ParseWhole's message is \"") + e.what() + "\"");
    }
    const std::optional<std::int32_t> expected = ReferenceWhole(text);
    if (parsed != expected) {
        Fail("ParseWhole gave " + (parsed ? std::to_string(*parsed) : "an error") + ", the reference " +
             (expected ? std::to_string(*expected) : "an error"));
    }
}

// The first bytes read as the parts of a long double and as a double, for the
// values no text of the grammar reaches (NaNs, infinities, subnormals).
void CheckRawValues(const std::uint8_t *data, std::size_t size, int d)
{
    if (size < 10)
        return;
    std::uint64_t mantissa;
    std::int16_t exponent;
    std::memcpy(&mantissa, data, sizeof mantissa);
    std::memcpy(&exponent, data + 8, sizeof exponent);
    const long double composed = std::ldexp(static_cast<long double>(mantissa), exponent % 16500 - 63);
    double raw;
    std::memcpy(&raw, data, sizeof raw);
    for (const long double x : {composed, -composed, static_cast<long double>(raw)}) {
        for (const char separator : {'.', ','}) {
            calculator::SetDecimalSeparator(separator);
            CheckFormat(x, separator);
        }
        CheckRounding(x, d);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    gInput.assign(reinterpret_cast<const char *>(data), size);
    const int d = size == 0 ? -4 : static_cast<std::int8_t>(data[size - 1]) % 20;
    CheckReal(gInput, '.', d);
    CheckReal(gInput, ',', d);
    CheckWhole(gInput);
    CheckRawValues(data, size, d);
    calculator::SetDecimalSeparator('.');
    return 0;
}
