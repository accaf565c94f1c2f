#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Logging/Level.hpp"

namespace zelvana::logging {

// Whether a comparison tells upper from lower case.
enum class CaseSensitive { no, yes };
// Whether a filter must pass (required) or is one of those of which one must.
enum class Required { no, yes };

// What a filter compares and how; the tagged values of a filter's target.
struct FilterComparison {
    enum class Kind { StartsWith, Contains, Excludes, EndsWith, Equals, Custom };
    using Predicate = std::function<bool(std::string_view)>;

    Kind kind = Kind::Contains;
    std::vector<std::string> texts;
    bool caseSensitive = false;
    Predicate predicate;  // Custom only
};

struct FilterTarget {
    enum class Kind { Path, Function, Message };

    Kind kind = Kind::Message;
    FilterComparison comparison;

    // Targets are of one kind when their cases agree; comparisons don't count.
    bool operator==(const FilterTarget& other) const { return kind == other.kind; }
};

// The interface a filter in a destination's list offers.
class FilterType {
public:
    virtual ~FilterType() = default;
    virtual bool test(std::optional<std::string_view> value) const = 0;
    virtual FilterTarget targetOf() const = 0;
    virtual FilterTarget::Kind targetKind() const = 0;
    virtual bool isRequiredFilter() const = 0;
    virtual bool isExclusion() const = 0;
    virtual bool levelReached(Level level) const = 0;
};

class Filter {
public:
    using ComparisonType = FilterComparison;
    using TargetType = FilterTarget;

    Filter(TargetType targetType, Required required, Level minLevel)
        : targetType_(std::move(targetType)),
          required_(required == Required::yes),
          minLevel_(minLevel) {}
    virtual ~Filter() = default;

    virtual TargetType targetOf() const { return targetType_; }
    virtual bool isRequiredFilter() const { return required_; }
    virtual bool isExclusion() const { return false; }
    virtual bool levelReached(Level level) const { return isAtLeast(level, minLevel_); }

protected:
    TargetType targetType_;
    bool required_;
    Level minLevel_;
};

// The filter kind that takes part in validation.
class CompareFilter final : public Filter, public FilterType {
public:
    CompareFilter(TargetType targetType, Required required, Level minLevel);

    const ComparisonType& filterComparisonType() const { return filterComparisonType_; }

    bool test(std::optional<std::string_view> value) const override;
    TargetType targetOf() const override { return Filter::targetOf(); }
    // Cheaper than targetOf() when only the case matters.
    FilterTarget::Kind targetKind() const override { return targetType_.kind; }
    bool isRequiredFilter() const override { return Filter::isRequiredFilter(); }
    bool isExclusion() const override;
    bool levelReached(Level level) const override { return Filter::levelReached(level); }

private:
    ComparisonType filterComparisonType_;
};

}  // namespace zelvana::logging
