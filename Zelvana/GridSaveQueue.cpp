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
    queue_.async(
        [ticket, newest = newest_, weak = weakThis_.ref(), spaces = std::move(spaces)]() mutable {
            if (newest->load() != ticket) return;
            auto text = GlobalDefaults::Grid::encode(spaces);
            if (!text) {
                logging::Logging::error("the grid has no JSON text, so it is not saved");
                return;
            }
            platform::mainQueue().async(
                [ticket, weak, spaces = std::move(spaces), text = std::move(*text)]() mutable {
                    if (auto* self = weak.get())
                        self->write(ticket, std::move(spaces), std::move(text));
                });
        });
}

void GridSaveQueue::write(std::uint64_t ticket, std::vector<CodableSpace> spaces,
                          std::string text) {
    // A newer save or a clear is on its way.
    if (newest_->load() != ticket) return;
    GlobalDefaults::grid().setEncodedValue(spaces, std::move(text));
    pruneStoredScreens(spaces);
}

void GridSaveQueue::clear() {
    platform::assertMainThread();
    newest_->fetch_add(1);
    // A clear is never skipped: a save asked for after it lands after it.
    queue_.async([weak = weakThis_.ref()] {
        platform::mainQueue().async([weak] {
            if (auto* self = weak.get()) self->writeCleared();
        });
    });
}

void GridSaveQueue::writeCleared() {
    pruneStoredScreens(std::nullopt);
    GlobalDefaults::grid().setValue("");
    GlobalDefaults::screens().setValue("");
}

void GridSaveQueue::drain() {
    platform::assertMainThread();
    queue_.drain();
}

}  // namespace zelvana::core
