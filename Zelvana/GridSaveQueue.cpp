#include "Zelvana/GridSaveQueue.hpp"

#include <utility>

#include "Logging/Logging.hpp"
#include "Zelvana/CodableScreen.hpp"
#include "Zelvana/GlobalDefaults.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::core {

GridSaveQueue::GridSaveQueue() = default;

GridSaveQueue::~GridSaveQueue() {
    queue_.drain();
}

void GridSaveQueue::save(std::vector<CodableSpace> spaces) {
    platform::assertMainThread();
    const auto ticket = newest_->fetch_add(1) + 1;
    queue_.async([ticket, newest = newest_, pending = pending_, weak = weakThis_.ref(),
                  spaces = std::move(spaces)]() mutable {
        if (newest->load() != ticket) return;
        auto text = GlobalDefaults::Grid::encode(spaces);
        if (!text) {
            logging::Logging::error("the grid has no JSON text, so it is not saved");
            return;
        }
        hand(*pending, weak, Write{ticket, std::move(spaces), std::move(*text)});
    });
}

void GridSaveQueue::clear() {
    platform::assertMainThread();
    const auto ticket = newest_->fetch_add(1) + 1;
    // A clear is never skipped: a save asked for after it lands after it.
    queue_.async([ticket, pending = pending_, weak = weakThis_.ref()] {
        hand(*pending, weak, Write{ticket, std::nullopt, {}});
    });
}

// On the serial queue: the write waits for the main queue, or for a flush.
void GridSaveQueue::hand(Pending& pending, const platform::WeakRef<GridSaveQueue>& weak,
                         Write write) {
    {
        std::lock_guard guard(pending.lock);
        pending.writes.push_back(std::move(write));
    }
    platform::mainQueue().async([weak] {
        if (auto* self = weak.get()) self->landWrites();
    });
}

void GridSaveQueue::landWrites() {
    std::deque<Write> writes;
    {
        std::lock_guard guard(pending_->lock);
        writes.swap(pending_->writes);
    }
    for (auto& write : writes) {
        if (!write.spaces) {
            pruneStoredScreens(std::nullopt);
            GlobalDefaults::grid().setValue("");
            GlobalDefaults::screens().setValue("");
        } else if (newest_->load() == write.ticket) {  // else a newer save or a clear follows
            GlobalDefaults::grid().setEncodedValue(*write.spaces, std::move(write.text));
            pruneStoredScreens(*write.spaces);
        }
    }
}

void GridSaveQueue::drain() {
    queue_.drain();
}

void GridSaveQueue::flush() {
    platform::assertMainThread();
    queue_.drain();
    landWrites();
}

}  // namespace zelvana::core
