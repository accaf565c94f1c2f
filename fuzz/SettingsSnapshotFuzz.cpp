// The settings snapshot under "config" in the cloud store, written by any
// device of the user: a snapshot that decodes encodes to a text that decodes
// to the same snapshot.
#include "fuzz/FuzzSupport.hpp"
#include "settings/Config.hpp"

using namespace zelvana;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto config = settings::Config::decode(fuzz::text(data, size));
    if (!config) return 0;
    const auto text = config->encode();
    fuzz::require(text.has_value(), "a decoded snapshot encodes");
    const auto reread = settings::Config::decode(*text);
    fuzz::require(reread.has_value(), "an encoded snapshot decodes");
    fuzz::require(*reread == *config, "an encoded snapshot decodes to the same snapshot");
    fuzz::require(reread->encode() == text, "encoding a snapshot is a fixed point");
    return 0;
}
