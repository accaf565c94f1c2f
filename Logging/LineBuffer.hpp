#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace zelvana::logging {

// Where log lines are assembled: one buffer, kept from line to line, written
// through a cursor and bounded so that no format or message makes a line
// larger than about a megabyte. Text beyond the bound is cut between
// characters. One line at a time, one thread at a time.
class LineBuffer {
public:
    static constexpr std::size_t maxBytes = 1 << 20;

    LineBuffer() = default;
    explicit LineBuffer(std::size_t expected) { start(expected); }
    LineBuffer(const LineBuffer&) = delete;
    LineBuffer& operator=(const LineBuffer&) = delete;

    // Empties the buffer for a new line of about `expected` bytes.
    void start(std::size_t expected) {
        expected = std::min(expected, maxBytes);
        end_ = data_.get();
        // A buffer grown for a huge line is not kept for the short ones after it.
        if (capacity_ < expected || capacity_ > kKeptBytes) allocate(std::max(expected, kMinBytes));
    }

    std::size_t size() const { return static_cast<std::size_t>(end_ - data_.get()); }
    std::string_view view() const { return {data_.get(), size()}; }

    void append(std::string_view text) {
        // The buffer never outgrows the bound, so text that fits is in bounds.
        if (text.size() <= room()) [[likely]] {
            copy(end_, text.data(), text.size());
            end_ += text.size();
            return;
        }
        appendBounded(text);
    }

    // Appends `text` and gives the bytes it went to, for the caller to fill
    // in; fewer than `text` holds when the bound cut it.
    std::span<char> appendForFilling(std::string_view text) {
        const std::size_t from = size();
        append(text);
        return {data_.get() + from, end_};
    }

    void appendBlanks(std::size_t count) {
        count = std::min(count, maxBytes - size());
        reserveMore(count);
        std::memset(end_, ' ', count);
        end_ += count;
    }

    // The line so far, shortened to `length` bytes.
    std::string take(std::size_t length) const {
        return std::string(data_.get(), std::min(length, size()));
    }

private:
    static constexpr std::size_t kMinBytes = 256;
    static constexpr std::size_t kKeptBytes = 64 * 1024;

    std::size_t room() const { return static_cast<std::size_t>(limit_ - end_); }

    // Most pieces of a line are a few bytes long: copied with fixed-size moves
    // that overlap rather than through a call.
    static void copy(char* to, const char* from, std::size_t count) {
        if (count > 16) {
            std::memcpy(to, from, count);
        } else if (count >= 8) {
            std::memcpy(to, from, 8);
            std::memcpy(to + count - 8, from + count - 8, 8);
        } else if (count >= 4) {
            std::memcpy(to, from, 4);
            std::memcpy(to + count - 4, from + count - 4, 4);
        } else if (count > 0) {
            to[0] = from[0];
            to[count / 2] = from[count / 2];
            to[count - 1] = from[count - 1];
        }
    }

    // The start of the character at `at`, so a cut never splits one.
    static std::size_t characterStart(std::string_view text, std::size_t at) {
        while (at > 0 && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) --at;
        return at;
    }

    void appendBounded(std::string_view text) {
        const std::size_t left = maxBytes - size();
        if (text.size() > left) text = text.substr(0, characterStart(text, left));
        reserveMore(text.size());
        std::memcpy(end_, text.data(), text.size());
        end_ += text.size();
    }

    void reserveMore(std::size_t count) {
        if (count > room()) allocate(std::min(maxBytes, std::max(size() + count, 2 * capacity_)));
    }

    // Keeps what the buffer holds.
    void allocate(std::size_t capacity) {
        const std::size_t used = data_ ? size() : 0;
        auto data = std::make_unique_for_overwrite<char[]>(capacity);
        if (used > 0) std::memcpy(data.get(), data_.get(), used);
        data_ = std::move(data);
        capacity_ = capacity;
        end_ = data_.get() + used;
        limit_ = data_.get() + capacity;
    }

    std::unique_ptr<char[]> data_;
    std::size_t capacity_ = 0;
    char* end_ = nullptr;
    char* limit_ = nullptr;
};

}  // namespace zelvana::logging
