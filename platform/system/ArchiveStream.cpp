#include "platform/system/ArchiveStream.hpp"

#include <algorithm>
#include <optional>

#include "platform/foundation/BigEndian.hpp"

namespace zelvana::platform {

namespace {

constexpr std::string_view kMagic = "ZVAH";
// The magic and the header's size.
constexpr std::size_t kPrefixSize = 6;
constexpr std::size_t kLargestHeader = 0xffff;
constexpr std::size_t kKeySize = 3;

enum Kind : char { kText = 'T', kUnsigned = 'U', kBlob = 'B' };

std::optional<std::string> encode(const ArchiveHeader& header) {
    std::string fields;
    for (const ArchiveField& field : header.fields()) {
        if (field.key.size() != kKeySize) return std::nullopt;
        fields += field.key;
        if (const auto* text = std::get_if<std::string>(&field.value)) {
            if (text->size() > kLargestHeader) return std::nullopt;
            fields.push_back(kText);
            bigEndian::append(fields, text->size(), 2);
            fields += *text;
        } else if (const auto* number = std::get_if<std::uint64_t>(&field.value)) {
            fields.push_back(kUnsigned);
            bigEndian::append(fields, *number, 8);
        } else {
            fields.push_back(kBlob);
            bigEndian::append(fields, std::get<ArchiveBlob>(field.value).size, 8);
        }
    }
    const std::size_t size = kPrefixSize + fields.size();
    if (size > kLargestHeader) return std::nullopt;
    std::string bytes(kMagic);
    bigEndian::append(bytes, size, 2);
    return bytes + fields;
}

// The fields of a header, whose blobs must fit in the `available` bytes after it.
std::variant<ArchiveHeader, ArchiveDecodingError> decodeFields(std::string_view fields,
                                                               std::size_t available) {
    using Error = ArchiveDecodingError;
    ArchiveHeader header;
    std::size_t at = 0;
    while (at < fields.size()) {
        if (fields.size() - at < kKeySize + 1) return Error::badHeader;
        std::string key(fields.substr(at, kKeySize));
        const char kind = fields[at + kKeySize];
        at += kKeySize + 1;
        const std::size_t rest = fields.size() - at;
        if (kind == kText) {
            const std::size_t length = rest < 2 ? 0 : bigEndian::read(fields, at, 2);
            if (rest < 2 || rest - 2 < length) return Error::badHeader;
            header.appendString(std::move(key), std::string(fields.substr(at + 2, length)));
            at += 2 + length;
        } else if (kind == kUnsigned || kind == kBlob) {
            if (rest < 8) return Error::badHeader;
            const std::uint64_t value = bigEndian::read(fields, at, 8);
            at += 8;
            if (kind == kUnsigned) {
                header.appendUInt(std::move(key), value);
            } else if (value > available - header.blobBytes()) {
                return Error::cutShort;
            } else {
                header.appendBlob(std::move(key), value);
            }
        } else {
            return Error::badHeader;
        }
    }
    return header;
}

}  // namespace

bool ArchiveEncoder::fail() {
    failed_ = true;
    return false;
}

bool ArchiveEncoder::fits(const ArchiveHeader& header) {
    return encode(header).has_value();
}

bool ArchiveEncoder::writeHeader(const ArchiveHeader& header) {
    if (failed_ || nextBlob_ < dueBlobs_.size()) return fail();
    const auto bytes = encode(header);
    if (!bytes || !destination_.write(*bytes)) return fail();
    dueBlobs_.clear();
    nextBlob_ = 0;
    std::copy_if(
        header.fields().begin(), header.fields().end(), std::back_inserter(dueBlobs_),
        [](const ArchiveField& field) { return std::holds_alternative<ArchiveBlob>(field.value); });
    return true;
}

bool ArchiveEncoder::writeBlob(std::string_view key, std::string_view bytes) {
    if (failed_ || nextBlob_ == dueBlobs_.size()) return fail();
    const ArchiveField& due = dueBlobs_[nextBlob_];
    if (due.key != key || std::get<ArchiveBlob>(due.value).size != bytes.size()) return fail();
    if (!destination_.write(bytes)) return fail();
    ++nextBlob_;
    return true;
}

bool ArchiveEncoder::close() {
    return !failed_ && nextBlob_ == dueBlobs_.size();
}

const std::string* ArchiveEntry::blob(std::string_view key) const {
    std::size_t index = 0;
    for (const ArchiveField& field : header.fields()) {
        if (!std::holds_alternative<ArchiveBlob>(field.value)) continue;
        if (field.key == key) return &blobs[index];
        ++index;
    }
    return nullptr;
}

std::variant<std::vector<ArchiveEntry>, ArchiveDecodingError> decodeArchive(
    std::string_view bytes) {
    using Error = ArchiveDecodingError;
    std::vector<ArchiveEntry> entries;
    while (!bytes.empty()) {
        if (!bytes.starts_with(kMagic.substr(0, std::min(bytes.size(), kMagic.size())))) {
            return Error::badHeader;
        }
        if (bytes.size() < kPrefixSize) return Error::cutShort;
        const std::size_t headerSize = bigEndian::read(bytes, kMagic.size(), 2);
        if (headerSize < kPrefixSize) return Error::badHeader;
        if (headerSize > bytes.size()) return Error::cutShort;
        auto decoded = decodeFields(bytes.substr(kPrefixSize, headerSize - kPrefixSize),
                                    bytes.size() - headerSize);
        if (const auto* error = std::get_if<Error>(&decoded)) return *error;
        ArchiveEntry entry{std::get<ArchiveHeader>(std::move(decoded)), {}};
        // decodeFields checked that every blob lies within these bytes.
        const std::string_view blobs = bytes.substr(headerSize);
        for (const ArchiveField& field : entry.header.fields()) {
            if (const auto* blob = std::get_if<ArchiveBlob>(&field.value)) {
                entry.blobs.emplace_back(blobs.substr(blob->offset, blob->size));
            }
        }
        bytes.remove_prefix(headerSize + entry.header.blobBytes());
        entries.push_back(std::move(entry));
    }
    return entries;
}

}  // namespace zelvana::platform
