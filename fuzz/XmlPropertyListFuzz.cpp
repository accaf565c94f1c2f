// XML property lists: whatever parses and XML can carry writes out as a text
// that parses to the same value, and that text is a fixed point.
#include "fuzz/FuzzSupport.hpp"
#include "platform/foundation/PropertyListSerialization.hpp"

using namespace zelvana;
using platform::PropertyListSerialization::fromXml;
using platform::PropertyListSerialization::isXmlWritable;
using platform::PropertyListSerialization::toXml;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto value = fromXml(fuzz::text(data, size));
    if (!value || !isXmlWritable(*value)) return 0;
    const std::string written = toXml(*value);
    const auto reread = fromXml(written);
    fuzz::require(reread.has_value(), "a written XML property list parses");
    fuzz::require(fuzz::sameValue(*value, *reread), "XML re-reads as the same value");
    fuzz::require(toXml(*reread) == written, "XML writing is a fixed point");
    return 0;
}
