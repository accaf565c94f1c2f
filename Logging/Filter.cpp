#include "Logging/Filter.hpp"

#include <algorithm>

#include "Logging/UnicodeText.hpp"

namespace zelvana::logging {

namespace {

bool relates(FilterComparison::Kind kind, std::string_view value, std::string_view text) {
    using Kind = FilterComparison::Kind;
    switch (kind) {
        case Kind::StartsWith:
            return value.starts_with(text);
        case Kind::Contains:
            return value.find(text) != std::string_view::npos;
        case Kind::Excludes:
            return value.find(text) == std::string_view::npos;
        case Kind::EndsWith:
            return value.ends_with(text);
        case Kind::Equals:
            return value == text;
        case Kind::Custom:
            return false;
    }
    return false;
}

bool anyTextRelates(const FilterComparison& comparison, std::string_view value) {
    if (comparison.caseSensitive) {
        return std::ranges::any_of(comparison.texts, [&](const std::string& text) {
            return relates(comparison.kind, value, text);
        });
    }
    const std::string foldedValue = UnicodeText::foldedCase(value);
    return std::ranges::any_of(comparison.texts, [&](const std::string& text) {
        return relates(comparison.kind, foldedValue, UnicodeText::foldedCase(text));
    });
}

}  // namespace

CompareFilter::CompareFilter(TargetType targetType, Required required, Level minLevel)
    : Filter(std::move(targetType), required, minLevel),
      filterComparisonType_(targetType_.comparison) {}

bool CompareFilter::test(std::optional<std::string_view> value) const {
    if (!value) return false;
    if (filterComparisonType_.kind == ComparisonType::Kind::Custom) {
        return filterComparisonType_.predicate && filterComparisonType_.predicate(*value);
    }
    return anyTextRelates(filterComparisonType_, *value);
}

bool CompareFilter::isExclusion() const {
    return filterComparisonType_.kind == ComparisonType::Kind::Excludes;
}

}  // namespace zelvana::logging
