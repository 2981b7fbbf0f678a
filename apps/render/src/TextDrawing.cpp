// Text for the renderer: Pango layouts in DejaVu Sans with fixed font options.
#include "TextDrawing.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <memory>

namespace render {

namespace {

template <class T, void (*Free)(T*)>
struct Deleter {
    void operator()(T* p) const { Free(p); }
};

void unrefObject(PangoLayout* layout) { g_object_unref(layout); }

}  // namespace

void drawText(cairo_t* cr, const std::string& text, const TextStyle& style, CGRect box) {
    if (text.empty() || box.size.width <= 0) return;
    std::unique_ptr<PangoLayout, Deleter<PangoLayout, unrefObject>> layout(pango_cairo_create_layout(cr));

    std::unique_ptr<cairo_font_options_t, Deleter<cairo_font_options_t, cairo_font_options_destroy>> options(cairo_font_options_create());
    cairo_font_options_set_antialias(options.get(), CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options.get(), CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options.get(), CAIRO_HINT_METRICS_OFF);
    PangoContext* context = pango_layout_get_context(layout.get());
    pango_cairo_context_set_font_options(context, options.get());
    pango_cairo_context_set_resolution(context, 72);
    pango_layout_context_changed(layout.get());

    std::unique_ptr<PangoFontDescription, Deleter<PangoFontDescription, pango_font_description_free>> font(pango_font_description_new());
    pango_font_description_set_family(font.get(), "DejaVu Sans");
    pango_font_description_set_weight(font.get(), style.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_absolute_size(font.get(), (style.pointSize > 0 ? style.pointSize : 17) * PANGO_SCALE);
    pango_layout_set_font_description(layout.get(), font.get());

    pango_layout_set_text(layout.get(), text.c_str(), static_cast<int>(text.size()));
    if (!style.runs.empty()) {
        std::unique_ptr<PangoAttrList, Deleter<PangoAttrList, pango_attr_list_unref>> attributes(pango_attr_list_new());
        auto channel = [](double value) { return static_cast<guint16>(std::clamp(value, 0.0, 1.0) * 65535); };
        for (const ColourRun& run : style.runs) {
            for (PangoAttribute* attribute : {pango_attr_foreground_new(channel(run.rgba[0]), channel(run.rgba[1]), channel(run.rgba[2])),
                                              pango_attr_foreground_alpha_new(channel(run.rgba[3]))}) {
                attribute->start_index = static_cast<guint>(run.start);
                attribute->end_index = static_cast<guint>(run.end);
                pango_attr_list_insert(attributes.get(), attribute);
            }
        }
        pango_layout_set_attributes(layout.get(), attributes.get());
    }
    pango_layout_set_width(layout.get(), static_cast<int>(box.size.width * PANGO_SCALE));
    if (style.lines == 1) {
        pango_layout_set_ellipsize(layout.get(), PANGO_ELLIPSIZE_END);
    } else {
        pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);
        if (style.lines > 1) {
            pango_layout_set_ellipsize(layout.get(), PANGO_ELLIPSIZE_END);
            pango_layout_set_height(layout.get(), -static_cast<int>(style.lines));
        }
    }
    PangoAlignment alignment = style.alignment == 1 ? PANGO_ALIGN_CENTER : style.alignment == 2 ? PANGO_ALIGN_RIGHT : PANGO_ALIGN_LEFT;
    pango_layout_set_alignment(layout.get(), alignment);

    int width = 0, height = 0;
    pango_layout_get_pixel_size(layout.get(), &width, &height);
    double y = box.origin.y;
    if (style.centreVertically) y += (box.size.height - height) / 2;

    cairo_save(cr);
    cairo_set_source_rgba(cr, style.rgba[0], style.rgba[1], style.rgba[2], style.rgba[3]);
    cairo_move_to(cr, box.origin.x, y);
    pango_cairo_show_layout(cr, layout.get());
    cairo_restore(cr);
}

}  // namespace render
