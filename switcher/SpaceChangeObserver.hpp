#pragma once

namespace zelvana::switcher {

// Something that follows the system's active-space changes.
class SpaceChangeObserver {
public:
    virtual ~SpaceChangeObserver() = default;
    // Registers for the active-space notification; each one leads to
    // spaceDidChange 50 ms later on the main queue.
    virtual void observeSpaceChanges() = 0;
    virtual void spaceDidChange() = 0;
};

}  // namespace zelvana::switcher
