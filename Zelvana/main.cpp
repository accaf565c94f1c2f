// The menu-bar application's entry point.
#include <unistd.h>

#include <cstdio>
#include <string>

#include "Zelvana/AppDelegate.hpp"
#include "Zelvana/Driver/CommandInput.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/appkit/Bundle.hpp"
#include "platform/appkit/ProcessInfo.hpp"
#include "platform/appkit/RunningApplication.hpp"
#include "platform/appkit/Workspace.hpp"
#include "platform/desktop/Desktop.hpp"
#include "platform/dispatch/Queue.hpp"

namespace {

namespace platform = zelvana::platform;
using zelvana::core::AppDelegate;
using zelvana::driver::CommandInput;

void printLine(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

void printError(const std::string& line) {
    std::fprintf(stderr, "%s\n", line.c_str());
    std::fflush(stderr);
}

std::string runningLine() {
    const auto& bundle = platform::Bundle::main();
    return bundle.infoString("CFBundleDisplayName").value_or("Zelvana") + " " +
           bundle.infoString("CFBundleShortVersionString").value_or("?") + " running";
}

}  // namespace

int main(int argc, char** argv) {
    auto& processInfo = platform::ProcessInfo::shared();
    processInfo.setArguments({argv, argv + argc});
    // The relaunch helper waits for this entry to go before it starts us again.
    platform::RunningApplication::registerCurrentProcess();

    AppDelegate delegate;
    CommandInput input([&delegate] { delegate.terminateApp(); }, printLine, printError);
    std::string error;
    const auto& arguments = processInfo.arguments();
    const auto desktop = CommandInput::optionArgument(arguments, "--desktop", &error);
    const auto script = CommandInput::optionArgument(arguments, "--script", &error);
    if (!error.empty()) {
        printLine(error);
        return 2;
    }
    // The given desktop, else the one saved when the program last quit.
    if (!platform::Desktop::shared().loadAtLaunch(desktop, &error) && !error.empty()) {
        printLine("cannot load the desktop: " + error);
        return 1;
    }
    if (script && !input.loadScript(*script)) return 1;

    auto& application = platform::Application::shared();
    application.setDelegate(&delegate);
    // Delayed work comes after the launch handler that run() queues first.
    platform::mainQueue().asyncAfter(0, [&input] {
        printLine(runningLine());
        input.start(::isatty(STDIN_FILENO) == 1 ? CommandInput::Terminal::read
                                                : CommandInput::Terminal::ignore);
    });
    const int status = application.run();
    // However the run ended; nothing prints after it.
    input.stop();
    delegate.tearDown();
    printLine("quit");
    return status;
}
