#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/appkit/Application.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/system/UnifiedLog.hpp"

namespace zelvana::platform {
namespace {

TEST(ModalSessionTest, SessionsNestAndEachEndsOnceWithStrayEndsRefused) {
    Application& app = Application::shared();
    app.resetForTesting();
    std::vector<std::string> logged;
    UnifiedLog::setSinkForTesting([&](const UnifiedLogEntry& e) { logged.push_back(e.message); });
    auto outer = std::make_unique<Window>(Rect::make(0, 0, 10, 10));
    Window inner(Rect::make(0, 0, 10, 10));

    const ModalSession first = app.beginModalSession(*outer);
    EXPECT_TRUE(outer->isVisible() && outer->isKeyWindow());
    const ModalSession second = app.beginModalSession(inner);
    EXPECT_EQ(app.modalWindow(), &inner);
    EXPECT_EQ(app.runModalSession(second), ModalResponse::continueSession);
    EXPECT_EQ(static_cast<long>(ModalResponse::continueSession), -1002);
    app.stopModal();
    EXPECT_EQ(app.runModalSession(second), ModalResponse::stop);
    EXPECT_EQ(app.runModalSession(second), ModalResponse::continueSession);  // one stop, one answer

    app.endModalSession(second);
    EXPECT_EQ(app.modalWindow(), outer.get());
    app.endModalSession(second);  // already ended
    EXPECT_EQ(app.runModalSession(second), ModalResponse::abort);
    app.endModalSession(ModalSession{});  // never begun
    EXPECT_EQ(logged.size(), 3u);
    EXPECT_EQ(app.modalSessionCount(), 1u);

    outer.reset();  // a destroyed window leaves no session pointing at it
    EXPECT_EQ(app.modalSessionCount(), 0u);
    EXPECT_EQ(app.modalWindow(), nullptr);
    UnifiedLog::setSinkForTesting({});
    app.endModalSession(first);
}

}  // namespace
}  // namespace zelvana::platform
