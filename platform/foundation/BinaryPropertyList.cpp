// Binary property lists: "bplist00", a table of objects addressed by index,
// an offset table and a 32-byte trailer. Every number is big-endian.

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "platform/foundation/BigEndian.hpp"
#include "platform/foundation/PropertyListSerialization.hpp"

namespace zelvana::platform {
namespace {

constexpr char kMagic[] = "bplist00";
constexpr std::size_t kHeaderSize = 8;
constexpr std::size_t kTrailerSize = 32;
// Deeper nesting than this is refused rather than risking the stack.
constexpr int kMaxDepth = 512;
// Objects may be shared, and each reference to a shared container is read
// into a copy of its own, so a few hundred bytes could expand without end.
// What a file expands to is bounded by a multiple of its size (values and
// the bytes of strings and data each count), generous for real files that
// share their keys and strings.
constexpr std::uint64_t kExpansionFactor = 64;
constexpr std::uint64_t kMinimumExpansion = 1 << 20;

enum Marker : std::uint8_t {
    kFalse = 0x08,
    kTrue = 0x09,
    kInteger = 0x10,
    kReal = 0x20,
    kDate = 0x33,
    kData = 0x40,
    kAsciiString = 0x50,
    kUnicodeString = 0x60,
    kUid = 0x80,
    kArray = 0xA0,
    kSet = 0xC0,
    kDictionary = 0xD0,
};

std::nullopt_t refuse(std::string* error, const std::string& text) {
    if (error) *error = text;
    return std::nullopt;
}

// ---- text ----

void appendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

constexpr std::uint32_t kReplacement = 0xFFFD;

bool isHighSurrogate(std::uint32_t unit) {
    return unit >= 0xD800 && unit < 0xDC00;
}
bool isLowSurrogate(std::uint32_t unit) {
    return unit >= 0xDC00 && unit < 0xE000;
}

// Unpaired surrogates become U+FFFD.
std::string utf8FromUtf16(const std::vector<std::uint16_t>& units) {
    std::string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        std::uint32_t code = units[i];
        if (isHighSurrogate(code) && i + 1 < units.size() && isLowSurrogate(units[i + 1])) {
            code = 0x10000 + ((code - 0xD800) << 10) + (units[++i] - 0xDC00);
        } else if (isHighSurrogate(code) || isLowSurrogate(code)) {
            code = kReplacement;
        }
        appendUtf8(out, code);
    }
    return out;
}

// Malformed sequences become U+FFFD.
std::vector<std::uint16_t> utf16FromUtf8(const std::string& text) {
    std::vector<std::uint16_t> units;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<std::uint8_t>(text[i]);
        const int length = lead < 0x80       ? 1
                           : lead >> 5 == 6  ? 2
                           : lead >> 4 == 14 ? 3
                           : lead >> 3 == 30 ? 4
                                             : 0;
        std::uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
        bool valid = length > 0 && i + length <= text.size();
        for (int k = 1; valid && k < length; ++k) {
            const auto next = static_cast<std::uint8_t>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        if (!valid || code > 0x10FFFF || isHighSurrogate(code) || isLowSurrogate(code)) {
            code = kReplacement;
            i += 1;
        } else {
            i += length;
        }
        if (code >= 0x10000) {
            units.push_back(static_cast<std::uint16_t>(0xD800 + ((code - 0x10000) >> 10)));
            units.push_back(static_cast<std::uint16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
        } else {
            units.push_back(static_cast<std::uint16_t>(code));
        }
    }
    return units;
}

// ---- reading ----

class BinaryReader {
public:
    BinaryReader(const std::string& bytes, std::string* error) : bytes_(bytes), error_(error) {}

    std::optional<PropertyValue> document() {
        if (bytes_.size() < kHeaderSize + kTrailerSize || bytes_.compare(0, 8, kMagic) != 0)
            return failed("not a binary property list");
        if (!readTrailer()) return std::nullopt;
        inProgress_.assign(objectCount_, false);
        budget_ = std::max<std::uint64_t>(kExpansionFactor * bytes_.size(), kMinimumExpansion);
        return object(topObject_, 0);
    }

private:
    std::optional<PropertyValue> failed(const std::string& text) { return refuse(error_, text); }

    // Counts `units` more of expansion; false once the file has expanded too far.
    bool spend(std::uint64_t units) {
        if (units > budget_) return false;
        budget_ -= units;
        return true;
    }

    std::uint64_t number(std::size_t at, std::size_t size) const {
        return bigEndian::read(bytes_, at, size);
    }

    bool readTrailer() {
        const std::size_t at = bytes_.size() - kTrailerSize;
        offsetSize_ = static_cast<std::uint8_t>(bytes_[at + 6]);
        refSize_ = static_cast<std::uint8_t>(bytes_[at + 7]);
        objectCount_ = number(at + 8, 8);
        topObject_ = number(at + 16, 8);
        tableOffset_ = number(at + 24, 8);
        const bool sizesValid =
            offsetSize_ >= 1 && offsetSize_ <= 8 && refSize_ >= 1 && refSize_ <= 8;
        const std::uint64_t tableRoom = at > tableOffset_ ? at - tableOffset_ : 0;
        if (!sizesValid || objectCount_ == 0 || topObject_ >= objectCount_ ||
            tableOffset_ < kHeaderSize || objectCount_ > tableRoom / offsetSize_) {
            failed("inconsistent binary property-list trailer");
            return false;
        }
        return true;
    }

    // True when `size` bytes from `at` lie among the objects.
    bool fits(std::uint64_t at, std::uint64_t size) const {
        return at <= tableOffset_ && size <= tableOffset_ - at;
    }

    std::optional<PropertyValue> object(std::uint64_t ref, int depth) {
        if (ref >= objectCount_) return failed("object reference out of range");
        if (depth > kMaxDepth) return failed("property list nested too deeply");
        if (inProgress_[ref]) return failed("property list refers to itself");
        if (!spend(1)) return failed("binary property list expands too far");
        const std::uint64_t offset = number(tableOffset_ + ref * offsetSize_, offsetSize_);
        if (offset < kHeaderSize || !fits(offset, 1)) return failed("object offset out of range");
        inProgress_[ref] = true;
        auto value = parse(offset, depth);
        inProgress_[ref] = false;
        return value;
    }

    std::optional<PropertyValue> parse(std::uint64_t at, int depth) {
        const auto marker = static_cast<std::uint8_t>(bytes_[at]);
        const std::uint8_t low = marker & 0x0F;
        switch (marker & 0xF0) {
            case 0x00:
                if (marker == kFalse || marker == kTrue) return PropertyValue(marker == kTrue);
                return failed("null or unknown object in binary property list");
            case kInteger:
                return integer(at + 1, low);
            case kReal:
                return real(at + 1, low);
            case kDate & 0xF0:
                return date(at, marker);
            case kData:
                return data(at, low);
            case kAsciiString:
                return asciiString(at, low);
            case kUnicodeString:
                return unicodeString(at, low);
            case kUid:
                return uid(at + 1, low);
            case kArray:
            case kSet:
                return array(at, low, depth);
            case kDictionary:
                return dictionary(at, low, depth);
            default:
                return failed("unknown object marker in binary property list");
        }
    }

    std::optional<PropertyValue> integer(std::uint64_t at, std::uint8_t power) {
        if (power > 4) return failed("invalid integer size");
        const std::uint64_t size = std::uint64_t{1} << power;
        if (!fits(at, size)) return failed("integer runs past the objects");
        if (size == 16) {
            // 128 bits, as the system writes integers from 2^63 up: values
            // from -2^63 to 2^64 - 1 are kept.
            const std::uint64_t high = number(at, 8), value = number(at + 8, 8);
            if (high == 0) return PropertyValue(value);
            const bool fitsSigned =
                high == ~std::uint64_t{0} && value > std::numeric_limits<std::int64_t>::max();
            if (!fitsSigned) return failed("integer out of range");
            return PropertyValue(static_cast<std::int64_t>(value));
        }
        // 1, 2 and 4 bytes are unsigned; 8 bytes are signed.
        return PropertyValue(static_cast<std::int64_t>(number(at, size)));
    }

    std::optional<PropertyValue> real(std::uint64_t at, std::uint8_t power) {
        if (power != 2 && power != 3) return failed("invalid real size");
        const std::uint64_t size = std::uint64_t{1} << power;
        if (!fits(at, size)) return failed("real runs past the objects");
        const std::uint64_t bits = number(at, size);
        if (size == 4)
            return PropertyValue(double{std::bit_cast<float>(static_cast<std::uint32_t>(bits))});
        return PropertyValue(std::bit_cast<double>(bits));
    }

    std::optional<PropertyValue> date(std::uint64_t at, std::uint8_t marker) {
        if (marker != kDate || !fits(at + 1, 8)) return failed("invalid date object");
        return PropertyValue(Date{std::bit_cast<double>(number(at + 1, 8))});
    }

    // The element count and where the elements start: the marker's low
    // nibble, or an integer object after it when the nibble is 15.
    std::optional<std::pair<std::uint64_t, std::uint64_t>> count(std::uint64_t at,
                                                                 std::uint8_t low) {
        if (low != 0x0F) return std::pair{std::uint64_t{low}, at + 1};
        if (!fits(at + 1, 1)) return refuse(error_, "count runs past the objects");
        const auto marker = static_cast<std::uint8_t>(bytes_[at + 1]);
        const std::uint8_t power = marker & 0x0F;
        if ((marker & 0xF0) != kInteger || power > 3) return refuse(error_, "invalid count");
        const std::uint64_t size = std::uint64_t{1} << power;
        if (!fits(at + 2, size)) return refuse(error_, "count runs past the objects");
        return std::pair{number(at + 2, size), at + 2 + size};
    }

    std::optional<PropertyValue> data(std::uint64_t at, std::uint8_t low) {
        auto extent = count(at, low);
        if (!extent) return std::nullopt;
        const auto [size, start] = *extent;
        if (!fits(start, size)) return failed("data runs past the objects");
        if (!spend(size)) return failed("binary property list expands too far");
        const auto* first = reinterpret_cast<const std::uint8_t*>(bytes_.data() + start);
        return PropertyValue(Data(first, first + size));
    }

    // Bytes above 127 are read as Latin-1.
    std::optional<PropertyValue> asciiString(std::uint64_t at, std::uint8_t low) {
        auto extent = count(at, low);
        if (!extent) return std::nullopt;
        const auto [size, start] = *extent;
        if (!fits(start, size)) return failed("string runs past the objects");
        if (!spend(size)) return failed("binary property list expands too far");
        std::string text;
        for (std::uint64_t i = 0; i < size; ++i)
            appendUtf8(text, static_cast<std::uint8_t>(bytes_[start + i]));
        return PropertyValue(std::move(text));
    }

    std::optional<PropertyValue> unicodeString(std::uint64_t at, std::uint8_t low) {
        auto extent = count(at, low);
        if (!extent) return std::nullopt;
        const auto [units, start] = *extent;
        if (units > tableOffset_ / 2 || !fits(start, units * 2))
            return failed("string runs past the objects");
        if (!spend(units * 2)) return failed("binary property list expands too far");
        std::vector<std::uint16_t> text(units);
        for (std::uint64_t i = 0; i < units; ++i)
            text[i] = static_cast<std::uint16_t>(number(start + 2 * i, 2));
        return PropertyValue(utf8FromUtf16(text));
    }

    // Archivers' object references; kept as the dictionary XML shows them.
    std::optional<PropertyValue> uid(std::uint64_t at, std::uint8_t low) {
        const std::uint64_t size = std::uint64_t{low} + 1;
        if (size > 8 || !fits(at, size)) return failed("invalid uid");
        PropertyDictionary reference;
        reference.emplace("CF$UID", static_cast<std::int64_t>(number(at, size)));
        return PropertyValue(std::move(reference));
    }

    std::optional<std::vector<std::uint64_t>> refs(std::uint64_t start, std::uint64_t n) {
        if (n > tableOffset_ / refSize_ || !fits(start, n * refSize_))
            return refuse(error_, "references run past the objects");
        std::vector<std::uint64_t> found(n);
        for (std::uint64_t i = 0; i < n; ++i) found[i] = number(start + i * refSize_, refSize_);
        return found;
    }

    std::optional<PropertyValue> array(std::uint64_t at, std::uint8_t low, int depth) {
        auto extent = count(at, low);
        if (!extent) return std::nullopt;
        auto items = refs(extent->second, extent->first);
        if (!items) return std::nullopt;
        PropertyArray values;
        for (const auto ref : *items) {
            auto value = object(ref, depth + 1);
            if (!value) return std::nullopt;
            values.push_back(std::move(*value));
        }
        return PropertyValue(std::move(values));
    }

    std::optional<PropertyValue> dictionary(std::uint64_t at, std::uint8_t low, int depth) {
        auto extent = count(at, low);
        if (!extent) return std::nullopt;
        const auto [n, start] = *extent;
        if (n > tableOffset_ / 2) return failed("references run past the objects");
        auto members = refs(start, 2 * n);
        if (!members) return std::nullopt;
        PropertyDictionary values;
        for (std::uint64_t i = 0; i < n; ++i) {
            auto key = object((*members)[i], depth + 1);
            if (!key) return std::nullopt;
            if (!key->isString()) return failed("dictionary key is not a string");
            auto value = object((*members)[n + i], depth + 1);
            if (!value) return std::nullopt;
            values.insert_or_assign(*key->stringValue(), std::move(*value));
        }
        return PropertyValue(std::move(values));
    }

    const std::string& bytes_;
    std::string* error_;
    std::uint8_t offsetSize_ = 0;
    std::uint8_t refSize_ = 0;
    std::uint64_t objectCount_ = 0;
    std::uint64_t topObject_ = 0;
    std::uint64_t tableOffset_ = 0;
    std::vector<bool> inProgress_;
    std::uint64_t budget_ = 0;
};

// ---- writing ----

// The fewest of 1, 2, 4 or 8 bytes that hold `value`.
std::size_t widthFor(std::uint64_t value) {
    if (value <= 0xFF) return 1;
    if (value <= 0xFFFF) return 2;
    if (value <= 0xFFFFFFFF) return 4;
    return 8;
}

void appendInteger(std::string& out, std::int64_t value) {
    const std::size_t size = value < 0 ? 8 : widthFor(static_cast<std::uint64_t>(value));
    out.push_back(static_cast<char>(kInteger | std::countr_zero(size)));
    bigEndian::append(out, static_cast<std::uint64_t>(value), size);
}

void appendHeader(std::string& out, std::uint8_t marker, std::uint64_t count) {
    if (count < 0x0F) {
        out.push_back(static_cast<char>(marker | count));
        return;
    }
    out.push_back(static_cast<char>(marker | 0x0F));
    appendInteger(out, static_cast<std::int64_t>(count));
}

void appendString(std::string& out, const std::string& text) {
    const bool ascii = std::none_of(text.begin(), text.end(), [](char c) { return c & 0x80; });
    if (ascii) {
        appendHeader(out, kAsciiString, text.size());
        out += text;
        return;
    }
    const auto units = utf16FromUtf8(text);
    appendHeader(out, kUnicodeString, units.size());
    for (const auto unit : units) bigEndian::append(out, unit, 2);
}

class BinaryWriter {
public:
    std::string document(const PropertyValue& root) {
        add(root);
        const std::size_t refSize = widthFor(objects_.size() - 1);
        std::string out(kMagic, kHeaderSize);
        std::vector<std::uint64_t> offsets;
        for (const auto& object : objects_) {
            offsets.push_back(out.size());
            out += object.encoded;
            for (const auto ref : object.refs) bigEndian::append(out, ref, refSize);
        }
        const std::uint64_t tableOffset = out.size();
        const std::size_t offsetSize = widthFor(offsets.back());
        for (const auto offset : offsets) bigEndian::append(out, offset, offsetSize);
        out.append(6, '\0');
        out.push_back(static_cast<char>(offsetSize));
        out.push_back(static_cast<char>(refSize));
        bigEndian::append(out, objects_.size(), 8);
        bigEndian::append(out, 0, 8);
        bigEndian::append(out, tableOffset, 8);
        return out;
    }

private:
    // A scalar's bytes, or a container's header followed by its references.
    struct Object {
        std::string encoded;
        std::vector<std::uint64_t> refs;
    };

    std::uint64_t add(const PropertyValue& value) {
        const std::uint64_t index = objects_.size();
        objects_.emplace_back();
        std::visit([&](const auto& v) { encode(index, v); }, value.storage());
        return index;
    }

    std::uint64_t addKey(const std::string& key) {
        objects_.emplace_back();
        appendString(objects_.back().encoded, key);
        return objects_.size() - 1;
    }

    void encode(std::uint64_t index, bool v) {
        objects_[index].encoded.push_back(static_cast<char>(v ? kTrue : kFalse));
    }
    void encode(std::uint64_t index, std::int64_t v) { appendInteger(objects_[index].encoded, v); }
    // Eight bytes are signed, so the integers from 2^63 up take sixteen.
    void encode(std::uint64_t index, std::uint64_t v) {
        objects_[index].encoded.push_back(static_cast<char>(kInteger | 4));
        bigEndian::append(objects_[index].encoded, 0, 8);
        bigEndian::append(objects_[index].encoded, v, 8);
    }
    void encode(std::uint64_t index, double v) {
        objects_[index].encoded.push_back(static_cast<char>(kReal | 3));
        bigEndian::append(objects_[index].encoded, std::bit_cast<std::uint64_t>(v), 8);
    }
    void encode(std::uint64_t index, const std::string& v) {
        appendString(objects_[index].encoded, v);
    }
    void encode(std::uint64_t index, const Data& v) {
        appendHeader(objects_[index].encoded, kData, v.size());
        objects_[index].encoded.append(v.begin(), v.end());
    }
    void encode(std::uint64_t index, Date v) {
        objects_[index].encoded.push_back(static_cast<char>(kDate));
        bigEndian::append(objects_[index].encoded,
                          std::bit_cast<std::uint64_t>(v.sinceReferenceDate), 8);
    }
    void encode(std::uint64_t index, const PropertyArray& array) {
        std::vector<std::uint64_t> refs;
        for (const auto& item : array) refs.push_back(add(item));
        appendHeader(objects_[index].encoded, kArray, array.size());
        objects_[index].refs = std::move(refs);
    }
    void encode(std::uint64_t index, const PropertyDictionary& dictionary) {
        std::vector<std::uint64_t> keys, values;
        for (const auto& [key, value] : dictionary) {
            keys.push_back(addKey(key));
            values.push_back(add(value));
        }
        appendHeader(objects_[index].encoded, kDictionary, dictionary.size());
        keys.insert(keys.end(), values.begin(), values.end());
        objects_[index].refs = std::move(keys);
    }

    std::vector<Object> objects_;
};

}  // namespace

namespace PropertyListSerialization {

std::optional<PropertyValue> fromBinary(const std::string& bytes, std::string* error) {
    return BinaryReader(bytes, error).document();
}

std::string toBinary(const PropertyValue& value) {
    return BinaryWriter().document(value);
}

std::optional<PropertyValue> fromData(const std::string& bytes, std::string* error) {
    if (bytes.starts_with("bplist")) return fromBinary(bytes, error);
    return fromXml(bytes, error);
}

}  // namespace PropertyListSerialization

}  // namespace zelvana::platform
