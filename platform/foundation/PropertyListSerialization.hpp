#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "platform/foundation/PropertyList.hpp"

namespace zelvana::platform {

// XML property lists (the Apple plist 1.0 document type) and JSON texts.
namespace PropertyListSerialization {
// Parses an XML property list; absent, with a description in `error`, when the
// text is not a well-formed plist.
std::optional<PropertyValue> fromXml(const std::string& text, std::string* error = nullptr);
// Every date must be writable (isWritable).
std::string toXml(const PropertyValue& value);
// False when a date is not finite or lies millions of years away: no text
// of it would read back.
bool isWritable(const PropertyValue& value);

// Reads and parses a file; absent when it cannot be read or parsed.
std::optional<PropertyValue> readXmlFile(const std::filesystem::path& path,
                                         std::string* error = nullptr);
// Writes atomically: a temporary file beside it, fsync, rename. Refuses a
// value that is not writable, leaving the file as it was.
bool writeXmlFile(const std::filesystem::path& path, const PropertyValue& value,
                  std::string* error = nullptr);

// Binary property lists ("bplist00"). Reading refuses, with a description in
// `error`, truncated or inconsistent data, object cycles and null objects.
std::optional<PropertyValue> fromBinary(const std::string& bytes, std::string* error = nullptr);
std::string toBinary(const PropertyValue& value);
// Binary when the bytes start with "bplist", else XML.
std::optional<PropertyValue> fromData(const std::string& bytes, std::string* error = nullptr);
}  // namespace PropertyListSerialization

// JSON: objects map to dictionaries, arrays to arrays, numbers to integers
// when whole and in range, else reals; JSON null has no property-list form
// and makes the parse fail. Data and dates have no JSON form.
namespace JSONSerialization {
std::optional<PropertyValue> parse(const std::string& text, std::string* error = nullptr);
// Dictionaries are written in key order whatever the options say.
enum class WritingOptions { none, sortedKeys };
// Compact text; absent when the value holds data or a date.
std::optional<std::string> serialize(const PropertyValue& value,
                                     WritingOptions options = WritingOptions::none);
}  // namespace JSONSerialization

}  // namespace zelvana::platform
