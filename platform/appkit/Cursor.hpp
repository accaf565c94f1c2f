#pragma once

#include <string>
#include <utility>

namespace zelvana::platform {

// A pointer shape (NSCursor). Setting one makes it the current shape of the
// process's pointer. Main thread only.
class Cursor {
public:
    static Cursor arrow() { return Cursor("arrow"); }
    static Cursor crosshair() { return Cursor("crosshair"); }
    static Cursor pointingHand() { return Cursor("pointingHand"); }
    static Cursor iBeam() { return Cursor("IBeam"); }
    // The shape now shown; the arrow until another is set.
    static Cursor current();

    void set() const;
    // Shows this shape and keeps the one it replaces on the cursor stack;
    // pop shows that one again. Popping an empty stack changes nothing.
    void push() const;
    static void pop();
    // The arrow, with an empty stack.
    static void resetForTesting();
    const std::string& name() const { return name_; }
    bool operator==(const Cursor&) const = default;

private:
    explicit Cursor(std::string name) : name_(std::move(name)) {}
    std::string name_;
};

}  // namespace zelvana::platform
