// Binary property lists: whatever parses writes out as bytes that parse to the
// same value. Its XML form is not compared: binary holds what XML cannot (control
// characters, dates finer than a second); the XML target checks that form.
#include "fuzz/FuzzSupport.hpp"
#include "platform/foundation/PropertyListSerialization.hpp"

using namespace zelvana;
namespace plist = platform::PropertyListSerialization;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto value = plist::fromBinary(fuzz::text(data, size));
    if (!value) return 0;
    const auto reread = plist::fromBinary(plist::toBinary(*value));
    fuzz::require(reread.has_value(), "a written binary property list parses");
    fuzz::require(fuzz::sameValue(*value, *reread), "binary re-reads as the same value");
    return 0;
}
