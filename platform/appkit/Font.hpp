#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zelvana::platform {

// A font by name, size and weight. Its line height is fixed per face, so the
// lines of a text lie a whole number of points apart; the advances of the
// characters come from the face the text is drawn with (TextLayout).
class Font {
public:
    // The installed font of that name; absent when it is not installed.
    static std::optional<Font> named(const std::string& name, double pointSize);
    static Font systemFont(double pointSize);
    static Font boldSystemFont(double pointSize);
    // The name the system font goes by.
    static const std::string& systemFontName();

    // Tests take fonts away to reach fallbacks; absent restores the installed set.
    static void setInstalledFontsForTesting(std::optional<std::vector<std::string>> names);

    const std::string& fontName() const { return name_; }
    double pointSize() const { return pointSize_; }
    bool isBold() const { return bold_; }
    // Distance between baselines of consecutive lines, in whole points.
    double lineHeight() const;
    // Advance of an average character, for estimates where no text is known.
    double averageCharacterWidth() const { return pointSize_ * widthFactor_; }

    bool operator==(const Font&) const = default;

private:
    Font(std::string name, double pointSize, double lineFactor, double widthFactor)
        : name_(std::move(name)),
          pointSize_(pointSize),
          lineFactor_(lineFactor),
          widthFactor_(widthFactor) {}

    std::string name_;
    double pointSize_;
    double lineFactor_;
    double widthFactor_;
    bool bold_ = false;
};

}  // namespace zelvana::platform
