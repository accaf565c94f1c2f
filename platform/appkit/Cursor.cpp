#include "platform/appkit/Cursor.hpp"

#include <vector>

#include "platform/core/MainThread.hpp"

namespace zelvana::platform {

namespace {

Cursor& currentCursor() {
    static Cursor cursor = Cursor::arrow();
    return cursor;
}

std::vector<Cursor>& cursorStack() {
    static std::vector<Cursor> stack;
    return stack;
}

}  // namespace

Cursor Cursor::current() {
    platform::assertMainThread();
    return currentCursor();
}

void Cursor::set() const {
    currentCursor() = *this;
}

void Cursor::push() const {
    platform::assertMainThread();
    cursorStack().push_back(currentCursor());
    set();
}

void Cursor::pop() {
    platform::assertMainThread();
    auto& stack = cursorStack();
    if (stack.empty()) return;
    stack.back().set();
    stack.pop_back();
}

void Cursor::resetForTesting() {
    cursorStack().clear();
    arrow().set();
}

}  // namespace zelvana::platform
