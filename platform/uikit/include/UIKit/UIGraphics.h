// UIKit's graphics contexts: a per-thread stack of current contexts, image contexts and rectangle fills.
#pragma once

#include <CoreGraphics/CGContext.h>
#include <objc/objc.h>

// The current context is the top of the calling thread's stack; NULL when the stack is empty.
// Borrowed: the stack owns its contexts.
CGContextRef UIGraphicsGetCurrentContext();

// Makes a context the current one for the calling thread (retained until popped), as UIKit
// does around drawRect:. Popping with an empty stack is ignored.
void UIGraphicsPushContext(CGContextRef context);
void UIGraphicsPopContext();

// Opens an image context and makes it current: a transparent bitmap of size × scale pixels
// (each side rounded up) whose user space is in points with a top-left origin, so that
// UIKit drawing and the phone's flipped coordinates agree. A scale of 0 means the main
// screen's scale. An opaque context has no alpha channel. A size with no pixels (zero,
// negative or not a number) opens an empty entry: the current context is then NULL and the
// image is nil, and the matching End still pops only that entry.
void UIGraphicsBeginImageContextWithOptions(CGSize size, bool opaque, CGFloat scale);
// Not opaque, scale 1.
void UIGraphicsBeginImageContext(CGSize size);
// A snapshot of the current image context as an autoreleased UIImage of the context's scale,
// upright; nil when the current context is not an image context.
id UIGraphicsGetImageFromCurrentImageContext();
// Closes the top image context. Does nothing when the top entry is not an image context,
// so a stray End never closes a context someone else pushed.
void UIGraphicsEndImageContext();

// Fills with the current fill colour, in the current context; nothing without one.
void UIRectFill(CGRect rect);
void UIRectFillUsingBlendMode(CGRect rect, CGBlendMode blendMode);
// Strokes the rectangle's outline with the current stroke colour, one point wide.
void UIRectFrame(CGRect rect);

// The PNG data of an image: deterministic bytes for the same pixels; nil for nil,
// images without a bitmap, or on failure. Returns autoreleased NSData.
id UIImagePNGRepresentation(id image);
