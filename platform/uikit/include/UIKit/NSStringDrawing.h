// String drawing: the NSString methods UIKit adds to draw and measure text, drawn with Pango.
#pragma once

#include <CoreGraphics/CGGeometry.h>

// Selectors UIKit adds to NSString (types as sent):
//   - drawWithRect:(CGRect)options:(long)attributes:(id NSDictionary)context:(id)
//        draws in the current UIKit context; nothing without one or for an empty string
//   - drawInRect:(CGRect)withAttributes:(id), drawAtPoint:(CGPoint)withAttributes:(id)
//        send drawWithRect:options:attributes:context: (with the line-fragment origin option), so
//        that a replacement of that method sees every string drawn
//   - (CGSize)sizeWithAttributes:(id)   one line
//   - (CGRect)boundingRectWithSize:(CGSize)options:(long)attributes:(id)context:(id)
// Attributes read: NSFontAttributeName (a UIFont; Helvetica 12 points without one, as on the
// phone; the system font is drawn in the host's sans-serif face), NSForegroundColorAttributeName
// (a UIColor; black without one, and for colours that have no RGB value, such as patterns),
// NSBackgroundColorAttributeName (a UIColor filling the text's line boxes; none without one).
// The context argument (NSStringDrawingContext) is accepted and ignored.
//
// With NSStringDrawingUsesLineFragmentOrigin the rectangle's origin is the top-left corner of the
// text and lines wrap at the rectangle's width; without it the text is one line whose baseline
// starts at the rectangle's origin, as on the phone. Text is not clipped to the rectangle.

// NSStringDrawingOptions
constexpr long NSStringDrawingUsesLineFragmentOrigin = 1 << 0;
constexpr long NSStringDrawingUsesFontLeading = 1 << 1;
constexpr long NSStringDrawingUsesDeviceMetrics = 1 << 3;
constexpr long NSStringDrawingTruncatesLastVisibleLine = 1 << 5;
