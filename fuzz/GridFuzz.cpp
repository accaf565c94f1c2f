// The stored `grid`: spaces that decode are stored and read back unchanged.
#include <vector>

#include "Zelvana/CodableSpace.hpp"
#include "fuzz/JsonRecordCheck.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zelvana;
    fuzz::checkStoredRecord<std::vector<core::CodableSpace>>(fuzz::text(data, size));
    return 0;
}
