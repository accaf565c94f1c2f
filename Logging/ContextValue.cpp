#include "Logging/ContextValue.hpp"

#include <cxxabi.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "Logging/TextForm.hpp"

namespace zelvana::logging {

namespace {

template <typename... Ts>
struct TypeList {};

using TextTypes = TypeList<std::string, std::string_view, const char*, char*>;
using NumberTypes = TypeList<bool, int, long, long long, unsigned, unsigned long,
                             unsigned long long, short, unsigned short, float, double>;

template <typename Result, typename... Ts, typename Convert>
std::optional<Result> convertFirst(const std::any& value, TypeList<Ts...>, Convert convert) {
    std::optional<Result> result;
    // The fold stops at the first type that matches.
    static_cast<void>((
        (value.type() == typeid(Ts) && (result = convert(std::any_cast<const Ts&>(value)), true)) ||
        ...));
    return result;
}

std::string typeName(const std::any& value) {
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> demangled(
        abi::__cxa_demangle(value.type().name(), nullptr, nullptr, &status), &std::free);
    return status == 0 && demangled ? demangled.get() : value.type().name();
}

}  // namespace

std::string contextDescription(const std::any& context) {
    auto asText = [](const auto& v) { return textForm(v); };
    if (auto text = convertFirst<std::string>(context, TextTypes{}, asText)) return *text;
    if (auto text = convertFirst<std::string>(context, NumberTypes{}, asText)) return *text;
    return context.has_value() ? typeName(context) : std::string();
}

std::optional<nlohmann::json> contextJson(const std::any& context) {
    auto asText = [](const auto& v) { return nlohmann::json(textForm(v)); };
    if (auto json = convertFirst<nlohmann::json>(context, TextTypes{}, asText)) return json;
    auto asNumber = [](const auto& v) { return nlohmann::json(v); };
    return convertFirst<nlohmann::json>(context, NumberTypes{}, asNumber);
}

}  // namespace zelvana::logging
