#include "Zelvana/WindowInfo.hpp"

#include "Zelvana/JSONCoding.hpp"

namespace zelvana::core {

void to_json(nlohmann::json& json, const WindowInfo& window) {
    json = {{"id", window.id}, {"frame", coding::encodeRect(window.frame)}, {"pid", window.pid}};
    if (window.layer) json["layer"] = *window.layer;
    if (window.processName) json["processName"] = *window.processName;
}

void from_json(const nlohmann::json& json, WindowInfo& window) {
    WindowInfo read;
    read.id = coding::integer<std::uint32_t>(coding::member(json, "id"));
    read.frame = coding::decodeRect(coding::member(json, "frame"));
    read.pid = coding::integer<std::int32_t>(coding::member(json, "pid"));
    if (const auto* layer = coding::optionalMember(json, "layer")) {
        read.layer = coding::integer<std::int64_t>(*layer);
    }
    if (const auto* name = coding::optionalMember(json, "processName")) {
        read.processName = coding::text(*name);
    }
    window = std::move(read);
}

}  // namespace zelvana::core
