// The renderer: a view tree composed into a Cairo image surface, back to front, as the screen shows it.
#include <render/Renderer.h>

#include "PictureSurface.h"
#include "StatusBar.h"
#include "TextDrawing.h"

#include <render/Compositing.h>
#include <render/PNGEncoding.h>

#include <CoreGraphics/CGCairo.h>
#include <Foundation/NSAttributedString.h>
#include <Foundation/NSString.h>
#include <QuartzCore/CALayer.h>
#include <UIKit/UIFont.h>
#include <UIKit/UIGraphics.h>
#include <UIKit/UIImageView.h>
#include <UIKit/UILabel.h>
#include <UIKit/UITextField.h>
#include <UIKit/UITextView.h>
#include <UIKit/UIView.h>
#include <UIKit/UIViewController.h>
#include <UIKit/UIWindow.h>
#include <objc/message.h>
#include <objc/runtime.h>

#include <cairo.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <cmath>
#include <memory>
#include <mutex>
#include <numbers>
#include <utility>
#include <stdexcept>

namespace render {

namespace {

// RGBA of a Core Graphics colour: grey spaces have two components, RGB four; patterns and
// anything else read as nothing (false), as they have no single colour to fill with.
bool components(CGColorRef color, double out[4]) {
    if (!color) return false;
    const CGFloat* c = CGColorGetComponents(color);
    if (!c) return false;
    switch (CGColorGetNumberOfComponents(color)) {
    case 2: out[0] = out[1] = out[2] = c[0]; out[3] = c[1]; return true;
    case 4: std::copy(c, c + 4, out); return true;
    default: return false;
    }
}

bool setSource(cairo_t* cr, CGColorRef color) {
    double rgba[4];
    if (!components(color, rgba) || rgba[3] <= 0) return false;
    cairo_set_source_rgba(cr, rgba[0], rgba[1], rgba[2], rgba[3]);
    return true;
}

CGColorRef cgColorOf(id colour) {
    return object_isKindOfClass(colour, UIColor::class_()) ? static_cast<UIColor*>(colour)->cgColor : nullptr;
}

void roundedRect(cairo_t* cr, double w, double h, double radius) {
    radius = std::clamp(radius, 0.0, std::min(w, h) / 2);
    if (radius <= 0) {
        cairo_rectangle(cr, 0, 0, w, h);
        return;
    }
    constexpr double quarter = std::numbers::pi / 2;
    cairo_new_sub_path(cr);
    cairo_arc(cr, w - radius, radius, radius, -quarter, 0);
    cairo_arc(cr, w - radius, h - radius, radius, 0, quarter);
    cairo_arc(cr, radius, h - radius, radius, quarter, 2 * quarter);
    cairo_arc(cr, radius, radius, radius, 2 * quarter, 3 * quarter);
    cairo_close_path(cr);
}

// The layer's border, stroked inside its bounds over everything the layer shows.
void strokeBorder(cairo_t* cr, const CALayer* layer, double w, double h) {
    if (layer->borderWidth <= 0 || !setSource(cr, layer->borderColor)) return;
    double inset = layer->borderWidth / 2;
    cairo_save(cr);
    cairo_translate(cr, inset, inset);
    roundedRect(cr, w - 2 * inset, h - 2 * inset, std::max(0.0, layer->cornerRadius - inset));
    cairo_restore(cr);
    cairo_set_line_width(cr, layer->borderWidth);
    cairo_stroke(cr);
}

// A shape layer keeps no path here; the app's shape layers are circles and rings, so one is
// drawn as the ellipse its frame holds, stroked from strokeStart to strokeEnd clockwise from the top.
void drawShapeLayer(cairo_t* cr, const CAShapeLayer* shape, double w, double h) {
    if (w <= 0 || h <= 0) return;
    cairo_save(cr);
    cairo_translate(cr, w / 2, h / 2);
    cairo_scale(cr, w / 2, h / 2);
    cairo_arc(cr, 0, 0, 1, 0, 2 * std::numbers::pi);
    cairo_restore(cr);
    if (setSource(cr, shape->fillColor)) cairo_fill_preserve(cr);
    cairo_new_path(cr);
    double start = std::clamp(shape->strokeStart, 0.0, 1.0), end = std::clamp(shape->strokeEnd, 0.0, 1.0);
    if (end <= start || shape->lineWidth <= 0 || !setSource(cr, shape->strokeColor)) return;
    cairo_save(cr);
    cairo_translate(cr, w / 2, h / 2);
    cairo_scale(cr, w / 2, h / 2);
    const double top = -std::numbers::pi / 2;
    cairo_arc(cr, 0, 0, 1, top + start * 2 * std::numbers::pi, top + end * 2 * std::numbers::pi);
    cairo_restore(cr);
    cairo_set_line_width(cr, shape->lineWidth);
    cairo_stroke(cr);
}

void drawLayerTree(cairo_t* cr, const CALayer* layer);

void drawSublayers(cairo_t* cr, const CALayer* layer) {
    for (const auto& sublayer : layer->sublayers) {
        if (!sublayer || sublayer->hidden || sublayer->delegate) continue;  // a view's layer is drawn with its view
        cairo_save(cr);
        cairo_translate(cr, sublayer->frame.origin.x, sublayer->frame.origin.y);
        drawLayerTree(cr, sublayer.get());
        cairo_restore(cr);
    }
}

// A free-standing layer (not a view's): background, shape, sublayers, border.
void drawLayerTree(cairo_t* cr, const CALayer* layer) {
    double w = layer->frame.size.width, h = layer->frame.size.height;
    bool translucent = layer->opacity < 1;
    if (translucent) cairo_push_group(cr);
    if (setSource(cr, layer->backgroundColor)) {
        roundedRect(cr, w, h, layer->cornerRadius);
        cairo_fill(cr);
    }
    if (object_isKindOfClass(const_cast<CALayer*>(layer), CAShapeLayer::class_())) drawShapeLayer(cr, static_cast<const CAShapeLayer*>(layer), w, h);
    drawSublayers(cr, layer);
    strokeBorder(cr, layer, w, h);
    if (translucent) {
        cairo_pop_group_to_source(cr);
        cairo_paint_with_alpha(cr, std::clamp<double>(layer->opacity, 0, 1));
    }
}

// Where an image of `size` points goes in a view of w × h points for the view's content mode.
CGRect imagePlacement(CGSize size, double w, double h, long contentMode) {
    if (size.width <= 0 || size.height <= 0) return {};
    switch (contentMode) {
    case UIViewContentModeScaleAspectFit:
    case UIViewContentModeScaleAspectFill: {
        double fit = std::min(w / size.width, h / size.height), fill = std::max(w / size.width, h / size.height);
        double s = contentMode == UIViewContentModeScaleAspectFit ? fit : fill;
        return {{(w - size.width * s) / 2, (h - size.height * s) / 2}, {size.width * s, size.height * s}};
    }
    case UIViewContentModeCenter: return {{(w - size.width) / 2, (h - size.height) / 2}, size};
    default: return {{0, 0}, {w, h}};
    }
}

void drawImage(cairo_t* cr, UIImage* image, CGRect where, id tintColour) {
    if (!image || !image->cgImage || where.size.width <= 0 || where.size.height <= 0) return;
    cairo_surface_t* pixels = CGImageGetCairoSurface(image->cgImage);
    int pw = cairo_image_surface_get_width(pixels), ph = cairo_image_surface_get_height(pixels);
    if (pw <= 0 || ph <= 0) return;
    cairo_save(cr);
    cairo_translate(cr, where.origin.x, where.origin.y);
    cairo_scale(cr, where.size.width / pw, where.size.height / ph);
    bool mask = cairo_image_surface_get_format(pixels) == CAIRO_FORMAT_A8;
    if (image->renderingMode == UIImageRenderingModeAlwaysTemplate || mask) {
        double rgba[4] = {0, 0, 0, 1};
        components(cgColorOf(tintColour), rgba);
        cairo_set_source_rgba(cr, rgba[0], rgba[1], rgba[2], rgba[3]);
        cairo_mask_surface(cr, pixels, 0, 0);
    } else {
        cairo_set_source_surface(cr, pixels, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
        cairo_paint(cr);
    }
    cairo_restore(cr);
}

id foregroundOf(id attributes) { return msg<id>(attributes, sel<"objectForKey:">(), static_cast<id>(NSForegroundColorAttributeName)); }

// Font and colour as the view's getters answer; a label without a colour or font of its own takes
// those of its class's _defaultAttributes, as UIKit's label drawing does.
TextStyle textStyle(id view, long alignment, long lines, bool centre) {
    TextStyle style;
    id font = msg<id>(view, sel<"font">());
    id colour = msg<id>(view, sel<"textColor">());
    if ((!font || !colour) && object_isKindOfClass(view, UILabel::class_())) {
        id defaults = msg<id>(reinterpret_cast<id>(object_getClass(view)), sel<"_defaultAttributes">());
        if (!font) font = msg<id>(defaults, sel<"objectForKey:">(), static_cast<id>(NSFontAttributeName));
        if (!colour) colour = foregroundOf(defaults);
    }
    if (object_isKindOfClass(font, UIFont::class_())) {
        style.pointSize = static_cast<UIFont*>(font)->pointSize;
        style.bold = static_cast<UIFont*>(font)->weight >= 0.3;
    }
    components(cgColorOf(colour), style.rgba);
    style.alignment = alignment;
    style.lines = lines;
    style.centreVertically = centre;
    return style;
}

std::string plainText(id view) { return objc::utf8(msg<id>(view, sel<"text">())); }

// UTF-8 byte offsets of each UTF-16 index of `text`, one past the end included.
std::vector<std::size_t> utf16Offsets(const std::string& text) {
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < text.size();) {
        auto lead = static_cast<unsigned char>(text[i]);
        std::size_t bytes = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        offsets.push_back(i);
        if (bytes == 4) offsets.push_back(i);  // a surrogate pair: two UTF-16 units
        i += bytes;
    }
    offsets.push_back(text.size());
    return offsets;
}

// The link runs (NSLink) of a text view, in the foreground colour its linkTextAttributes answer.
void addLinkRuns(id textView, const std::string& text, TextStyle& style) {
    id attributed = msg<id>(textView, sel<"attributedText">());
    unsigned long length = msg<unsigned long>(attributed, sel<"length">());
    if (length == 0) return;
    std::vector<std::size_t> offsets = utf16Offsets(text);
    double rgba[4] = {0, 0, 0, 0};
    bool coloured = false;
    for (unsigned long index = 0; index < length && index + 1 < offsets.size();) {
        NSRange range{index, 1};
        id link = msg<id>(attributed, sel<"attribute:atIndex:effectiveRange:">(), static_cast<id>(NSLinkAttributeName), index, &range);
        unsigned long end = std::min<unsigned long>(std::max<unsigned long>(range.location + range.length, index + 1), offsets.size() - 1);
        if (link) {
            if (!coloured) {
                components(cgColorOf(foregroundOf(msg<id>(textView, sel<"linkTextAttributes">()))), rgba);
                coloured = true;
            }
            ColourRun run{offsets[index], offsets[end], {rgba[0], rgba[1], rgba[2], rgba[3]}};
            style.runs.push_back(run);
        }
        index = end;
    }
}

// A caret after the text of the first responder, in the field's tintColor as UIKit draws it.
void drawCaret(cairo_t* cr, UIView* field, const std::string& text, const TextStyle& style, double h) {
    if (!msg<BOOL>(field, sel<"isFirstResponder">()) || !setSource(cr, cgColorOf(msg<id>(field, sel<"tintColor">())))) return;
    id attributes = objc::dict({{NSFontAttributeName, UIFont::systemFont(style.pointSize)}});
    double x = 8 + (text.empty() ? 0 : msg<CGSize>(msg<id>(field, sel<"text">()), sel<"sizeWithAttributes:">(), attributes).width);
    double caretHeight = style.pointSize * 1.2;
    cairo_rectangle(cr, x, (h - caretHeight) / 2, 2, caretHeight);
    cairo_fill(cr);
}

// Labels, text fields and text views: their text in the colour their textColor getter answers,
// which is what the phone's text drawing asks for.
void drawTextContent(cairo_t* cr, UIView* view, double w, double h) {
    if (object_isKindOfClass(view, UILabel::class_())) {
        auto* label = static_cast<UILabel*>(view);
        drawText(cr, plainText(view), textStyle(view, label->textAlignment, label->numberOfLines, true), {{0, 0}, {w, h}});
    } else if (object_isKindOfClass(view, UITextField::class_())) {
        auto* field = static_cast<UITextField*>(view);
        TextStyle style = textStyle(view, field->textAlignment, 1, true);
        std::string text = plainText(view);
        drawCaret(cr, view, text, style, h);
        if (text.empty() && field->placeholder) {
            text = objc::utf8(msg<id>(field->placeholder.get(), sel<"string">()));
            style.rgba[0] = style.rgba[1] = style.rgba[2] = 0.78;
            style.rgba[3] = 1;
        }
        drawText(cr, text, style, {{8, 0}, {w - 16, h}});
    } else if (object_isKindOfClass(view, UITextView::class_())) {
        auto* textView = static_cast<UITextView*>(view);
        std::string text = plainText(view);
        TextStyle style = textStyle(view, textView->textAlignment, 0, false);
        addLinkRuns(view, text, style);
        drawText(cr, text, style, {{5, 8}, {w - 10, h - 16}});
    }
}

// A view that draws itself (its class replaces UIView's drawRect:) draws into an image context
// of its bounds, as UIKit gives it one, and that picture is composed like its content.
void drawCustomContent(cairo_t* cr, UIView* view, double w, double h, double scale) {
    static const IMP stock = method_getImplementation(class_getInstanceMethod(UIView::class_(), sel<"drawRect:">()));
    if (method_getImplementation(class_getInstanceMethod(object_getClass(view), sel<"drawRect:">())) == stock || w <= 0 || h <= 0) return;
    objc::AutoreleasePool pool;
    UIGraphicsBeginImageContextWithOptions({w, h}, false, scale);
    msg<void>(view, sel<"drawRect:">(), CGRect{{0, 0}, {w, h}});
    id picture = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    if (object_isKindOfClass(picture, UIImage::class_())) drawImage(cr, static_cast<UIImage*>(picture), {{0, 0}, {w, h}}, nullptr);
}

Class cachedClass(const char* name) {
    // Looked up once: UIKit's private classes are registered before any picture is drawn.
    return objc_getClass(name);
}

// A table separator is drawn from what it answers: its backgroundColor, and through its
// separatorEffect (a vibrancy letting what is below show through) when it has one.
bool drawSeparator(cairo_t* cr, UIView* view, double w, double h) {
    static const Class separatorClass = cachedClass("_UITableViewCellSeparatorView");
    if (!separatorClass || !object_isKindOfClass(view, separatorClass)) return false;
    if (setSource(cr, cgColorOf(msg<id>(view, sel<"backgroundColor">())))) {
        cairo_rectangle(cr, 0, 0, w, h);
        if (msg<id>(view, sel<"separatorEffect">())) {
            cairo_save(cr);
            cairo_clip(cr);
            cairo_paint_with_alpha(cr, 0.5);
            cairo_restore(cr);
        } else {
            cairo_fill(cr);
        }
    }
    return true;
}

bool composesPlusDarker(CALayer* layer) {
    if (!layer) return false;
    id filter = msg<id>(layer, sel<"compositingFilter">());
    return filter && objc::utf8(msg<id>(filter, sel<"description">())) == kCAFilterPlusD;
}

void drawView(cairo_t* cr, UIView* view, double scale);

// The view, its content and its subviews, composited normally over what is below.
void drawComposited(cairo_t* cr, UIView* view, double scale) {
    CALayer* layer = view->layer.get();
    // A view's alpha is its layer's opacity (setAlpha: writes both), so it is applied once.
    double alpha = std::clamp(layer ? double(layer->opacity) : view->alpha, 0.0, 1.0);
    if (alpha <= 0) return;
    double w = view->frame.size.width, h = view->frame.size.height;
    double radius = layer ? layer->cornerRadius : 0;

    cairo_save(cr);
    bool translucent = alpha < 1;
    if (translucent) cairo_push_group(cr);
    if (!drawSeparator(cr, view, w, h) && layer && setSource(cr, layer->backgroundColor)) {
        roundedRect(cr, w, h, radius);
        cairo_fill(cr);
    }
    // The clip is undone before the border, which the phone draws over the content at the edge;
    // a save and restore, rather than a reset, keeps the clips of the views above.
    cairo_save(cr);
    if (view->clipsToBounds || (layer && layer->masksToBounds)) {
        roundedRect(cr, w, h, radius);
        cairo_clip(cr);
    }
    if (layer) {
        if (object_isKindOfClass(layer, CAShapeLayer::class_())) drawShapeLayer(cr, static_cast<const CAShapeLayer*>(layer), w, h);
        drawSublayers(cr, layer);
    }
    if (object_isKindOfClass(view, UIImageView::class_())) {
        auto* imageView = static_cast<UIImageView*>(view);
        // The image comes from the instance variable, as UIKit's image view reads it when it
        // draws; only the tint of a template is asked for.
        UIImage* image = imageView->highlighted && imageView->highlightedImage ? imageView->highlightedImage.get() : imageView->image.get();
        if (image) {
            id tint = image->renderingMode == UIImageRenderingModeAlwaysTemplate ? msg<id>(view, sel<"tintColor">()) : nullptr;
            drawImage(cr, image, imagePlacement(image->pointSize(), w, h, view->contentMode), tint);
        }
    }
    drawTextContent(cr, view, w, h);
    drawCustomContent(cr, view, w, h, scale);

    for (const auto& subview : view->subviews) {
        if (!subview) continue;
        cairo_save(cr);
        cairo_translate(cr, subview->frame.origin.x - view->boundsOrigin.x, subview->frame.origin.y - view->boundsOrigin.y);
        drawView(cr, subview.get(), scale);
        cairo_restore(cr);
    }
    cairo_restore(cr);
    if (layer) strokeBorder(cr, layer, w, h);
    if (translucent) {
        cairo_pop_group_to_source(cr);
        cairo_paint_with_alpha(cr, alpha);
    }
    cairo_restore(cr);
}

// A layer that reports the plus-darker filter: the view is drawn on its own over the device
// pixels it covers (within the clip), then combined with what is below pixel by pixel.
void drawPlusDarker(cairo_t* cr, UIView* view, double scale) {
    cairo_surface_t* target = cairo_get_group_target(cr);
    if (cairo_surface_get_type(target) != CAIRO_SURFACE_TYPE_IMAGE) return drawComposited(cr, view, scale);
    double w = view->frame.size.width, h = view->frame.size.height;
    double clipX0, clipY0, clipX1, clipY1;
    cairo_clip_extents(cr, &clipX0, &clipY0, &clipX1, &clipY1);
    double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
    for (auto [x, y] : {std::pair{std::max(0.0, clipX0), std::max(0.0, clipY0)}, std::pair{std::min(w, clipX1), std::max(0.0, clipY0)},
                        std::pair{std::max(0.0, clipX0), std::min(h, clipY1)}, std::pair{std::min(w, clipX1), std::min(h, clipY1)}}) {
        cairo_user_to_device(cr, &x, &y);
        x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
    }
    double offsetX, offsetY;
    cairo_surface_get_device_offset(target, &offsetX, &offsetY);
    int left = std::max(0, static_cast<int>(std::floor(x0 + offsetX))), top = std::max(0, static_cast<int>(std::floor(y0 + offsetY)));
    int right = std::min(cairo_image_surface_get_width(target), static_cast<int>(std::ceil(x1 + offsetX)));
    int bottom = std::min(cairo_image_surface_get_height(target), static_cast<int>(std::ceil(y1 + offsetY)));
    if (right <= left || bottom <= top) return;
    SurfacePtr own(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, right - left, bottom - top), cairo_surface_destroy);
    {
        ContextPtr ownContext(cairo_create(own.get()), cairo_destroy);
        cairo_matrix_t matrix;
        cairo_get_matrix(cr, &matrix);
        matrix.x0 += offsetX - left;
        matrix.y0 += offsetY - top;
        cairo_set_matrix(ownContext.get(), &matrix);
        drawComposited(ownContext.get(), view, scale);
    }
    cairo_surface_flush(target);
    compositePlusDarker(own.get(), target, left, top);
}

void drawView(cairo_t* cr, UIView* view, double scale) {
    if (msg<bool>(view, sel<"hidden">())) return;
    CALayer* layer = view->layer.get();
    if (layer && layer->hidden) return;
    // The filter is asked of the layer, so a replaced compositingFilter decides how it composes.
    if (composesPlusDarker(layer)) drawPlusDarker(cr, view, scale);
    else drawComposited(cr, view, scale);
}

// Surfaces of finished pictures, kept for the next ones of the same size: a fresh surface of a
// phone's screen is 11 MB whose first touch, page by page, cost as much as the drawing. Two,
// for a picture being encoded while the next is drawn; a drawing takes its surface out, so a
// nested renderView makes its own.
class SpareSurfaces {
public:
    // A cleared surface of width × height pixels: a kept one when one has that size.
    SurfacePtr take(int width, int height) {
        SurfacePtr surface{nullptr, cairo_surface_destroy};
        {
            std::lock_guard<std::mutex> lock(mutex_);
            auto fits = std::find_if(kept_.begin(), kept_.end(), [&](const SurfacePtr& kept) {
                return kept && cairo_image_surface_get_width(kept.get()) == width && cairo_image_surface_get_height(kept.get()) == height;
            });
            if (fits != kept_.end()) surface = std::move(*fits);
        }
        if (!surface) return SurfacePtr(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height), cairo_surface_destroy);
        cairo_surface_flush(surface.get());
        std::memset(cairo_image_surface_get_data(surface.get()), 0, static_cast<std::size_t>(cairo_image_surface_get_stride(surface.get())) * height);
        cairo_surface_mark_dirty(surface.get());
        return surface;
    }

    // Keeps the surface in place of the oldest kept one.
    void give(SurfacePtr surface) {
        std::lock_guard<std::mutex> lock(mutex_);
        std::swap(kept_[0], kept_[1]);
        kept_[1] = std::move(surface);
    }

private:
    std::mutex mutex_;
    std::array<SurfacePtr, 2> kept_{SurfacePtr{nullptr, cairo_surface_destroy}, SurfacePtr{nullptr, cairo_surface_destroy}};
};

// Never destroyed: a picture may go while the process exits.
SpareSurfaces& spareSurfaces() {
    static SpareSurfaces* spares = new SpareSurfaces;
    return *spares;
}

// Draws root into a surface of its own; nothing when there is nothing to draw.
SurfacePtr drawWindow(UIView* root, double scale) {
    SurfacePtr none{nullptr, cairo_surface_destroy};
    if (!root || !(scale > 0)) return none;
    int width = static_cast<int>(std::ceil(root->frame.size.width * scale));
    int height = static_cast<int>(std::ceil(root->frame.size.height * scale));
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384) return none;
    SurfacePtr surface = spareSurfaces().take(width, height);
    {
        ContextPtr cr(cairo_create(surface.get()), cairo_destroy);
        cairo_scale(cr.get(), scale, scale);
        objc::AutoreleasePool pool;
        drawView(cr.get(), root, scale);
        // The screen draws the status bar over every window, in the style its top controller prefers.
        if (object_isKindOfClass(root, UIWindow::class_()))
            drawStatusBar(cr.get(), root->frame.size.width, platform::statusBarHeight(), platform::statusBarStyle(static_cast<UIWindow*>(root)));
    }
    cairo_surface_flush(surface.get());
    return surface;
}

}  // namespace

Picture renderView(UIView* root, double scale) {
    SurfacePtr drawn = drawWindow(root, scale);
    if (!drawn) return {};
    Picture picture = pictureOf(drawn.get());
    spareSurfaces().give(std::move(drawn));
    return picture;
}

DrawnPixels::DrawnPixels(DrawnPixels&& other) noexcept : surface_(std::exchange(other.surface_, nullptr)) {}

DrawnPixels& DrawnPixels::operator=(DrawnPixels&& other) noexcept {
    if (this != &other) {
        DrawnPixels gone(std::move(*this));
        surface_ = std::exchange(other.surface_, nullptr);
    }
    return *this;
}

DrawnPixels::~DrawnPixels() {
    if (surface_) spareSurfaces().give(SurfacePtr(surface_, cairo_surface_destroy));
}

EncodedDrawing DrawnPixels::encode(int shrink) const {
    EncodedDrawing drawing;
    if (!surface_) return drawing;
    drawing.png = encodePremultipliedPNG(cairo_image_surface_get_data(surface_), cairo_image_surface_get_width(surface_),
                                         cairo_image_surface_get_height(surface_), cairo_image_surface_get_stride(surface_));
    drawing.thumbnail = pictureOf(shrink > 1 ? shrunkSurface(surface_, shrink).get() : surface_);
    return drawing;
}

DrawnPixels drawPixels(UIView* root, double scale) { return DrawnPixels(drawWindow(root, scale).release()); }

}  // namespace render
