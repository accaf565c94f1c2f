// The menu-bar application's entry point.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <variant>

#include "Zelvana/AppDelegate.hpp"
#include "Zelvana/Driver/CommandInput.hpp"
#include "Zelvana/Driver/CommandLine.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/appkit/Bundle.hpp"
#include "platform/appkit/ProcessInfo.hpp"
#include "platform/appkit/RunningApplication.hpp"
#include "platform/appkit/TerminationSignals.hpp"
#include "platform/appkit/WindowController.hpp"
#include "platform/dispatch/Queue.hpp"
#include "platform/simulator/Desktop.hpp"

namespace {

namespace platform = zelvana::platform;
using zelvana::core::AppDelegate;
using zelvana::driver::CommandInput;
using zelvana::driver::CommandLine;

// A command line that cannot be carried out.
constexpr int kUsageError = 2;
// A run that played on past a refused line: it did not do all it was asked.
constexpr int kLinesRefused = 1;

void printLine(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

void printError(const std::string& line) {
    std::fprintf(stderr, "%s\n", line.c_str());
    std::fflush(stderr);
}

std::string displayName() {
    return platform::Bundle::main().infoString("CFBundleDisplayName").value_or("Zelvana");
}

std::string runningLine() {
    return displayName() + " " +
           platform::Bundle::main().infoString("CFBundleShortVersionString").value_or("?") +
           " running";
}

std::string programName(const std::vector<std::string>& arguments) {
    return arguments.empty() ? "Zelvana" : std::filesystem::path(arguments[0]).filename().string();
}

}  // namespace

int main(int argc, char** argv) {
    auto& processInfo = platform::ProcessInfo::shared();
    processInfo.setArguments({argv, argv + argc});
    const auto& arguments = processInfo.arguments();
    const auto parsed = CommandLine::parse(arguments);
    if (const auto* refusal = std::get_if<std::string>(&parsed)) {
        printError(*refusal);
        std::fputs(CommandLine::usage(programName(arguments)).c_str(), stderr);
        return kUsageError;
    }
    const auto& commandLine = std::get<CommandLine>(parsed);
    if (commandLine.help) {
        std::fputs(CommandLine::usage(programName(arguments)).c_str(), stdout);
        return 0;
    }
    std::optional<std::string> script;
    if (commandLine.script) {
        std::string error;
        script = zelvana::driver::readTextFile(*commandLine.script, &error);
        if (!script) {
            printError("cannot read the script " + commandLine.script->string() + ": " + error);
            return kUsageError;
        }
    }

    auto& application = platform::Application::shared();
    // As the system does, a second launch reopens the running copy instead,
    // before this one has read or written anything of the person's.
    if (application.handOverToRunningCopy()) {
        printLine(displayName() + " is already running; it reopens instead");
        return 0;
    }
    // The relaunch helper waits for this entry to go before it starts us again.
    platform::RunningApplication::registerCurrentProcess();

    AppDelegate delegate;
    // Asked to end by the system or Ctrl-C, the program quits as its Quit item does.
    const platform::TerminationSignals terminationSignals([&delegate] { delegate.terminateApp(); });
    CommandInput input([&delegate] { delegate.terminateApp(); }, printLine, printError,
                       [&delegate]() -> platform::Window* {
                           const auto* controller = delegate.prefsWindowController();
                           return controller ? controller->window() : nullptr;
                       });
    std::string error;
    // The given desktop, else the one saved when the program last quit.
    if (!platform::Desktop::shared().loadAtLaunch(commandLine.desktop, &error) && !error.empty()) {
        printError("cannot load the desktop: " + error);
        return 1;
    }
    if (script) input.loadScriptText(*script);

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
    if (const auto seconds = delegate.relaunchingIn()) {
        printLine("relaunch: in " + std::to_string(*seconds) + " s");
    }
    printLine("quit");
    return status == 0 && input.refusedAny() ? kLinesRefused : status;
}
