// Distributed notification datagrams from any process of the user: a datagram
// that decodes, encoded again, decodes to the same name and object.
#include <any>

#include "fuzz/FuzzSupport.hpp"
#include "platform/foundation/NotificationDatagram.hpp"

using namespace zelvana;
namespace datagram = platform::NotificationDatagram;

namespace {
std::optional<std::string> objectOf(const platform::Notification& notification) {
    if (!notification.object.has_value()) return std::nullopt;
    const auto* text = std::any_cast<std::string>(&notification.object);
    fuzz::require(text != nullptr, "a datagram's object is text");
    return *text;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto notification = datagram::decode(fuzz::text(data, size));
    if (!notification) return 0;
    const auto object = objectOf(*notification);
    const std::string sent = datagram::encode(notification->name, object);
    const auto received = datagram::decode(sent);
    fuzz::require(received.has_value(), "an encoded datagram decodes");
    fuzz::require(received->name == notification->name, "the name comes back");
    fuzz::require(objectOf(*received) == object, "the object comes back");
    fuzz::require(datagram::encode(received->name, objectOf(*received)) == sent,
                  "encoding is a fixed point");
    return 0;
}
