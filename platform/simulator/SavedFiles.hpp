#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace zelvana::platform::SavedFiles {

// What the system keeps for the next launch (the saved windows, the desktop)
// is made into text and written off the main thread, one file after another
// in the order saved, so that a quit never waits on the disk. `what` begins
// the error logged when the file cannot be written.
void write(std::filesystem::path file, std::function<std::string()> text, std::string what);
// Waits for the writes queued so far; reading a saved file begins with it.
void waitForWrites();

}  // namespace zelvana::platform::SavedFiles
