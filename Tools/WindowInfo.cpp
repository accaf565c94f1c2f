#include "Tools/WindowInfo.hpp"

#include <cmath>
#include <limits>
#include <stdexcept>
#include <type_traits>
#include <utility>

#include <nlohmann/json.hpp>

#include "Tools/ScreenDetection.hpp"
#include "platform/desktop/WindowList.hpp"
#include "platform/foundation/JSONCursor.hpp"
#include "platform/foundation/JSONText.hpp"

namespace zelvana::tools {

namespace {

using platform::PropertyValue;
using platform::WindowList;
using Json = nlohmann::json;

// A real that is a whole number within T's range.
template <typename T>
std::optional<T> wholeNumber(double real) {
    const double limit = std::ldexp(1.0, std::numeric_limits<T>::digits);
    const double lowest = std::is_signed_v<T> ? -limit : 0.0;
    if (std::trunc(real) != real || real < lowest || real >= limit) return std::nullopt;
    return static_cast<T>(real);
}

// A whole number that fits T; an integral real counts, a bool does not.
template <typename T>
std::optional<T> exactInteger(const PropertyValue* value) {
    if (!value) return std::nullopt;
    if (const auto* integer = value->integerValue()) {
        if (std::in_range<T>(*integer)) return static_cast<T>(*integer);
        return std::nullopt;
    }
    const auto* real = value->realValue();
    return real ? wholeNumber<T>(*real) : std::nullopt;
}

// A frame with a coordinate that is not finite could never be stored.
std::optional<platform::Rect> rectFromDictionary(const PropertyValue* value) {
    const auto rect = value ? platform::rectFromDictionaryRepresentation(*value) : std::nullopt;
    if (!rect) return std::nullopt;
    for (double side : {rect->minX(), rect->minY(), rect->width(), rect->height()}) {
        if (!std::isfinite(side)) return std::nullopt;
    }
    return rect;
}

bool isLargeEnough(const platform::Rect& bounds) {
    constexpr double minimumSide = 40;
    return bounds.width() > minimumSide && bounds.height() > minimumSide;
}

template <std::integral T>
T jsonInteger(const Json& value) {
    if (!value.is_number()) {
        throw std::invalid_argument(std::string("expected a whole number, found ") +
                                    value.type_name());
    }
    const auto result = platform::JSONText::integer<T>(value);
    if (!result) throw std::invalid_argument("a whole number out of range");
    return *result;
}

const Json& member(const Json& object, const char* key) {
    const auto found = object.find(key);
    if (found == object.end()) throw std::invalid_argument(std::string("no member ") + key);
    return *found;
}

// Null reads as absent.
const Json* optionalMember(const Json& object, const char* key) {
    const auto found = object.find(key);
    return found == object.end() || found->is_null() ? nullptr : &*found;
}

// Whole values are written without a fraction, as [[-1920, 0], [1920, 1080]].
Json jsonNumber(double value) {
    const double limit = std::ldexp(1.0, 53);
    if (std::trunc(value) == value && std::abs(value) < limit) {
        return static_cast<std::int64_t>(value);
    }
    return value;
}

Json jsonRect(const platform::Rect& rect) {
    return Json::array({Json::array({jsonNumber(rect.minX()), jsonNumber(rect.minY())}),
                        Json::array({jsonNumber(rect.width()), jsonNumber(rect.height())})});
}

std::pair<double, double> jsonPair(const Json& value) {
    if (!value.is_array() || value.size() != 2 || !value[0].is_number() || !value[1].is_number()) {
        throw std::invalid_argument("expected a pair of numbers");
    }
    return {value[0].get<double>(), value[1].get<double>()};
}

platform::Rect rectFromJson(const Json& value) {
    if (!value.is_array() || value.size() != 2) {
        throw std::invalid_argument("expected [[x, y], [width, height]]");
    }
    const auto [x, y] = jsonPair(value[0]);
    const auto [width, height] = jsonPair(value[1]);
    return platform::Rect::make(x, y, width, height);
}

}  // namespace

std::optional<WindowInfo> WindowInfo::fromFilteredDescription(const PropertyValue& description) {
    const auto pid = exactInteger<std::int32_t>(description.find(WindowList::windowOwnerPIDKey));
    const auto id = exactInteger<std::uint32_t>(description.find(WindowList::windowNumberKey));
    const auto layer = exactInteger<std::int64_t>(description.find(WindowList::windowLayerKey));
    const auto* owner = description.find(WindowList::windowOwnerNameKey);
    const auto bounds = rectFromDictionary(description.find(WindowList::windowBoundsKey));
    if (!pid || !id || layer != 0 || !owner || !owner->isString() || !bounds) return std::nullopt;
    if (!isLargeEnough(*bounds)) return std::nullopt;
    return WindowInfo{*id, std::nullopt, *bounds, *pid, *owner->stringValue()};
}

std::optional<WindowInfo> WindowInfo::fromDescription(const PropertyValue& description) {
    const auto id = exactInteger<std::uint32_t>(description.find(WindowList::windowNumberKey));
    const auto pid = exactInteger<std::int32_t>(description.find(WindowList::windowOwnerPIDKey));
    const auto bounds = rectFromDictionary(description.find(WindowList::windowBoundsKey));
    if (!id || !pid || !bounds) return std::nullopt;
    const auto* owner = description.find(WindowList::windowOwnerNameKey);
    const auto* ownerName = owner ? owner->stringValue() : nullptr;
    return WindowInfo{*id, exactInteger<std::int64_t>(description.find(WindowList::windowLayerKey)),
                      *bounds, *pid, ownerName ? *ownerName : std::string()};
}

std::optional<platform::RunningApplication> WindowInfo::runningApplication() const {
    return platform::RunningApplication::withProcessIdentifier(pid);
}

std::optional<std::string> WindowInfo::runningApplicationBundleIdentifier() const {
    const auto application = runningApplication();
    return application ? application->bundleIdentifier() : std::nullopt;
}

std::optional<std::filesystem::path> WindowInfo::runningApplicationBundleURL() const {
    const auto application = runningApplication();
    return application ? application->bundleURL() : std::nullopt;
}

std::optional<platform::Screen> WindowInfo::windowScreen() const {
    return ScreenDetection::screenForRect(platform::Screen::screens(), frame);
}

void to_json(Json& json, const WindowInfo& window) {
    json = {{"id", window.id}, {"frame", jsonRect(window.frame)}, {"pid", window.pid}};
    if (window.layer) json["layer"] = *window.layer;
    if (window.processName) json["processName"] = *window.processName;
}

void from_json(const Json& json, WindowInfo& window) {
    if (!json.is_object()) {
        throw std::invalid_argument(std::string("expected an object, found ") + json.type_name());
    }
    WindowInfo read;
    read.id = jsonInteger<std::uint32_t>(member(json, "id"));
    read.frame = rectFromJson(member(json, "frame"));
    read.pid = jsonInteger<std::int32_t>(member(json, "pid"));
    if (const auto* layer = optionalMember(json, "layer")) {
        read.layer = jsonInteger<std::int64_t>(*layer);
    }
    if (const auto* name = optionalMember(json, "processName")) {
        if (!name->is_string()) throw std::invalid_argument("processName is not text");
        read.processName = name->get<std::string>();
    }
    window = std::move(read);
}

namespace {

std::optional<std::pair<double, double>> readPair(platform::JSONCursor& in) {
    if (!in.beginArray()) return std::nullopt;
    std::optional<double> first;
    std::optional<double> second;
    if (in.nextItem()) first = in.real();
    if (in.nextItem()) second = in.real();
    if (!first || !second || in.nextItem() || in.failed()) return in.fail();
    return std::pair{*first, *second};
}

}  // namespace

std::optional<platform::Rect> readRect(platform::JSONCursor& in) {
    if (!in.beginArray()) return std::nullopt;
    std::optional<std::pair<double, double>> origin;
    std::optional<std::pair<double, double>> size;
    if (in.nextItem()) origin = readPair(in);
    if (in.nextItem()) size = readPair(in);
    if (!origin || !size || in.nextItem() || in.failed()) return in.fail();
    return platform::Rect::make(origin->first, origin->second, size->first, size->second);
}

std::optional<WindowInfo> readWindowInfo(platform::JSONCursor& in) {
    static constexpr std::string_view members[] = {"id", "frame", "pid", "layer", "processName"};
    if (!in.beginObject()) return std::nullopt;
    WindowInfo read;
    std::optional<std::uint32_t> id;
    std::optional<platform::Rect> frame;
    std::optional<std::int32_t> pid;
    while (const auto member = in.nextMember(members)) {
        switch (*member) {
            case 0:
                id = in.integer<std::uint32_t>();
                break;
            case 1:
                frame = readRect(in);
                break;
            case 2:
                pid = in.integer<std::int32_t>();
                break;
            case 3:
                read.layer = in.integer<std::int64_t>();
                break;
            default:
                if (const auto name = in.string()) read.processName.emplace(*name);
        }
    }
    if (in.failed() || !id || !frame || !pid) return in.fail();
    read.id = *id;
    read.frame = *frame;
    read.pid = *pid;
    return read;
}

}  // namespace zelvana::tools
