#pragma once

#include <map>
#include <optional>
#include <string>

namespace zelvana::platform {

class ViewDimensions;

// A vertical line that views in a column line up on: their leading edges,
// centres, trailing edges, or a line of the program's own, named by an
// identifier, whose value in a view that gives none comes from its default.
// Two alignments with the same identifier are the same line.
class HorizontalAlignment {
public:
    using DefaultValue = double (*)(const ViewDimensions&);

    static HorizontalAlignment leading();
    static HorizontalAlignment center();
    static HorizontalAlignment trailing();
    HorizontalAlignment(std::string identifier, DefaultValue defaultValue)
        : identifier_(std::move(identifier)), defaultValue_(defaultValue) {}

    const std::string& identifier() const { return identifier_; }
    double defaultValue(const ViewDimensions& dimensions) const {
        return defaultValue_(dimensions);
    }
    bool operator==(const HorizontalAlignment& other) const {
        return identifier_ == other.identifier_;
    }

private:
    std::string identifier_;
    DefaultValue defaultValue_;
};

// How views in a row line up: tops, centres, bottoms or the baselines of
// their first lines of text.
enum class VerticalAlignment { top, center, bottom, firstTextBaseline };

// A view as laid out: its size (points), the distance of its first text
// baseline from its top, and the alignment values it gives explicitly.
class ViewDimensions {
public:
    double width = 0;
    double height = 0;
    double firstTextBaseline = 0;

    // The explicit value, else the alignment's default for this view.
    double operator[](const HorizontalAlignment& alignment) const;
    std::optional<double> explicitValue(const HorizontalAlignment& alignment) const;
    void setExplicitValue(const HorizontalAlignment& alignment, double value) {
        explicit_[alignment.identifier()] = value;
    }
    void setExplicitValue(const std::string& identifier, double value) {
        explicit_[identifier] = value;
    }
    // Alignment identifiers with their explicit values.
    const std::map<std::string, double>& explicitValues() const { return explicit_; }

private:
    std::map<std::string, double> explicit_;
};

}  // namespace zelvana::platform
