// NSString drawing and measuring, laid out with Pango and drawn through Core Graphics' Cairo bridge.
#include "Registration.h"

#include <CoreGraphics/CGCairo.h>
#include <Foundation/Foundation.h>
#include <UIKit/NSStringDrawing.h>
#include <UIKit/UIColor.h>
#include <UIKit/UIFont.h>
#include <UIKit/UIGraphics.h>

#include <pango/pangocairo.h>

#include <memory>
#include <optional>

namespace {

struct RGBA {
    double red = 0, green = 0, blue = 0, alpha = 1;
};

// What the attributes ask for, read once per call.
struct TextStyle {
    std::string family = "Helvetica";
    double size = 12;
    double weight = 0;
    RGBA foreground;
    std::optional<RGBA> background;
};

std::optional<RGBA> colorOf(id color) {
    RGBA c;
    if (!object_isKindOfClass(color, UIColor::class_()) ||
        !msg<BOOL>(color, sel<"getRed:green:blue:alpha:">(), &c.red, &c.green, &c.blue, &c.alpha))
        return std::nullopt;
    return c;
}

TextStyle styleFrom(id attributes) {
    TextStyle style;
    id font = msg<id>(attributes, sel<"objectForKey:">(), static_cast<id>(NSFontAttributeName));
    if (object_isKindOfClass(font, UIFont::class_())) {
        auto* f = static_cast<UIFont*>(font);
        // The system font's family names start with a dot; the host draws them in its sans-serif face.
        style.family = f->family.empty() || f->family[0] == '.' ? "Sans" : f->family;
        style.size = f->pointSize;
        style.weight = f->weight;
    }
    style.foreground = colorOf(msg<id>(attributes, sel<"objectForKey:">(), static_cast<id>(NSForegroundColorAttributeName))).value_or(RGBA{});
    style.background = colorOf(msg<id>(attributes, sel<"objectForKey:">(), static_cast<id>(NSBackgroundColorAttributeName)));
    return style;
}

PangoWeight pangoWeight(double weight) {
    if (weight >= UIFontWeightBold) return PANGO_WEIGHT_BOLD;
    if (weight >= UIFontWeightSemibold) return PANGO_WEIGHT_SEMIBOLD;
    if (weight >= UIFontWeightMedium) return PANGO_WEIGHT_MEDIUM;
    return PANGO_WEIGHT_NORMAL;
}

// Unhinted metrics, so that text measures the same at every scale and in every context.
void useUnhintedMetrics(PangoContext* context) {
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
}

struct LayoutRelease {
    void operator()(PangoLayout* layout) const { g_object_unref(layout); }
};
using Layout = std::unique_ptr<PangoLayout, LayoutRelease>;

// Lays the text out in points: the font size is absolute, so one unit of the layout is one
// unit of the user space it is drawn in. A wrap width of 0 or less means one line.
void configure(PangoLayout* layout, const std::string& text, const TextStyle& style, double wrapWidth) {
    useUnhintedMetrics(pango_layout_get_context(layout));
    pango_layout_context_changed(layout);
    PangoFontDescription* font = pango_font_description_new();
    pango_font_description_set_family(font, style.family.c_str());
    pango_font_description_set_weight(font, pangoWeight(style.weight));
    pango_font_description_set_absolute_size(font, style.size * PANGO_SCALE);
    pango_layout_set_font_description(layout, font);
    pango_font_description_free(font);
    if (wrapWidth > 0) {
        pango_layout_set_width(layout, static_cast<int>(wrapWidth * PANGO_SCALE));
        pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    } else {
        pango_layout_set_single_paragraph_mode(layout, TRUE);
    }
    pango_layout_set_text(layout, text.c_str(), static_cast<int>(text.size()));
}

// A layout made outside any drawing, for measuring.
Layout measuringLayout(const std::string& text, const TextStyle& style, double wrapWidth) {
    PangoContext* context = pango_font_map_create_context(pango_cairo_font_map_get_default());
    Layout layout(pango_layout_new(context));
    g_object_unref(context);
    configure(layout.get(), text, style, wrapWidth);
    return layout;
}

CGRect logicalRect(PangoLayout* layout) {
    PangoRectangle logical;
    pango_layout_get_extents(layout, nullptr, &logical);
    return {{static_cast<double>(logical.x) / PANGO_SCALE, static_cast<double>(logical.y) / PANGO_SCALE},
            {static_cast<double>(logical.width) / PANGO_SCALE, static_cast<double>(logical.height) / PANGO_SCALE}};
}

double baselineOf(PangoLayout* layout) { return static_cast<double>(pango_layout_get_baseline(layout)) / PANGO_SCALE; }

bool usesLineFragmentOrigin(long options) { return (options & NSStringDrawingUsesLineFragmentOrigin) != 0; }

}  // namespace

namespace platform::uikit {

void drawStringDirectly(id string, CGRect rect, long options, id attributes) {
    CGContextRef context = UIGraphicsGetCurrentContext();
    std::string text = objc::utf8(string);
    if (!context || text.empty()) return;
    TextStyle style = styleFrom(attributes);
    bool lineFragments = usesLineFragmentOrigin(options);
    CGContextDrawWithCairo(context, [&](cairo_t* cr) {
        Layout layout(pango_cairo_create_layout(cr));
        configure(layout.get(), text, style, lineFragments ? rect.size.width : 0);
        double top = lineFragments ? rect.origin.y : rect.origin.y - baselineOf(layout.get());
        if (style.background) {
            CGRect box = logicalRect(layout.get());
            cairo_set_source_rgba(cr, style.background->red, style.background->green, style.background->blue, style.background->alpha);
            cairo_rectangle(cr, rect.origin.x + box.origin.x, top + box.origin.y, box.size.width, box.size.height);
            cairo_fill(cr);
        }
        cairo_set_source_rgba(cr, style.foreground.red, style.foreground.green, style.foreground.blue, style.foreground.alpha);
        cairo_move_to(cr, rect.origin.x, top);
        pango_cairo_show_layout(cr, layout.get());
    });
}

}  // namespace platform::uikit

namespace {

CGRect boundingRect(id string, CGSize size, long options, id attributes) {
    std::string text = objc::utf8(string);
    if (text.empty()) return CGRectZero;
    bool lineFragments = usesLineFragmentOrigin(options);
    Layout layout = measuringLayout(text, styleFrom(attributes), lineFragments ? size.width : 0);
    CGRect box = logicalRect(layout.get());
    if (!lineFragments) box.origin.y -= baselineOf(layout.get());
    return box;
}

}  // namespace

namespace platform::uikit {

void registerNSStringDrawing() {
    Class string = NSString::class_();
    objc::addMethod(string, sel<"drawWithRect:options:attributes:context:">(),
                    [](id self, SEL, CGRect rect, long options, id attributes, id) { drawStringDirectly(self, rect, options, attributes); });
    objc::addMethod(string, sel<"drawInRect:withAttributes:">(), [](id self, SEL, CGRect rect, id attributes) {
        msg<void>(self, sel<"drawWithRect:options:attributes:context:">(), rect, NSStringDrawingUsesLineFragmentOrigin, attributes,
                  static_cast<id>(nil));
    });
    objc::addMethod(string, sel<"drawAtPoint:withAttributes:">(), [](id self, SEL, CGPoint point, id attributes) {
        msg<void>(self, sel<"drawWithRect:options:attributes:context:">(), CGRect{point, {0, 0}}, NSStringDrawingUsesLineFragmentOrigin,
                  attributes, static_cast<id>(nil));
    });
    objc::addMethod(string, sel<"sizeWithAttributes:">(),
                    [](id self, SEL, id attributes) { return boundingRect(self, CGSizeZero, 0, attributes).size; });
    objc::addMethod(string, sel<"boundingRectWithSize:options:attributes:context:">(),
                    [](id self, SEL, CGSize size, long options, id attributes, id) { return boundingRect(self, size, options, attributes); });
}

}  // namespace platform::uikit
