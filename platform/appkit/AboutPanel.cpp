#include "platform/appkit/AboutPanel.hpp"

#include "platform/appkit/Application.hpp"
#include "platform/appkit/Bundle.hpp"
#include "platform/appkit/ImageView.hpp"
#include "platform/appkit/Label.hpp"

namespace zelvana::platform {

namespace {

constexpr double kWidth = 280;
constexpr double kMargin = 20;
constexpr double kIconSide = 64;
constexpr double kGap = 10;

// The option's text where it gives one, else the bundle's value of `key`.
std::string text(const PropertyDictionary& options, const char* option, const char* key) {
    if (const auto found = options.find(option); found != options.end()) {
        if (const auto* value = found->second.stringValue()) return *value;
    }
    return key ? Bundle::main().infoString(key).value_or("") : "";
}

std::string versionFrom(const PropertyDictionary& options) {
    const std::string shortVersion =
        text(options, "ApplicationVersion", "CFBundleShortVersionString");
    const std::string build = text(options, "Version", "CFBundleVersion");
    std::string version = "Version " + shortVersion;
    if (!build.empty() && build != shortVersion) version += " (" + build + ")";
    return version;
}

std::string nameFrom(const PropertyDictionary& options) {
    std::string name = text(options, "ApplicationName", "CFBundleName");
    return name.empty() ? Bundle::main().infoString("CFBundleExecutable").value_or("") : name;
}

}  // namespace

AboutPanel::AboutPanel(const PropertyDictionary& options)
    : Panel(Rect::make(0, 0, kWidth, 0), Style::titled | Style::closable, BackingStore::buffered,
            false),
      name_(nameFrom(options)),
      version_(versionFrom(options)),
      copyright_(text(options, "Copyright", "NSHumanReadableCopyright")) {
    setHidesOnDeactivate(false);
    auto content = std::make_shared<View>();
    const double height = layOutContent(*content);
    content->setFrame(Rect::make(0, 0, kWidth, height));
    setContentView(content);
    setContentSize(Size{kWidth, height});
}

double AboutPanel::layOutContent(View& content) {
    double y = kMargin;
    if (auto icon = Application::shared().applicationIconImage()) {
        auto view = std::make_shared<ImageView>(std::move(icon));
        view->setFrame(Rect::make((kWidth - kIconSide) / 2, y, kIconSide, kIconSide));
        content.addSubview(std::move(view));
        y += kIconSide + kGap;
    }
    const auto line = [&](const std::string& text, double fontSize, double gapAfter) {
        if (text.empty()) return;
        auto label = Label::wrappingLabelWithString(text, kWidth - 2 * kMargin);
        label->setFont(Font::systemFont(fontSize));
        // Every line centred, as the name above it, also when it wraps.
        label->setAlignment(TextAlignment::center);
        const Size size = label->fittingSize();
        label->setFrame(Rect::make((kWidth - size.width) / 2, y, size.width, size.height));
        content.addSubview(std::move(label));
        y += size.height + gapAfter;
    };
    line(name_, 14, kGap / 2);
    line(version_, 11, kGap);
    line(copyright_, 11, 0);
    return y + kMargin;
}

}  // namespace zelvana::platform
