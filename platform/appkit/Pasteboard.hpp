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
// The pasteboard that carries what is being dragged, system-wide.
inline constexpr const char* kPasteboardNameDrag = "Apple CFPasteboard drag";

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
    // The process-wide pasteboard of that name, made on first use.
    static Pasteboard& withName(const std::string& name);

    // Empties the item list (it exists from now on); a new owner, so the
    // change count goes up.
    void clearContents() {
        items_.emplace();
        ++changeCount_;
    }
    void writeObjects(std::vector<PasteboardItem> items);
    // Goes up with every change of owner and every write.
    long changeCount() const { return changeCount_; }
    // None while nothing was ever written.
    const std::optional<std::vector<PasteboardItem>>& pasteboardItems() const { return items_; }
    // Whether some item has some of these types.
    bool hasAnyType(const std::vector<std::string>& types) const;

    // No item list and a change count of 0 again.
    void resetForTesting();

private:
    std::optional<std::vector<PasteboardItem>> items_;
    long changeCount_ = 0;
};

}  // namespace zelvana::platform
