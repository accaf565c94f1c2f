#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/appkit/TextAttributes.hpp"

namespace zelvana::platform {

// The text of a text view with its attribute runs. Offsets count UTF-8 bytes.
class TextStorage {
public:
    struct Run {
        std::size_t location = 0;
        std::size_t length = 0;
        TextAttributes attributes;
        bool operator==(const Run&) const = default;
    };

    const std::string& string() const { return text_; }
    std::size_t length() const { return text_.size(); }
    const std::vector<Run>& runs() const { return runs_; }
    // The attributes at byte `index`; absent past the end.
    std::optional<TextAttributes> attributesAt(std::size_t index) const;

    void append(const std::string& text, const TextAttributes& attributes = {});
    // Replaces the whole text with plain text.
    void setString(const std::string& text);

    // Called after every change; the owning view uses it to re-lay out.
    void setChangeHandler(std::function<void()> handler) { onChange_ = std::move(handler); }

private:
    void changed() const;

    std::string text_;
    std::vector<Run> runs_;
    std::function<void()> onChange_;
};

}  // namespace zelvana::platform
