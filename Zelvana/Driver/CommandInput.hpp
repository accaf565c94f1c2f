#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Zelvana/Driver/Command.hpp"
#include "Zelvana/Driver/CommandParser.hpp"
#include "Zelvana/Driver/KeyboardUser.hpp"
#include "Zelvana/Driver/MenuUser.hpp"
#include "Zelvana/Driver/MouseUser.hpp"
#include "Zelvana/Driver/ScreenWatcher.hpp"
#include "Zelvana/Driver/SettingsUser.hpp"
#include "Zelvana/Driver/TrackpadUser.hpp"
#include "Zelvana/Driver/WindowUser.hpp"
#include "platform/dispatch/Queue.hpp"

namespace zelvana::driver {

// Drives the running program from a script (--script FILE) and, when standard
// input is a terminal, from the lines typed there. A script's commands run in
// order, each "wait" (and each gesture) delaying the rest, and its end quits
// the program. With neither a script nor a terminal, the program quits once
// its launch has settled. A line that is no command, or a command that cannot
// be carried out, is refused on the error printer and in the log, with its
// script line number; nothing else changes. Main queue, except for the
// terminal reader's own thread.
class CommandInput {
public:
    using Quit = std::function<void()>;
    using Print = std::function<void(const std::string&)>;
    using Line = ParsedLine;

    // A command of the script and the line it came from.
    struct ScriptLine {
        std::size_t number = 0;
        Command command{};
    };

    // Long enough for the launch's one-second steps to have run.
    static constexpr double settleDelay = 1.5;

    // `settingsWindow` is the program's, for "set" and "record" to work; by
    // default there is none.
    CommandInput(Quit quit, Print print, Print printError,
                 SettingsUser::SettingsWindow settingsWindow = {});
    ~CommandInput();
    CommandInput(const CommandInput&) = delete;
    CommandInput& operator=(const CommandInput&) = delete;

    static Line parseLine(std::string_view line) { return parseCommandLine(line); }
    // Refused lines are reported and left out.
    void loadScriptText(std::string_view text);
    const std::vector<ScriptLine>& script() const { return script_; }
    bool hasScript() const { return hasScript_; }

    // Watches the screen, runs the script from now on, reads the terminal when asked, and with
    // neither, quits after settleDelay seconds.
    enum class Terminal { read, ignore };
    void start(Terminal terminal);
    // Prints what changed on the screen since the last look; every command
    // and every turn of the main run loop ends with one.
    void checkScreen() { watcher_.check(); }
    // Prints the shown spaces and starts watching the screen; start() does.
    void watchScreen() { watcher_.start(); }
    // A line typed at the terminal; every command but "wait" works there.
    void handleTerminalLine(std::string_view line);
    void handleEndOfInput();
    // The run is over: plays, reads and watches no more.
    void stop();
    // Whether a script or terminal line was refused so far.
    bool refusedAny() const { return refusedAny_; }

private:
    struct Shared;
    // What carrying out a command came to: a refusal, or how long it takes.
    struct Outcome {
        Refusal refusal{};
        double seconds = 0;
    };

    void runFrom(std::size_t index);
    Outcome perform(const Command& command);
    Outcome performInput(const Command& command);
    Outcome performOnScreen(const Command& command);
    Refusal printPanel();
    Refusal switchSpace(const Command& command);
    static Refusal addDisplay(std::uint32_t number);
    static Refusal removeDisplay(std::uint32_t number);
    static Refusal setPermission(const Command& command);
    void after(double seconds, platform::Task task);
    void quit();
    void refuse(const std::string& message);
    void startTerminalReader();

    Quit quit_;
    Print print_;
    Print printError_;
    std::vector<ScriptLine> script_;
    bool hasScript_ = false;
    bool quitting_ = false;
    bool refusedAny_ = false;
    std::size_t terminalLine_ = 0;
    KeyboardUser keyboard_;
    MouseUser mouse_;
    TrackpadUser trackpad_;
    MenuUser menu_{mouse_, keyboard_};
    WindowUser window_{mouse_};
    SettingsUser settings_;
    ScreenWatcher watcher_;
    std::shared_ptr<platform::WorkItem> pending_;
    // The rest of the script, should a command wait in a modal alert.
    std::shared_ptr<platform::WorkItem> rest_;
    // Outlives this object for the reader thread, which may still be blocked
    // in a read when the program ends.
    std::shared_ptr<Shared> shared_;
    platform::WeakFactory<CommandInput> weak_{this};
};

}  // namespace zelvana::driver
