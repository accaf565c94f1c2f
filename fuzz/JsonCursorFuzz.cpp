// JSON read straight from the text, as the saved windows and the stored grid
// are: whatever the cursor reads whole reads as the parser reads it.
#include "fuzz/FuzzSupport.hpp"
#include "platform/foundation/JSONCursor.hpp"
#include "platform/foundation/PropertyListSerialization.hpp"

using namespace zelvana;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = fuzz::text(data, size);
    platform::JSONCursor in(text);
    const auto direct = platform::readPropertyValue(in);
    if (!direct || !in.atEnd()) return 0;
    const auto parsed = platform::JSONSerialization::parse(text);
    fuzz::require(parsed.has_value(), "what the cursor reads the parser reads");
    fuzz::require(*direct == *parsed, "the cursor reads what the parser reads");
    return 0;
}
