#pragma once

#include <any>
#include <string>
#include <vector>

#include "platform/foundation/NotificationCenter.hpp"
#include "settings/DefaultUpdate.hpp"

namespace zelvana::settings::testing {

// The change notifications posted under one setting key, for tests.
class PostRecorder {
public:
    explicit PostRecorder(const std::string& key)
        : observer_(platform::NotificationCenter::defaultCenter().addObserver(
              key, [this](const platform::Notification& note) {
                  updates.push_back(std::any_cast<DefaultUpdate>(note.object));
              })) {}

    std::vector<DefaultUpdate> updates;

private:
    platform::Subscription observer_;
};

}  // namespace zelvana::settings::testing
