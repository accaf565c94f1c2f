#include "platform/system/ArchiveHeader.hpp"

#include <algorithm>

namespace zelvana::platform {

void ArchiveHeader::appendString(std::string key, std::string text) {
    fields_.push_back({std::move(key), std::move(text)});
}

void ArchiveHeader::appendUInt(std::string key, std::uint64_t value) {
    fields_.push_back({std::move(key), value});
}

void ArchiveHeader::appendBlob(std::string key, std::uint64_t size) {
    fields_.push_back({std::move(key), ArchiveBlob{size, blobBytes_}});
    blobBytes_ += size;
}

const ArchiveField* ArchiveHeader::field(std::string_view key) const {
    const auto found = std::find_if(fields_.begin(), fields_.end(),
                                    [key](const ArchiveField& field) { return field.key == key; });
    return found == fields_.end() ? nullptr : &*found;
}

}  // namespace zelvana::platform
