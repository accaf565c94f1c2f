#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/dispatch/Queue.hpp"

namespace zelvana::driver {

// One line of the program's command language: "wait <ms>", "quit", the
// system's power events "wake" and "power-off", the user's own switch
// "switch <display> <space>" (a display number and a 1-based space position)
// and "activate-other", the user bringing another application forward.
struct Command {
    enum class Kind { wait, quit, wake, powerOff, switchSpace, activateOther };
    Kind kind = Kind::quit;
    double milliseconds = 0;
    std::uint32_t display = 0;
    std::size_t position = 0;

    bool operator==(const Command&) const = default;
};

// Drives the running program from a script (--script FILE) and, when standard
// input is a terminal, from the lines typed there. A script's commands run in
// order, each "wait" delaying the rest, and its end quits the program. With
// neither a script nor a terminal, the program quits once its launch has
// settled. Lines that are no command are refused with a printed and logged
// message. Main queue, except for the terminal reader's own thread.
class CommandInput {
public:
    using Quit = std::function<void()>;
    using Print = std::function<void(const std::string&)>;
    // Nothing (a blank line or a comment), a command, or why it was refused.
    using Line = std::variant<std::monostate, Command, std::string>;

    // Long enough for the launch's one-second steps to have run.
    static constexpr double settleDelay = 1.5;

    CommandInput(Quit quit, Print print);
    ~CommandInput();
    CommandInput(const CommandInput&) = delete;
    CommandInput& operator=(const CommandInput&) = delete;

    static Line parseLine(std::string_view line);
    // The file after `option` ("--script", "--desktop"), when the arguments
    // name one; `error` is set when the option comes without a file.
    static std::optional<std::filesystem::path> optionArgument(
        const std::vector<std::string>& arguments, const std::string& option,
        std::string* error = nullptr);

    // False, after printing why, when the file cannot be read.
    bool loadScript(const std::filesystem::path& path);
    // Refused lines are reported and left out.
    void loadScriptText(std::string_view text);
    const std::vector<Command>& script() const { return script_; }
    bool hasScript() const { return hasScript_; }

    // Runs the script from now on, reads the terminal when asked, and with
    // neither, quits after settleDelay seconds.
    void start(bool readTerminal);
    // A line typed at the terminal; every command but "wait" works there.
    void handleTerminalLine(std::string_view line);
    void handleEndOfInput();

private:
    struct Shared;

    void runFrom(std::size_t index);
    // Carries out a command that takes no time: a power event posted through
    // the workspace as the system would, or the user's switch on the desktop.
    void perform(const Command& command);
    void switchSpace(const Command& command);
    void after(double seconds, platform::Task task);
    void quit();
    void refuse(const std::string& message);
    void startTerminalReader();

    Quit quit_;
    Print print_;
    std::vector<Command> script_;
    bool hasScript_ = false;
    bool quitting_ = false;
    std::shared_ptr<platform::WorkItem> pending_;
    // Outlives this object for the reader thread, which may still be blocked
    // in a read when the program ends.
    std::shared_ptr<Shared> shared_;
};

}  // namespace zelvana::driver
