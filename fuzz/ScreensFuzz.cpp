// The stored `screens`: records that decode are stored and read back unchanged.
#include "Zelvana/CodableScreen.hpp"
#include "fuzz/JsonRecordCheck.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zelvana;
    fuzz::checkStoredRecord<core::CodableScreenMap>(fuzz::text(data, size));
    return 0;
}
