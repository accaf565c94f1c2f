#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "platform/foundation/PropertyList.hpp"

namespace zelvana::platform {

// XML property lists (the Apple plist 1.0 document type) and JSON texts.
namespace PropertyListSerialization {
// Parses an XML property list; absent, with a description in `error`, when the
// text is not a well-formed plist, or a string or key in it is not UTF-8 or
// holds U+0000.
std::optional<PropertyValue> fromXml(const std::string& text, std::string* error = nullptr);
// Every date must be writable (isWritable). Characters XML 1.0 cannot carry
// come out as U+FFFD, so the text is always well-formed XML.
std::string toXml(const PropertyValue& value);
// False when a date is not finite or lies millions of years away, or a
// string or key is not UTF-8: no property list of it would read back.
bool isWritable(const PropertyValue& value);
// Writable, and every string and key holds only what XML 1.0 carries: no
// control character but tab, line feed and carriage return, no U+FFFE or
// U+FFFF.
bool isXmlWritable(const PropertyValue& value);

// Reads and parses a file; absent when it cannot be read or parsed.
std::optional<PropertyValue> readXmlFile(const std::filesystem::path& path,
                                         std::string* error = nullptr);
// Writes atomically: a temporary file beside it, fsync, rename. Refuses a
// value that is not XML-writable, leaving the file as it was.
bool writeXmlFile(const std::filesystem::path& path, const PropertyValue& value,
                  std::string* error = nullptr);
// A file in either form, XML or binary; absent when it cannot be read or parsed.
std::optional<PropertyValue> readFile(const std::filesystem::path& path,
                                      std::string* error = nullptr);
// Writes atomically as XML, or, when a text holds what XML cannot carry, as a
// binary property list, the form the system keeps its preferences in, which
// every property-list reader reads. Refuses a value that is not writable.
bool writeFile(const std::filesystem::path& path, const PropertyValue& value,
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
