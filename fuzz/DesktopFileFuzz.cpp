// The desktop file: a desktop that reads writes out as a text that reads as
// the same desktop, and writing that again gives the same text.
#include "fuzz/FuzzSupport.hpp"
#include "platform/simulator/DesktopFile.hpp"

using namespace zelvana;
using platform::DesktopFile;

namespace {
bool sameDesktop(const DesktopFile& a, const DesktopFile& b) {
    return a.displays == b.displays && a.mainDisplay == b.mainDisplay &&
           a.applications == b.applications && a.windows == b.windows;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error;
    const auto desktop = DesktopFile::fromJsonText(fuzz::text(data, size), &error);
    if (!desktop) {
        fuzz::require(!error.empty(), "a refused desktop file says why");
        return 0;
    }
    const std::string written = desktop->toJsonText();
    const auto reread = DesktopFile::fromJsonText(written, &error);
    fuzz::require(reread.has_value(), "a written desktop file reads");
    fuzz::require(sameDesktop(*desktop, *reread), "a written desktop file reads the same");
    fuzz::require(reread->toJsonText() == written, "writing a desktop file is a fixed point");
    return 0;
}
