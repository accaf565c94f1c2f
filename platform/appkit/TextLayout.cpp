#include "platform/appkit/TextLayout.hpp"

#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <list>
#include <mutex>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "platform/appkit/PangoText.hpp"

namespace zelvana::platform {

namespace {

// The faces the platform draws with, as scripts/setup installs them. Only
// these are offered to fontconfig, so a picture does not depend on what else
// the machine has.
constexpr std::array kFontFiles{
    "/usr/share/fonts/truetype/noto/NotoSans-Regular.ttf",
    "/usr/share/fonts/truetype/noto/NotoSans-Bold.ttf",
    "/usr/share/fonts/truetype/noto/NotoSansSymbols-Regular.ttf",
    "/usr/share/fonts/truetype/noto/NotoSansSymbols2-Regular.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf",
    "/usr/share/fonts/truetype/ancient-scripts/Symbola_hint.ttf",
};

// Letters first, then the faces that hold ⓘ, keycaps and the key symbols.
constexpr const char* kKeycapFace = "Symbola";
constexpr const char* kFallbacks = "DejaVu Sans, Noto Sans Symbols, Noto Sans Symbols2, Symbola";

bool isMonospaced(const std::string& name) {
    return name == "Monaco" || name == "Menlo" || name == "Courier";
}

std::string families(const Font& font) {
    return std::string(isMonospaced(font.fontName()) ? "DejaVu Sans Mono" : "Noto Sans") + ", " +
           kFallbacks;
}

// Pango, its font map and the context every layout is measured in. Pango's
// objects are not shared across threads, so everything goes under one lock.
class Pango {
public:
    static Pango& shared() {
        static Pango* pango = new Pango;  // lives as long as the cached layouts
        return *pango;
    }
    std::recursive_mutex& mutex() { return mutex_; }
    PangoContext* context() const { return context_; }

private:
    Pango() {
        FcConfig* config = FcConfigCreate();
        for (const char* file : kFontFiles) {
            FcConfigAppFontAddFile(config, reinterpret_cast<const FcChar8*>(file));
        }
        PangoFontMap* map = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
        pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(map), config);
        FcConfigDestroy(config);  // the font map holds its own reference
        pango_cairo_font_map_set_resolution(PANGO_CAIRO_FONT_MAP(map), 72);  // points are pixels
        context_ = pango_font_map_create_context(map);
        g_object_unref(map);
        // Unhinted outlines at fractional positions: the same layout at any scale.
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
        pango_cairo_context_set_font_options(context_, options);
        cairo_font_options_destroy(options);
        pango_context_set_round_glyph_positions(context_, FALSE);
        pango_context_set_language(context_, pango_language_from_string("en"));
        pango_context_set_base_dir(context_, PANGO_DIRECTION_LTR);
    }

    // Recursive: a layout the cache drops is freed under the lock.
    std::recursive_mutex mutex_;
    PangoContext* context_ = nullptr;
};

double points(int pangoUnits) {
    return static_cast<double>(pangoUnits) / PANGO_SCALE;
}

std::string validUTF8(const std::string& text) {
    gchar* valid = g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
    std::string result(valid);
    g_free(valid);
    return result;
}

// A line's text as drawn: its runs.
std::string drawnText(PangoLayoutLine* line, const char* text) {
    std::string drawn;
    for (GSList* run = line->runs; run; run = run->next) {
        const auto* item = static_cast<PangoGlyphItem*>(run->data)->item;
        drawn.append(text + item->offset, static_cast<std::size_t>(item->length));
    }
    while (!drawn.empty() && (drawn.back() == ' ' || drawn.back() == '\n')) drawn.pop_back();
    return drawn;
}

// A character with an enclosing keycap (U+20E3) after it comes from the one
// face that holds both, so the key is drawn around its character.
void keepKeycapsTogether(PangoLayout* layout, const std::string& text) {
    static const std::string keycap = "\u20E3";
    PangoAttrList* attributes = nullptr;
    for (auto at = text.find(keycap); at != std::string::npos; at = text.find(keycap, at + 1)) {
        if (at == 0) continue;
        auto start = at - 1;
        while (start > 0 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) --start;
        if (!attributes) attributes = pango_attr_list_new();
        PangoAttribute* family = pango_attr_family_new(kKeycapFace);
        family->start_index = static_cast<guint>(start);
        family->end_index = static_cast<guint>(at + keycap.size());
        pango_attr_list_insert(attributes, family);
    }
    if (!attributes) return;
    pango_layout_set_attributes(layout, attributes);
    pango_attr_list_unref(attributes);
}

}  // namespace

struct TextLayout::Drawing {
    Drawing() = default;
    Drawing(const Drawing&) = delete;
    Drawing& operator=(const Drawing&) = delete;
    ~Drawing() {
        std::lock_guard lock(Pango::shared().mutex());
        if (layout) g_object_unref(layout);
    }

    PangoLayout* layout = nullptr;
    std::vector<std::string> texts;
    std::vector<double> widths;
    double lineHeight = 0;
    // From the top of a line to its baseline: the font's ascent and descent
    // centred in the line height.
    double baseline = 0;
    Size size;
    bool truncated = false;
    int missing = 0;
};

namespace {

using Drawing = TextLayout::Drawing;

// Pango counts widths in ints of its units; a wider room is no limit at all.
constexpr double kWidestRoom = std::numeric_limits<int>::max() / double{PANGO_SCALE};

std::shared_ptr<Drawing> layOutText(const std::string& text, const Font& font, LineBreakMode mode,
                                    double width) {
    auto drawing = std::make_shared<Drawing>();
    PangoContext* context = Pango::shared().context();
    PangoFontDescription* description = pango_font_description_from_string("");
    pango_font_description_set_family(description, families(font).c_str());
    pango_font_description_set_weight(description,
                                      font.isBold() ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    const double size = std::isfinite(font.pointSize()) ? font.pointSize() : 0;
    pango_font_description_set_absolute_size(description,
                                             std::clamp(size, 0.5, 4096.0) * PANGO_SCALE);
    PangoLayout* layout = pango_layout_new(context);
    pango_layout_set_font_description(layout, description);
    const std::string valid = validUTF8(text);
    pango_layout_set_text(layout, valid.c_str(), static_cast<int>(valid.size()));
    keepKeycapsTogether(layout, valid);
    if (width > 0 && width < kWidestRoom) {
        pango_layout_set_width(layout, static_cast<int>(width * PANGO_SCALE));
        if (mode == LineBreakMode::byWordWrapping) {
            pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
        } else if (mode == LineBreakMode::byCharWrapping) {
            pango_layout_set_wrap(layout, PANGO_WRAP_CHAR);
        } else {
            pango_layout_set_width(layout, -1);  // clipped: the lines run on
        }
    }
    PangoFontMetrics* metrics = pango_context_get_metrics(context, description, nullptr);
    const double ascent = points(pango_font_metrics_get_ascent(metrics));
    const double descent = points(pango_font_metrics_get_descent(metrics));
    pango_font_metrics_unref(metrics);
    pango_font_description_free(description);

    drawing->layout = layout;
    drawing->lineHeight = font.lineHeight();
    drawing->baseline = (drawing->lineHeight - ascent - descent) / 2 + ascent;
    const char* laidOutText = pango_layout_get_text(layout);
    double widest = 0;
    for (GSList* line = pango_layout_get_lines_readonly(layout); line; line = line->next) {
        auto* current = static_cast<PangoLayoutLine*>(line->data);
        PangoRectangle logical;
        pango_layout_line_get_extents(current, nullptr, &logical);
        drawing->widths.push_back(points(logical.width));
        drawing->texts.push_back(drawnText(current, laidOutText));
        widest = std::max(widest, points(logical.width));
    }
    drawing->size = Size{std::ceil(widest - 1e-6),
                         drawing->lineHeight * static_cast<double>(drawing->texts.size())};
    drawing->missing = pango_layout_get_unknown_glyphs_count(layout);
    return drawing;
}

bool isTruncating(LineBreakMode mode) {
    return mode == LineBreakMode::byTruncatingHead || mode == LineBreakMode::byTruncatingMiddle ||
           mode == LineBreakMode::byTruncatingTail;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// `kept` characters of the paragraph around one ellipsis where the mode puts
// it, without a blank beside it; `starts` holds where each visible character
// starts, then the paragraph's end.
std::string keeping(const std::string& text, const std::vector<std::size_t>& starts,
                    std::size_t kept, LineBreakMode mode) {
    const std::size_t count = starts.size() - 1;
    const std::size_t front = mode == LineBreakMode::byTruncatingHead   ? 0
                              : mode == LineBreakMode::byTruncatingTail ? kept
                                                                        : (kept + 1) / 2;
    std::string head = text.substr(0, starts[front]);
    std::string tail = text.substr(starts[count - (kept - front)]);
    while (!head.empty() && isBlank(head.back())) head.pop_back();
    while (!tail.empty() && isBlank(tail.front())) tail.erase(0, 1);
    return head + "…" + tail;
}

// Where the laid-out text's visible characters start, then its end: the
// places a cursor may stand, so an accent stays with its letter and a flag's
// two halves stay together.
std::vector<std::size_t> characterStarts(const Drawing& laidOut) {
    std::lock_guard lock(Pango::shared().mutex());
    PangoLayout* layout = laidOut.layout;
    const char* text = pango_layout_get_text(layout);
    int count = 0;
    const PangoLogAttr* attributes = pango_layout_get_log_attrs_readonly(layout, &count);
    std::vector<std::size_t> starts;
    const char* at = text;
    for (int i = 0; i < count; ++i, at = g_utf8_next_char(at)) {
        if (attributes[i].is_cursor_position) starts.push_back(static_cast<std::size_t>(at - text));
    }
    return starts;
}

// The text laid out as it is, one line a paragraph.
std::shared_ptr<Drawing> unbroken(const std::string& text, const Font& font) {
    return layOutText(text, font, LineBreakMode::byClipping, 0);
}

// The paragraph, `laidOut` unbroken, shortened to `width` by one ellipsis,
// keeping as many of its characters as fit (Pango's own ellipsis leaves the
// room it freed as a gap).
std::string shortened(const std::string& paragraph, const Drawing& laidOut, const Font& font,
                      LineBreakMode mode, double width) {
    if (laidOut.size.width <= width) return paragraph;
    // Laid out past the cache: the trials would push out layouts that are drawn.
    const auto fits = [&](const std::string& text) {
        return unbroken(text, font)->size.width <= width;
    };
    const std::vector<std::size_t> starts = characterStarts(laidOut);
    std::size_t fewest = 0;
    std::size_t most = starts.size() - 2;
    while (fewest < most) {
        const std::size_t kept = (fewest + most + 1) / 2;
        if (fits(keeping(paragraph, starts, kept, mode))) {
            fewest = kept;
        } else {
            most = kept - 1;
        }
    }
    return keeping(paragraph, starts, fewest, mode);
}

std::shared_ptr<const Drawing> layOut(const std::string& text, const Font& font, LineBreakMode mode,
                                      double width) {
    if (!isTruncating(mode) || !(width > 0) || !(width < kWidestRoom)) {
        return layOutText(text, font, mode, width);
    }
    // Text that fits is laid out once, as it is.
    const auto whole = unbroken(text, font);
    if (whole->size.width <= width) return whole;
    // Each paragraph shortened on its own, on one line.
    const std::string valid = validUTF8(text);
    std::string fitted;
    for (std::size_t start = 0; start <= valid.size();) {
        const std::size_t end = std::min(valid.find('\n', start), valid.size());
        if (start > 0) fitted += '\n';
        const std::string paragraph = valid.substr(start, end - start);
        const auto laidOut = paragraph.size() == valid.size() ? whole : unbroken(paragraph, font);
        fitted += shortened(paragraph, *laidOut, font, mode, width);
        start = end + 1;
    }
    auto drawing = unbroken(fitted, font);
    drawing->truncated = fitted != valid;
    return drawing;
}

// What a layout is made from. Looked up by views of its strings, so that
// asking for a layout made before allocates nothing.
struct LayoutKey {
    std::string_view text;
    std::string_view fontName;
    double pointSize;
    double width;
    LineBreakMode mode;
    bool bold;
    bool operator==(const LayoutKey&) const = default;
};

struct StoredKey {
    explicit StoredKey(const LayoutKey& key)
        : text(key.text), fontName(key.fontName), settings(key) {}
    StoredKey(const StoredKey&) = delete;
    StoredKey& operator=(const StoredKey&) = delete;
    LayoutKey view() const {
        LayoutKey key = settings;
        key.text = text;
        key.fontName = fontName;
        return key;
    }
    std::string text;
    std::string fontName;
    LayoutKey settings;
};

struct KeyHash {
    using is_transparent = void;
    std::size_t operator()(const LayoutKey& key) const {
        std::size_t hash = std::hash<std::string_view>{}(key.text);
        for (const std::size_t part :
             {std::hash<std::string_view>{}(key.fontName), std::hash<double>{}(key.pointSize),
              std::hash<double>{}(key.width), static_cast<std::size_t>(key.mode),
              static_cast<std::size_t>(key.bold)}) {
            hash = hash * 31 + part;
        }
        return hash;
    }
    std::size_t operator()(const StoredKey& key) const { return (*this)(key.view()); }
};

struct KeyEqual {
    using is_transparent = void;
    static LayoutKey view(const LayoutKey& key) { return key; }
    static LayoutKey view(const StoredKey& key) { return key.view(); }
    template <class A, class B>
    bool operator()(const A& a, const B& b) const {
        return view(a) == view(b);
    }
};

// The layouts made last, so measuring and drawing the same text again is cheap.
class LayoutCache {
public:
    static constexpr std::size_t capacity = 1024;

    std::shared_ptr<const Drawing> find(const LayoutKey& key) {
        const auto found = entries_.find(key);
        if (found == entries_.end()) return nullptr;
        order_.splice(order_.begin(), order_, found->second.place);
        return found->second.drawing;
    }
    void insert(const LayoutKey& key, std::shared_ptr<const Drawing> drawing) {
        const auto [entry, added] = entries_.emplace(
            std::piecewise_construct, std::forward_as_tuple(key), std::forward_as_tuple(drawing));
        if (!added) return;
        order_.push_front(&entry->first);
        entry->second.place = order_.begin();
        if (entries_.size() > capacity) {
            const StoredKey* oldest = order_.back();
            order_.pop_back();
            entries_.erase(entries_.find(oldest->view()));
        }
    }

private:
    struct Entry {
        explicit Entry(std::shared_ptr<const Drawing> made) : drawing(std::move(made)) {}
        std::shared_ptr<const Drawing> drawing;
        std::list<const StoredKey*>::iterator place;
    };
    std::list<const StoredKey*> order_;
    std::unordered_map<StoredKey, Entry, KeyHash, KeyEqual> entries_;
};

}  // namespace

TextLayout::TextLayout(const std::string& text, const Font& font, LineBreakMode mode,
                       double width) {
    if (!(width > 0) || !std::isfinite(width)) width = 0;
    static auto& cache = *new LayoutCache;  // outlives every static that holds a layout
    const LayoutKey key{text, font.fontName(), font.pointSize(), width, mode, font.isBold()};
    std::lock_guard lock(Pango::shared().mutex());
    laidOut_ = cache.find(key);
    if (!laidOut_) {
        laidOut_ = layOut(text, font, mode, width);
        cache.insert(key, laidOut_);
    }
}

Size TextLayout::size() const {
    return laidOut_->size;
}

std::vector<std::string> TextLayout::lines() const {
    return laidOut_->texts;
}

bool TextLayout::isTruncated() const {
    return laidOut_->truncated;
}

int TextLayout::missingGlyphCount() const {
    return laidOut_->missing;
}

void showTextLayout(cairo_t* cr, const TextLayout& layout, Point origin, double width,
                    TextAlignment alignment) {
    const Drawing& drawing = layout.drawing();
    std::lock_guard lock(Pango::shared().mutex());
    int index = 0;
    for (GSList* line = pango_layout_get_lines_readonly(drawing.layout); line;
         line = line->next, ++index) {
        const auto i = static_cast<std::size_t>(index);
        double x = origin.x;
        if (alignment == TextAlignment::center) x += (width - drawing.widths[i]) / 2;
        if (alignment == TextAlignment::right) x += width - drawing.widths[i];
        cairo_move_to(cr, x, origin.y + drawing.lineHeight * index + drawing.baseline);
        pango_cairo_show_layout_line(cr, static_cast<PangoLayoutLine*>(line->data));
    }
    cairo_new_path(cr);
}

}  // namespace zelvana::platform
