// The stored `grid`: spaces that decode are stored and read back unchanged,
// and a text read directly, without the tree, reads as the tree reads it.
#include <vector>

#include "Zelvana/CodableSpace.hpp"
#include "fuzz/JsonRecordCheck.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zelvana;
    using Grid = std::vector<core::CodableSpace>;
    const auto text = fuzz::text(data, size);
    fuzz::checkStoredRecord<Grid>(text);
    const auto direct = core::StoredGridReading::read(text);
    fuzz::require(!direct || direct == fuzz::decodeRecord<Grid>(text),
                  "a grid read directly reads as the tree reads it");
    return 0;
}
