#pragma once

#include <string>

namespace zelvana::platform {

// A pointer shape (NSCursor). Setting one makes it the current shape of the
// process's pointer. Main thread only.
class Cursor {
public:
    static Cursor arrow() { return Cursor("arrow"); }
    static Cursor crosshair() { return Cursor("crosshair"); }
    static Cursor pointingHand() { return Cursor("pointingHand"); }
    // The shape now shown; the arrow until another is set.
    static Cursor current();

    void set() const;
    const std::string& name() const { return name_; }
    bool operator==(const Cursor&) const = default;

private:
    explicit Cursor(std::string name) : name_(std::move(name)) {}
    std::string name_;
};

}  // namespace zelvana::platform
