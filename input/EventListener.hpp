#pragma once

namespace zelvana::input {

// Something that watches events while started.
class EventListener {
public:
    virtual ~EventListener() = default;
    virtual void start() = 0;
    virtual void stop() = 0;
    virtual bool isRunning() const = 0;
};

}  // namespace zelvana::input
