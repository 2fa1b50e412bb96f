#include "simhost/app/xml_values.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "simhost/document/score.h"

namespace simhost {
namespace {

constexpr std::int64_t kMaxDecimalDigits = 15;

struct TypeName {
    std::string_view name;
    std::int32_t value;
};

constexpr std::array<TypeName, 9> kTypeNames = {{
    {"breve", kBreve},
    {"whole", kWhole},
    {"half", kHalf},
    {"quarter", kQuarter},
    {"eighth", kEighth},
    {"16th", kSixteenth},
    {"32nd", kThirtySecond},
    {"64th", kSixtyFourth},
    {"128th", kHundredTwentyEighth},
}};

}  // namespace

std::string_view Trimmed(std::string_view text) {
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (!text.empty() && space(text.front())) text.remove_prefix(1);
    while (!text.empty() && space(text.back())) text.remove_suffix(1);
    return text;
}

std::string_view TextOf(pugi::xml_node node) { return Trimmed(node.child_value()); }

std::optional<Rational> ParseDecimal(std::string_view text) {
    text = Trimmed(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::int64_t num = 0;
    std::int64_t den = 1;
    std::int64_t digits = 0;
    bool point = false;
    for (const char c : text) {
        if (c == '.' && !point) {
            point = true;
            continue;
        }
        if (c < '0' || c > '9' || ++digits > kMaxDecimalDigits) return std::nullopt;
        num = num * 10 + (c - '0');
        if (point) den *= 10;
    }
    if (digits == 0) return std::nullopt;
    return Rational(negative ? -num : num, den);
}

std::optional<std::int64_t> ParseInteger(std::string_view text) {
    text = Trimmed(text);
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

std::optional<std::int32_t> ValueOfType(std::string_view name) {
    for (const TypeName& type : kTypeNames) {
        if (type.name == name) return type.value;
    }
    return std::nullopt;
}

std::string QuarterText(Rational duration) {
    const Rational quarters = duration * Rational(1, kQuarter);
    if (quarters.Den() == 1) {
        return std::to_string(quarters.Num()) + (quarters.Num() == 1 ? " quarter" : " quarters");
    }
    return std::to_string(quarters.Num()) + "/" + std::to_string(quarters.Den()) + " of a quarter";
}

LineIndex::LineIndex(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') newlines_.push_back(i);
    }
}

std::size_t LineIndex::LineOf(std::ptrdiff_t offset) const {
    if (offset < 0) return 0;
    const auto at = static_cast<std::size_t>(offset);
    return static_cast<std::size_t>(std::lower_bound(newlines_.begin(), newlines_.end(), at) -
                                    newlines_.begin()) +
           1;
}

}  // namespace simhost
