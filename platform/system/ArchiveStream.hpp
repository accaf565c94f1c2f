#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/system/ArchiveHeader.hpp"
#include "platform/system/ByteStream.hpp"

namespace zelvana::platform {

// Writes archive entries to a byte stream: each a header, then the bytes of its
// blobs in the order of their fields. One thread.
class ArchiveEncoder {
public:
    // The destination outlives the encoder: its owner closes it after the encoder.
    explicit ArchiveEncoder(OutputByteStream& destination) : destination_(destination) {}

    // Whether the header fits the layout: every key three bytes, no text nor
    // the whole header over 65,535 bytes.
    static bool fits(const ArchiveHeader& header);
    // False when the entry before still lacks a blob, the header does not fit
    // or the stream refuses it.
    bool writeHeader(const ArchiveHeader& header);
    // The bytes of the next blob the header announced: false for another key or size.
    bool writeBlob(std::string_view key, std::string_view bytes);
    // False when a blob is still due or anything failed to be written.
    bool close();

private:
    bool fail();

    OutputByteStream& destination_;
    std::vector<ArchiveField> dueBlobs_;
    std::size_t nextBlob_ = 0;
    bool failed_ = false;
};

// One entry read back: its header and the bytes of its blobs.
struct ArchiveEntry {
    ArchiveHeader header;
    std::vector<std::string> blobs;

    // The bytes of the blob field with the key; null when there is none.
    const std::string* blob(std::string_view key) const;
};

enum class ArchiveDecodingError {
    // Not a header, a field of an unknown kind, or fields that overrun it.
    badHeader,
    // A header or its blobs end before their sizes say.
    cutShort,
};

// Every entry of an archive's bytes, as the encoder wrote them.
std::variant<std::vector<ArchiveEntry>, ArchiveDecodingError> decodeArchive(std::string_view bytes);

}  // namespace zelvana::platform
