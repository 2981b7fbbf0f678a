// UITableViewCell: a row view with a content view, labels, an image view and selection backgrounds.
#pragma once

#include <UIKit/UIImageView.h>
#include <UIKit/UILabel.h>
#include <UIKit/UIView.h>

// Selectors:
//   - initWithStyle:(long)reuseIdentifier:(id)   (initWithFrame: uses style 0); the content view,
//     a UITableViewCellContentView, exists from the start
//   - (id)contentView, (id)textLabel, (id)detailTextLabel, (id)imageView   labels and the image
//     view are made on first use, inside the content view
//   - (id)backgroundView, setBackgroundView:, (id)selectedBackgroundView, setSelectedBackgroundView:
//   - (BOOL)isSelected, setSelected:(BOOL), setSelected:(BOOL)animated:(BOOL)
//        A selected cell with a selection style other than none shows its selected background
//        view, or, without one, a UITableViewCellSelectedBackground sent setSelectionTintColor:
//        with the default selection grey (217/255); both sit below the content view.
//   - (BOOL)isHighlighted, setHighlighted:(BOOL), setHighlighted:animated:
//   - (long)selectionStyle (3 default, 0 none), (long)accessoryType, (id)reuseIdentifier
//   - layoutSubviews   fills the cell with its content and background views and, inside a
//     UITableView, keeps a _UITableViewCellSeparatorView along its bottom edge, coloured with the
//     table's separatorColor, given the table's separatorEffect, and hidden when the table's
//     separatorStyle is none. The renderer draws a separator from what its own getters answer
class UITableViewCell : public UIView {
public:
    static Class class_();

    long style = 0;
    objc::Strong<objc_object> reuseIdentifier;
    objc::Strong<UIView> contentView;
    objc::Strong<UILabel> textLabel;
    objc::Strong<UILabel> detailTextLabel;
    objc::Strong<UIImageView> imageView;
    objc::Strong<UIView> backgroundView;
    objc::Strong<UIView> selectedBackgroundView;
    objc::Strong<UIView> shownSelectionView;  // the view shown while selected
    objc::Strong<UIView> separatorView;
    bool selected = false;
    bool highlighted = false;
    long selectionStyle = 3;
    long accessoryType = 0;
};
