#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Logging/Filter.hpp"

namespace zelvana::logging {

// Makes compare filters aimed at one part of an entry; never instantiated.
template <FilterTarget::Kind Target>
class FilterFactory {
public:
    using Texts = std::vector<std::string>;
    using Kind = FilterComparison::Kind;

    FilterFactory() = delete;

    static std::shared_ptr<CompareFilter> startsWith(
        Texts texts, CaseSensitive caseSensitive = CaseSensitive::no,
        Required required = Required::no, Level minLevel = Level::verbose) {
        return make(Kind::StartsWith, std::move(texts), caseSensitive, required, minLevel);
    }
    static std::shared_ptr<CompareFilter> contains(Texts texts,
                                                   CaseSensitive caseSensitive = CaseSensitive::no,
                                                   Required required = Required::no,
                                                   Level minLevel = Level::verbose) {
        return make(Kind::Contains, std::move(texts), caseSensitive, required, minLevel);
    }
    static std::shared_ptr<CompareFilter> excludes(Texts texts,
                                                   CaseSensitive caseSensitive = CaseSensitive::no,
                                                   Required required = Required::no,
                                                   Level minLevel = Level::verbose) {
        return make(Kind::Excludes, std::move(texts), caseSensitive, required, minLevel);
    }
    static std::shared_ptr<CompareFilter> endsWith(Texts texts,
                                                   CaseSensitive caseSensitive = CaseSensitive::no,
                                                   Required required = Required::no,
                                                   Level minLevel = Level::verbose) {
        return make(Kind::EndsWith, std::move(texts), caseSensitive, required, minLevel);
    }
    static std::shared_ptr<CompareFilter> equals(Texts texts,
                                                 CaseSensitive caseSensitive = CaseSensitive::no,
                                                 Required required = Required::no,
                                                 Level minLevel = Level::verbose) {
        return make(Kind::Equals, std::move(texts), caseSensitive, required, minLevel);
    }
    static std::shared_ptr<CompareFilter> custom(Required required, Level minLevel,
                                                 FilterComparison::Predicate predicate) {
        FilterComparison comparison{Kind::Custom, {}, false, std::move(predicate)};
        return std::make_shared<CompareFilter>(FilterTarget{Target, std::move(comparison)},
                                               required, minLevel);
    }

private:
    static std::shared_ptr<CompareFilter> make(Kind kind, Texts texts, CaseSensitive caseSensitive,
                                               Required required, Level minLevel) {
        FilterComparison comparison{
            kind, std::move(texts), caseSensitive == CaseSensitive::yes, {}};
        return std::make_shared<CompareFilter>(FilterTarget{Target, std::move(comparison)},
                                               required, minLevel);
    }
};

using PathFilterFactory = FilterFactory<FilterTarget::Kind::Path>;
using FunctionFilterFactory = FilterFactory<FilterTarget::Kind::Function>;
using MessageFilterFactory = FilterFactory<FilterTarget::Kind::Message>;

// The three factories under one name.
struct Filters {
    Filters() = delete;
    using pathFactory = PathFilterFactory;
    using functionFactory = FunctionFilterFactory;
    using messageFactory = MessageFilterFactory;
};

}  // namespace zelvana::logging
