#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "Zelvana/CodableSpace.hpp"
#include "platform/core/Weak.hpp"
#include "platform/dispatch/Queue.hpp"

namespace zelvana::core {

// Saves the grid without copying, encoding or writing on the main queue: each
// save shares the spaces' immutable records, which are copied, encoded and
// written into the user defaults on one serial queue, and then taken into the
// setting `grid` on the main queue in the order asked. A save overtaken by a
// newer one is dropped, and clearing goes through the same queue, so an older
// save can never bring cleared spaces back. Entry points on the main thread.
class GridSaveQueue {
public:
    GridSaveQueue();
    // Waits for the encoding queued so far.
    ~GridSaveQueue();
    GridSaveQueue(const GridSaveQueue&) = delete;
    GridSaveQueue& operator=(const GridSaveQueue&) = delete;

    using Records = std::function<StoredRecords()>;

    // Stores the records in the setting `grid`, then tidies `screens`.
    void save(StoredRecords records);
    // Saves what `records` gives on the next turn of the main queue, so a
    // burst of requests writes the grid once, the newest state.
    void requestSave(Records records);
    // Writes the empty text into `grid` and then into `screens`; a save
    // requested before it is dropped.
    void clear();
    // Takes a requested save, then waits until everything queued has been
    // written and handed to the main queue; the setting takes it when the
    // main queue runs.
    void drain();
    // As drain, and lands what was written at once, without the hop through
    // the main queue: at quit, the main queue runs no more.
    void flush();

private:
    // A written save, or a clear (no records), waiting for the main queue.
    struct Write {
        std::uint64_t ticket = 0;
        std::optional<std::vector<CodableSpace>> spaces;
        std::string text;
        // The displays the spaces have cells on, gathered off the main queue.
        std::set<DisplayNumber> displays;
    };
    struct Pending {
        std::mutex lock;
        std::deque<Write> writes;
    };

    static void hand(Pending& pending, const platform::WeakRef<GridSaveQueue>& weak, Write write);
    void landWrites();
    void takeRequest();

    // Set while a requested save waits for the main queue.
    Records requested_;
    platform::SerialQueue queue_{"com.quorrim.Zelvana.gridSave"};
    // The ticket of the newest request; the encoder skips older saves.
    std::shared_ptr<std::atomic<std::uint64_t>> newest_ =
        std::make_shared<std::atomic<std::uint64_t>>(0);
    std::shared_ptr<Pending> pending_ = std::make_shared<Pending>();
    platform::WeakFactory<GridSaveQueue> weakThis_{this};
};

}  // namespace zelvana::core
