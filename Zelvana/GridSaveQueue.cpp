#include "Zelvana/GridSaveQueue.hpp"

#include <utility>

#include "Logging/Logging.hpp"
#include "Zelvana/CodableScreen.hpp"
#include "Zelvana/GlobalDefaults.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/foundation/UserDefaults.hpp"

namespace zelvana::core {

GridSaveQueue::GridSaveQueue() = default;

GridSaveQueue::~GridSaveQueue() {
    queue_.drain();
}

void GridSaveQueue::save(StoredRecords records) {
    platform::assertMainThread();
    const auto ticket = newest_->fetch_add(1) + 1;
    queue_.async([ticket, key = GlobalDefaults::grid().key(), newest = newest_, pending = pending_,
                  weak = weakThis_.ref(), records = std::move(records)] {
        if (newest->load() != ticket) return;
        // The setting keeps values of its own; the spaces keep the shared ones.
        std::vector<CodableSpace> spaces;
        spaces.reserve(records.size());
        for (const auto& record : records) spaces.push_back(*record);
        auto text = GlobalDefaults::Grid::encode(spaces);
        if (!text) {
            logging::Logging::error("the grid has no JSON text, so it is not saved");
            return;
        }
        platform::UserDefaults::standard().set(key, platform::PropertyValue(*text));
        auto displays = referencedDisplays(spaces);
        hand(*pending, weak,
             Write{ticket, std::move(spaces), std::move(*text), std::move(displays)});
    });
}

void GridSaveQueue::requestSave(Records records) {
    platform::assertMainThread();
    const bool waiting = static_cast<bool>(requested_);
    requested_ = std::move(records);
    if (waiting) return;
    platform::mainQueue().async([weak = weakThis_.ref()] {
        if (auto* self = weak.get()) self->takeRequest();
    });
}

void GridSaveQueue::takeRequest() {
    if (auto records = std::exchange(requested_, nullptr)) save(records());
}

void GridSaveQueue::clear() {
    platform::assertMainThread();
    requested_ = nullptr;
    const auto ticket = newest_->fetch_add(1) + 1;
    // A clear is never skipped: a save asked for after it lands after it.
    queue_.async(
        [ticket, key = GlobalDefaults::grid().key(), pending = pending_, weak = weakThis_.ref()] {
            platform::UserDefaults::standard().set(key, platform::PropertyValue(std::string()));
            hand(*pending, weak, Write{ticket, std::nullopt, {}, {}});
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
    // The user defaults already hold each write: the setting only takes it in.
    for (auto& write : writes) {
        if (!write.spaces) {
            pruneStoredScreens(std::nullopt);
            write.spaces = GlobalDefaults::grid().adoptWrittenValue(std::nullopt, "");
            GlobalDefaults::screens().setValue("");
        } else if (newest_->load() == write.ticket) {  // else a newer save or a clear follows
            // The records the setting held take the place of the ones it takes.
            write.spaces = GlobalDefaults::grid().adoptWrittenValue(std::move(write.spaces),
                                                                    std::move(write.text));
            pruneStoredScreens(write.displays);
        }
    }
    // Thousands of records are let go of on the serial queue, not here.
    if (!writes.empty()) queue_.async([writes = std::move(writes)] {});
}

void GridSaveQueue::drain() {
    platform::assertMainThread();
    takeRequest();
    queue_.drain();
}

void GridSaveQueue::flush() {
    drain();
    landWrites();
}

}  // namespace zelvana::core
