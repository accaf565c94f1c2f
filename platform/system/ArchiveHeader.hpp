#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace zelvana::platform {

// What an archive entry is, in its "TYP" field.
enum class ArchiveEntryType : std::uint64_t {
    regularFile = 'F',
};

// A blob field: the blob's size, and its offset among the entry's blobs, which
// follow the header in the order of their fields.
struct ArchiveBlob {
    std::uint64_t size = 0;
    std::uint64_t offset = 0;
    bool operator==(const ArchiveBlob&) const = default;
};

using ArchiveFieldValue = std::variant<std::string, std::uint64_t, ArchiveBlob>;

// A field: a three-letter key ("PAT") and a text, an unsigned integer or a blob.
struct ArchiveField {
    std::string key;
    ArchiveFieldValue value;
    bool operator==(const ArchiveField&) const = default;
};

// The header of one archive entry: its fields in the order they were appended.
// A value type.
class ArchiveHeader {
public:
    void appendString(std::string key, std::string text);
    void appendUInt(std::string key, std::uint64_t value);
    // A blob of `size` bytes, placed after the blobs appended before it.
    void appendBlob(std::string key, std::uint64_t size);

    const std::vector<ArchiveField>& fields() const { return fields_; }
    // The first field with the key, or null.
    const ArchiveField* field(std::string_view key) const;
    // The bytes every blob together takes after the header.
    std::uint64_t blobBytes() const { return blobBytes_; }

    bool operator==(const ArchiveHeader&) const = default;

private:
    std::vector<ArchiveField> fields_;
    std::uint64_t blobBytes_ = 0;
};

}  // namespace zelvana::platform
