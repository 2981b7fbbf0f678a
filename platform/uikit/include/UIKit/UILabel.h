// UILabel: a view that shows plain or attributed text in a colour and font.
#pragma once

#include <UIKit/UIView.h>

#include <memory>

namespace platform::uikit {
struct TextContent;
}

// Selectors:
//   - (id)text, setText:(id)                 setting plain text drops attributed text
//   - (id)attributedText, setAttributedText:(id)   plain text follows the attributed string;
//        without attributed text set, attributedText answers the text with font and colour
//   - (id)textColor, setTextColor:(id)       black by default; recolours attributed text
//   - (id)font, setFont:(id)                 the system font of 17 points by default
//   - (long)textAlignment (NSTextAlignment: 0 left, 1 centre, 2 right, 4 natural, the default),
//     (long)numberOfLines (1), (long)lineBreakMode, and their setters
//   - tintColor as every view
//   + (id)_defaultAttributes                 NSDictionary: NSForegroundColorAttributeName black,
//                                            NSFontAttributeName the system font of 17 points
class UILabel : public UIView {
public:
    static Class class_();
    UILabel();
    ~UILabel() override;

    std::unique_ptr<platform::uikit::TextContent> content;
    long textAlignment = 4;
    long numberOfLines = 1;
    long lineBreakMode = 4;
};

// NSTextAlignment values.
constexpr long NSTextAlignmentLeft = 0;
constexpr long NSTextAlignmentCenter = 1;
constexpr long NSTextAlignmentRight = 2;
constexpr long NSTextAlignmentNatural = 4;
