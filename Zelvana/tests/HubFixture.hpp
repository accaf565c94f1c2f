#pragma once

#include <memory>
#include <vector>

#include "KeyboardShortcuts/KeyboardShortcuts.hpp"
#include "Tools/WindowUtil.hpp"
#include "Zelvana/StatusItem.hpp"
#include "Zelvana/ZelvanaManager.hpp"
#include "Zelvana/tests/SpaceFixture.hpp"
#include "input/ArrowHotKeys.hpp"
#include "platform/simulator/Keyboard.hpp"
#include "platform/testing/SimulatedInput.hpp"

namespace zelvana::core::test {

// A desktop of displays with several spaces, the real hub on it, and the
// simulated keyboard and clock to drive it.
class HubFixture : public SpaceFixture {
protected:
    static constexpr std::uint16_t spaceKey = 49;
    static constexpr std::uint16_t returnKey = 36;
    static constexpr std::uint16_t escapeKey = 53;
    static constexpr std::uint16_t leftArrowKey = 123;
    static constexpr std::uint16_t rightArrowKey = 124;
    static constexpr std::uint16_t downArrowKey = 125;
    static constexpr std::uint16_t upArrowKey = 126;
    static constexpr std::uint16_t digit1Key = 18;
    static constexpr std::uint16_t digit2Key = 19;
    static constexpr std::uint16_t digit3Key = 20;
    static constexpr std::uint16_t f5Key = 96;
    // A switch takes 250 ms and the anchors are refreshed 50 ms after it.
    static constexpr double settleTime = 400;

    HubFixture() { resetInput(); }
    ~HubFixture() override {
        hub.reset();
        clock.advance(5000);
        resetInput();
    }
    static void resetInput() {
        platform::testing::resetSimulatedInput();
        keyboardshortcuts::resetForTesting();
        // Its handler went with the hot-key centre's.
        input::triggerHotKeys().resetForTesting();
        StatusItem::resetSharedForTesting();
        // A cache stamped by another test's clock could pass for fresh.
        tools::WindowUtil::resetCachesForTesting();
        switcher::SpaceSwitcher::registerRestorationClass();
    }

    // Display 1 with `count` spaces, the hub started on it, every space
    // visited once (so each has its anchor) and the first shown again.
    void start(int count = 4) {
        addDisplay(1);
        for (int extra = 1; extra < count; ++extra) desktop.addSpace(1);
        launchHub();
        for (std::size_t k = 1; k < spaces().size(); ++k) visit(spaces()[k]);
        visit(spaces()[0]);
        clock.advance(2500);  // the new-space panel closes itself
    }
    void launchHub() {
        hub = std::make_unique<ZelvanaManager>();
        clock.advance(1100);
    }
    std::vector<platform::SpaceID> spaces(platform::DisplayID display = 1) const {
        return desktop.display(display)->spaces;
    }
    platform::SpaceID shown(platform::DisplayID display = 1) const {
        return *desktop.shownSpace(display);
    }
    void visit(platform::SpaceID space) {
        desktop.switchToSpace(space);
        clock.advance(settleTime);
    }
    static void setShow(std::uint16_t key, platform::ModifierFlags flags) {
        keyboardshortcuts::setShortcut(keyboardshortcuts::Shortcut::fromModifierFlags(key, flags),
                                       GlobalDefaults::show());
    }
    // The highlighted space's position among the display's spaces.
    std::optional<std::size_t> highlighted() const {
        for (const auto& space : hub->spaceGrid().spaces()) {
            if (!space->isNewSelection()) continue;
            for (std::size_t k = 0; k < spaces().size(); ++k) {
                if (desktop.spaceOf(*space->anchor()) == spaces()[k]) return k;
            }
        }
        return std::nullopt;
    }
    bool panelOpen() const { return hub->gridPanel().isOpen(); }

    platform::Keyboard& keyboard = platform::Keyboard::shared();
    std::unique_ptr<ZelvanaManager> hub;
};

}  // namespace zelvana::core::test
