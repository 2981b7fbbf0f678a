// CALayer and CAShapeLayer: the drawing properties behind a view, with Core Graphics colours.
#pragma once

#include <CoreGraphics/CGColor.h>
#include <objc/NSObject.h>

#include <vector>

class UIView;

// Colour properties hold CGColorRef values: setters retain the colour, getters return it borrowed.
//
// CALayer selectors (CGColorRef travels as a pointer; opacity is a float, as on the phone):
//   - (CGColorRef)backgroundColor, setBackgroundColor:(CGColorRef)
//   - (CGColorRef)borderColor, setBorderColor:(CGColorRef), (double)borderWidth, setBorderWidth:(double)
//   - (double)cornerRadius, setCornerRadius:(double), (BOOL)masksToBounds, setMasksToBounds:(BOOL)
//   - (float)opacity, setOpacity:(float), (BOOL)hidden, (BOOL)isHidden, setHidden:(BOOL)
//   - (id)compositingFilter, setCompositingFilter:(id)   any object that answers `description`:
//                                                        a CAFilter or a filter name string
//   - (CGRect)frame, setFrame:(CGRect), (CGRect)bounds, (id)delegate (the owning view, weak)
//   - (id)sublayers (NSArray), addSublayer:(id), removeFromSuperlayer, (id)superlayer
// CAShapeLayer adds:
//   - (CGColorRef)strokeColor, setStrokeColor:   nil by default
//   - (CGColorRef)fillColor, setFillColor:       opaque black by default, as on the phone
//   - (double)lineWidth (1), strokeStart (0), strokeEnd (1)
// CAFilter: + (id)filterWithType:(NSString), + (id)filterWithName:(NSString); (id)name, (id)description
// answer the type, e.g. "plusD" for the plus-darker filter.
class CALayer : public NSObject {
public:
    static Class class_();
    ~CALayer() override;

    void setBackgroundColor(CGColorRef color);
    void setBorderColor(CGColorRef color);

    CGRect frame{};
    CGColorRef backgroundColor = nullptr;  // owned
    CGColorRef borderColor = nullptr;      // owned
    double borderWidth = 0;
    double cornerRadius = 0;
    bool masksToBounds = false;
    float opacity = 1.0f;
    bool hidden = false;
    objc::Strong<objc_object> compositingFilter;
    UIView* delegate = nullptr;  // weak: the view owns its layer
    CALayer* superlayer = nullptr;  // weak
    std::vector<objc::Strong<CALayer>> sublayers;
};

class CAShapeLayer : public CALayer {
public:
    static Class class_();
    CAShapeLayer();
    ~CAShapeLayer() override;

    CGColorRef strokeColor = nullptr;  // owned
    CGColorRef fillColor = nullptr;    // owned; opaque black until set
    double lineWidth = 1;
    double strokeStart = 0;
    double strokeEnd = 1;
};

class CAFilter : public NSObject {
public:
    static Class class_();
    objc::Strong<objc_object> name;
};

// The phone's filter names for compositingFilter.
inline constexpr const char* kCAFilterPlusD = "plusD";
inline constexpr const char* kCAFilterPlusL = "plusL";
inline constexpr const char* kCAFilterMultiplyBlendMode = "multiplyBlendMode";
