#include "platform/appkit/Cursor.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::platform {

namespace {

Cursor& currentCursor() {
    static Cursor cursor = Cursor::arrow();
    return cursor;
}

}  // namespace

Cursor Cursor::current() {
    platform::assertMainThread();
    return currentCursor();
}

void Cursor::set() const {
    currentCursor() = *this;
}

}  // namespace zelvana::platform
