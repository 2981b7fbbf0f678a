// UILabel: text content, colour, font and the default text attributes.
#include "Registration.h"
#include "TextContent.h"

#include <Foundation/Foundation.h>
#include <UIKit/UILabel.h>

#include <cmath>

namespace {

Class gUILabel = nullptr;

}  // namespace

Class UILabel::class_() { return gUILabel; }

UILabel::UILabel() : content(std::make_unique<platform::uikit::TextContent>()) {
    content->color = objc::retain(UIColor::colorWithWhite(0, 1));
    content->font = objc::retain(UIFont::systemFont(17));
    userInteractionEnabled = false;
}

UILabel::~UILabel() = default;

namespace platform::uikit {

// The text on one line in the label's font, measured as NSString drawing lays it out.
CGSize textSize(id text, UIFont* font) {
    if (!text || msg<unsigned long>(text, sel<"length">()) == 0) return CGSizeZero;
    id attributes = objc::dict({{NSFontAttributeName, font ? static_cast<id>(font) : static_cast<id>(UIFont::systemFont(17))}});
    CGSize size = msg<CGSize>(text, sel<"sizeWithAttributes:">(), attributes);
    return {std::ceil(size.width), std::ceil(size.height)};
}

void registerUILabel() {
    using objc::ClassBuilder;
    gUILabel =
        ClassBuilder<UILabel>("UILabel", UIView::class_())
            .classMethod(sel<"_defaultAttributes">(),
                         [](Class, SEL) -> id {
                             return objc::dict({{NSForegroundColorAttributeName, UIColor::colorWithWhite(0, 1)},
                                                {NSFontAttributeName, UIFont::systemFont(17)}});
                         })
            // A new label starts from its class's default text attributes, as UIKit's does: its
            // colour and font are what _defaultAttributes names, stored without setTextColor:.
            .method(sel<"initWithFrame:">(),
                    [](UILabel* self, SEL cmd, CGRect frame) -> id {
                        id label = callSuper<id>(UIView::class_(), self, cmd, frame);
                        if (!label) return nullptr;
                        id defaults = msg<id>(reinterpret_cast<id>(object_getClass(label)), sel<"_defaultAttributes">());
                        id colour = msg<id>(defaults, sel<"objectForKey:">(), static_cast<id>(NSForegroundColorAttributeName));
                        id font = msg<id>(defaults, sel<"objectForKey:">(), static_cast<id>(NSFontAttributeName));
                        if (object_isKindOfClass(colour, UIColor::class_())) self->content->color = objc::retain(static_cast<UIColor*>(colour));
                        if (object_isKindOfClass(font, UIFont::class_())) self->content->font = objc::retain(static_cast<UIFont*>(font));
                        return label;
                    })
            .method(sel<"text">(), [](UILabel* self, SEL) -> id { return self->content->text.get(); })
            .method(sel<"setText:">(), [](UILabel* self, SEL, id text) { self->content->setText(text); })
            .method(sel<"attributedText">(), [](UILabel* self, SEL) { return self->content->attributedText(); })
            .method(sel<"setAttributedText:">(), [](UILabel* self, SEL, id text) { self->content->setAttributedText(text); })
            .method(sel<"textColor">(), [](UILabel* self, SEL) -> id { return self->content->color.get(); })
            .method(sel<"setTextColor:">(), [](UILabel* self, SEL, UIColor* color) { self->content->setColor(color); })
            .method(sel<"font">(), [](UILabel* self, SEL) -> id { return self->content->font.get(); })
            .method(sel<"setFont:">(), [](UILabel* self, SEL, UIFont* font) { self->content->font = objc::retain(font); })
            .method(sel<"textAlignment">(), [](UILabel* self, SEL) { return self->textAlignment; })
            .method(sel<"setTextAlignment:">(), [](UILabel* self, SEL, long alignment) { self->textAlignment = alignment; })
            .method(sel<"numberOfLines">(), [](UILabel* self, SEL) { return self->numberOfLines; })
            .method(sel<"setNumberOfLines:">(), [](UILabel* self, SEL, long lines) { self->numberOfLines = lines; })
            .method(sel<"lineBreakMode">(), [](UILabel* self, SEL) { return self->lineBreakMode; })
            .method(sel<"setLineBreakMode:">(), [](UILabel* self, SEL, long mode) { self->lineBreakMode = mode; })
            .method(sel<"intrinsicContentSize">(), [](UILabel* self, SEL) { return msg<CGSize>(self, sel<"sizeThatFits:">(), CGSizeZero); })
            .method(sel<"sizeThatFits:">(),
                    [](UILabel* self, SEL, CGSize) { return textSize(self->content->text.get(), self->content->font.get()); })
            .registerClass();
}

}  // namespace platform::uikit
