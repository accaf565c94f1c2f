#include "platform/appkit/Cursor.hpp"

namespace zelvana::platform {

namespace {

Cursor& currentCursor() {
    static Cursor cursor = Cursor::arrow();
    return cursor;
}

}  // namespace

Cursor Cursor::current() {
    return currentCursor();
}

void Cursor::set() const {
    currentCursor() = *this;
}

}  // namespace zelvana::platform
