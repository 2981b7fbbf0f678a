// UICollectionView and its family: a scroll view of cells and reusable views placed by a flow layout.
#pragma once

#include <UIKit/UIScrollView.h>

class UICollectionView;

// UICollectionViewLayout: + (id)new / - (id)init; - (id)collectionView (weak), invalidateLayout.
// UICollectionViewFlowLayout adds (types as sent):
//   - (CGSize)itemSize (50 × 50), (double)minimumLineSpacing (10), (double)minimumInteritemSpacing (10),
//     (UIEdgeInsets)sectionInset (zero), (long)scrollDirection (0 vertical, 1 horizontal), and setters.
class UICollectionViewLayout : public NSObject {
public:
    static Class class_();
    UICollectionView* collectionView = nullptr;  // weak: the collection view owns its layout
};

class UICollectionViewFlowLayout : public UICollectionViewLayout {
public:
    static Class class_();
    CGSize itemSize{50, 50};
    double minimumLineSpacing = 10;
    double minimumInteritemSpacing = 10;
    UIEdgeInsets sectionInset{};
    long scrollDirection = 0;
};

// UICollectionView selectors:
//   - initWithFrame:(CGRect)collectionViewLayout:(id)   initWithFrame: uses a new flow layout
//   - (id)collectionViewLayout, setCollectionViewLayout:(id)   nil is ignored, as the phone refuses it
//   - (id)backgroundView, setBackgroundView:(id)   kept behind every other subview, filling the bounds
//   - (id)dataSource, setDataSource:(id) (retained), (BOOL)allowsSelection, setAllowsSelection:
//   - (id)visibleCells   the UICollectionViewCell subviews, in order
//   - reloadData        lays the content out again
//   - layoutSubviews    places the reusable views that are its subviews, in subview order, as a
//        vertical flow layout does: cells in rows of itemSize separated by the spacings inside the
//        section inset; any other reusable view (a header) takes a full row of its own height.
//        Sets contentSize. Other layouts, and the horizontal direction, leave frames alone.
class UICollectionView : public UIScrollView {
public:
    static Class class_();
    ~UICollectionView() override;

    objc::Strong<UICollectionViewLayout> layout;
    objc::Strong<UIView> backgroundView;
    objc::Strong<objc_object> dataSource;
    bool allowsSelection = true;
};

// UICollectionReusableView: - (id)reuseIdentifier, prepareForReuse (stock: nothing).
class UICollectionReusableView : public UIView {
public:
    static Class class_();
    objc::Strong<objc_object> reuseIdentifier;
};

// UICollectionViewCell selectors:
//   - (id)contentView   made at init, fills the cell; put content here
//   - (id)backgroundView, setBackgroundView:, (id)selectedBackgroundView, setSelectedBackgroundView:
//        shown below the content view; the selected one only while selected or highlighted
//   - (BOOL)isSelected, setSelected:(BOOL), (BOOL)isHighlighted, setHighlighted:(BOOL)
class UICollectionViewCell : public UICollectionReusableView {
public:
    static Class class_();

    objc::Strong<UIView> contentView;
    objc::Strong<UIView> backgroundView;
    objc::Strong<UIView> selectedBackgroundView;
    bool selected = false;
    bool highlighted = false;
};

// UICollectionViewScrollDirection
constexpr long UICollectionViewScrollDirectionVertical = 0;
constexpr long UICollectionViewScrollDirectionHorizontal = 1;
