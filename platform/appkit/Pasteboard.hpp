#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zelvana::platform {

// Pasteboard types by their uniform type identifiers.
inline constexpr const char* kPasteboardTypeFileURL = "public.file-url";
inline constexpr const char* kPasteboardTypeString = "public.utf8-plain-text";

using PasteboardData = std::vector<std::uint8_t>;

// One item on a pasteboard: the same thing in one or more types. A value type.
class PasteboardItem {
public:
    void setData(PasteboardData data, const std::string& type) { data_[type] = std::move(data); }
    void setString(const std::string& text, const std::string& type) {
        setData(PasteboardData(text.begin(), text.end()), type);
    }
    std::optional<PasteboardData> dataForType(const std::string& type) const;
    std::vector<std::string> types() const;

private:
    std::map<std::string, PasteboardData> data_;
};

// A pasteboard, such as the one a drag carries. It has no item list until
// something is written to it. Main thread only.
class Pasteboard {
public:
    // Empties the item list (it exists from now on).
    void clearContents() { items_.emplace(); }
    void writeObjects(std::vector<PasteboardItem> items);
    // None while nothing was ever written.
    const std::optional<std::vector<PasteboardItem>>& pasteboardItems() const { return items_; }
    // Whether some item has some of these types.
    bool hasAnyType(const std::vector<std::string>& types) const;

private:
    std::optional<std::vector<PasteboardItem>> items_;
};

}  // namespace zelvana::platform
