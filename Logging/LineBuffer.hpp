#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace zelvana::logging {

// One log line being assembled: a buffer sized once for the whole line and
// written through a cursor, bounded so that no format or message makes a line
// larger than about a megabyte. Text beyond the bound is cut between
// characters. One line, one thread.
class LineBuffer {
public:
    static constexpr std::size_t maxBytes = 1 << 20;

    explicit LineBuffer(std::size_t expected) { text_.resize(std::min(expected, maxBytes)); }

    std::size_t size() const { return size_; }

    void append(std::string_view text) {
        // The buffer never outgrows the bound, so text that fits is in bounds.
        if (text.size() <= text_.size() - size_) [[likely]] {
            copy(text_.data() + size_, text.data(), text.size());
            size_ += text.size();
            return;
        }
        appendBounded(text);
    }

    void appendBlanks(std::size_t count) {
        count = std::min(count, maxBytes - size_);
        reserveMore(count);
        std::memset(text_.data() + size_, ' ', count);
        size_ += count;
    }

    // The line so far, shortened to `length` bytes first.
    std::string take(std::size_t length) {
        text_.resize(std::min(length, size_));
        size_ = 0;
        return std::move(text_);
    }
    std::string_view view() const { return {text_.data(), size_}; }

private:
    // Most pieces of a line are a few bytes long: copied with fixed-size moves
    // that overlap rather than through a call.
    static void copy(char* to, const char* from, std::size_t count) {
        if (count >= 8 && count <= 16) {
            std::memcpy(to, from, 8);
            std::memcpy(to + count - 8, from + count - 8, 8);
        } else if (count >= 4 && count < 8) {
            std::memcpy(to, from, 4);
            std::memcpy(to + count - 4, from + count - 4, 4);
        } else if (count > 0 && count < 4) {
            to[0] = from[0];
            to[count / 2] = from[count / 2];
            to[count - 1] = from[count - 1];
        } else if (count > 16) {
            std::memcpy(to, from, count);
        }
    }

    // The start of the character at `at`, so a cut never splits one.
    static std::size_t characterStart(std::string_view text, std::size_t at) {
        while (at > 0 && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) --at;
        return at;
    }

    void appendBounded(std::string_view text) {
        const std::size_t room = maxBytes - size_;
        if (text.size() > room) text = text.substr(0, characterStart(text, room));
        reserveMore(text.size());
        std::memcpy(text_.data() + size_, text.data(), text.size());
        size_ += text.size();
    }

    void reserveMore(std::size_t count) {
        if (size_ + count > text_.size()) {
            text_.resize(std::min(maxBytes, std::max(size_ + count, 2 * text_.size())));
        }
    }

    std::string text_;
    std::size_t size_ = 0;
};

}  // namespace zelvana::logging
