// Text content shared by labels, text views and text fields.
#include "Collections.h"
#include "TextContent.h"

#include <Foundation/Foundation.h>

namespace platform::uikit {

void TextContent::setText(id string) {
    text = copyOf(string);
    attributed = nullptr;
}

void TextContent::setAttributedText(id attributedString) {
    attributed = copyOf(attributedString);
    text = copyOf(msg<id>(attributedString, sel<"string">()));
}

id TextContent::attributedText() const {
    if (attributed) return attributed.get();
    if (!text) return nil;
    auto attributes = objc::adopt(msg<id>(NSMutableDictionary::class_(), sel<"new">()));
    if (font) msg<void>(attributes.get(), sel<"setObject:forKey:">(), static_cast<id>(font.get()), static_cast<id>(NSFontAttributeName));
    if (color) msg<void>(attributes.get(), sel<"setObject:forKey:">(), static_cast<id>(color.get()), static_cast<id>(NSForegroundColorAttributeName));
    id string = msg<id>(NSAttributedString::class_(), sel<"alloc">());
    return objc::autorelease(msg<id>(string, sel<"initWithString:attributes:">(), text.get(), attributes.get()));
}

void TextContent::setColor(UIColor* newColor) {
    color = objc::retain(newColor);
    if (!attributed || !newColor) return;
    auto recoloured = objc::adopt(msg<id>(attributed.get(), sel<"mutableCopy">()));
    NSRange whole{0, msg<unsigned long>(recoloured.get(), sel<"length">())};
    msg<void>(recoloured.get(), sel<"addAttribute:value:range:">(), static_cast<id>(NSForegroundColorAttributeName),
              static_cast<id>(newColor), whole);
    attributed = copyOf(recoloured.get());
}

id textInputTraits(objc::Strong<objc_object>& slot) {
    if (!slot) slot = objc::adopt(msg<id>(msg<id>(objc_getClass("UITextInputTraits"), sel<"alloc">()), sel<"init">()));
    return slot.get();
}

}  // namespace platform::uikit
