#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Logging/SecondDateCache.hpp"
#include "platform/foundation/Date.hpp"

namespace zelvana::logging {

// A "$"-token line format split into its phrases once, so that rendering a
// line never parses the format again. Each date phrase keeps the text of its
// current second. Belongs to one destination and is used on its queue.
class LineFormat {
public:
    struct Phrase {
        // The token; '\0' for text copied as it is.
        char token = '\0';
        std::int64_t width = 0;
        // The text after the token's output (a date token's pattern is in
        // its cache), with any plain text that follows merged in.
        std::string text;
        std::unique_ptr<SecondDateCache> date;
        // The zone a "$Z" phrase switches the formatter to.
        std::optional<platform::TimeZone> zone;
    };

    explicit LineFormat(std::string_view format);

    const std::string& format() const { return format_; }
    std::vector<Phrase>& phrases() { return phrases_; }
    // Bytes of the line that don't depend on the entry, for reserving.
    std::size_t fixedBytes() const { return fixedBytes_; }

private:
    void addPhrase(std::string_view phrase);

    std::string format_;
    std::vector<Phrase> phrases_;
    std::size_t fixedBytes_ = 0;
};

}  // namespace zelvana::logging
