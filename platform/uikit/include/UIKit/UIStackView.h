// UIStackView: a view that lines up its arranged subviews along one axis.
#pragma once

#include <UIKit/UIView.h>

#include <vector>

// Selectors (types as sent):
//   - initWithArrangedSubviews:(id NSArray)
//   - (id)arrangedSubviews, addArrangedSubview:(id), insertArrangedSubview:(id)atIndex:(unsigned long),
//     removeArrangedSubview:(id)   adding also makes the view a subview; removing leaves it a
//     subview, as on the phone; a view removed from the stack's subviews leaves the arranged list
//   - (long)axis (0 horizontal, 1 vertical), (long)distribution, (long)alignment, (double)spacing
//     and their setters
//   - layoutSubviews   places the visible arranged views one after another along the axis,
//        `spacing` apart, each at its natural size: its intrinsicContentSize, or where that has
//        no metric, the size it had when it was arranged. Fill: natural lengths, the last view
//        taking the rest; fill equally: equal lengths. Across the axis, alignment fill stretches
//        to the stack's size; any other alignment centres the view at its natural size.
class UIStackView : public UIView {
public:
    static Class class_();

    struct Arranged {
        objc::Strong<UIView> view;
        CGSize sizeWhenArranged;
    };
    std::vector<Arranged> arrangedSubviews;
    long axis = 0;
    long distribution = 0;
    long alignment = 0;
    double spacing = 0;
};

// UILayoutConstraintAxis, UIStackViewDistribution and UIStackViewAlignment values.
constexpr long UILayoutConstraintAxisHorizontal = 0;
constexpr long UILayoutConstraintAxisVertical = 1;
constexpr long UIStackViewDistributionFill = 0;
constexpr long UIStackViewDistributionFillEqually = 1;
constexpr long UIStackViewAlignmentFill = 0;
constexpr long UIStackViewAlignmentCenter = 3;
