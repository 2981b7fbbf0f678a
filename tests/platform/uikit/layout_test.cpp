// Views that place their subviews: stack views along an axis, collection views in flow rows.
#include "new_view.h"

#include <UIKit/UIKit.h>

#include <gtest/gtest.h>

namespace {

class LayoutTest : public ::testing::Test {
protected:
    objc::AutoreleasePool pool_;

    static CGRect frameOf(id view) { return static_cast<UIView*>(view)->frame; }
};

TEST_F(LayoutTest, StackViewFillsAlongTheAxisAndSkipsHiddenViews) {
    auto stack = newView<UIStackView>(UIStackView::class_(), {{0, 0}, {100, 300}});
    msg<void>(stack.get(), sel<"setAxis:">(), UILayoutConstraintAxisVertical);
    msg<void>(stack.get(), sel<"setSpacing:">(), 10.0);
    auto a = newView(UIView::class_(), {{0, 0}, {50, 40}}), hidden = newView(UIView::class_(), {{0, 0}, {50, 40}}),
         b = newView(UIView::class_(), {{0, 0}, {50, 40}});
    for (UIView* v : {a.get(), hidden.get(), b.get()}) msg<void>(stack.get(), sel<"addArrangedSubview:">(), static_cast<id>(v));
    msg<void>(hidden.get(), sel<"setHidden:">(), YES);
    platform::layoutTree(stack);
    EXPECT_EQ(frameOf(a), (CGRect{{0, 0}, {100, 40}}));
    EXPECT_EQ(frameOf(b), (CGRect{{0, 50}, {100, 250}}));  // the last one takes the rest

    msg<void>(stack.get(), sel<"setDistribution:">(), UIStackViewDistributionFillEqually);
    msg<void>(stack.get(), sel<"setAlignment:">(), UIStackViewAlignmentCenter);
    platform::layoutTree(stack);
    EXPECT_EQ(frameOf(a), (CGRect{{25, 0}, {50, 145}}));
    EXPECT_EQ(frameOf(b), (CGRect{{25, 155}, {50, 145}}));
}

TEST_F(LayoutTest, ArrangedViewsFollowTheStacksSubviews) {
    auto stack = newView<UIStackView>(UIStackView::class_());
    auto a = newView(UIView::class_()), b = newView(UIView::class_()), elsewhere = newView(UIView::class_());
    msg<void>(stack.get(), sel<"addArrangedSubview:">(), static_cast<id>(a.get()));
    msg<void>(stack.get(), sel<"insertArrangedSubview:atIndex:">(), static_cast<id>(b.get()), 0UL);
    EXPECT_EQ(stack->arrangedSubviews.front().view.get(), b.get());
    msg<void>(stack.get(), sel<"removeArrangedSubview:">(), static_cast<id>(b.get()));
    EXPECT_EQ(stack->arrangedSubviews.size(), 1u);
    EXPECT_EQ(msg<id>(b.get(), sel<"superview">()), stack.get());  // still a subview
    msg<void>(elsewhere.get(), sel<"addSubview:">(), static_cast<id>(a.get()));
    EXPECT_TRUE(stack->arrangedSubviews.empty());  // moving it away leaves the arranged list too
}

TEST_F(LayoutTest, CollectionViewFlowsCellsInRowsUnderTheirHeaders) {
    auto collection = newView<UICollectionView>(UICollectionView::class_(), {{0, 0}, {200, 400}});
    id layout = msg<id>(collection.get(), sel<"collectionViewLayout">());
    ASSERT_TRUE(object_isKindOfClass(layout, UICollectionViewFlowLayout::class_()));
    EXPECT_EQ(msg<id>(layout, sel<"collectionView">()), collection.get());
    msg<void>(layout, sel<"setItemSize:">(), CGSize{60, 60});
    msg<void>(layout, sel<"setSectionInset:">(), UIEdgeInsets{5, 10, 5, 10});

    auto header = newView(UICollectionReusableView::class_(), {{0, 0}, {0, 30}});
    msg<void>(collection.get(), sel<"addSubview:">(), static_cast<id>(header.get()));
    std::vector<objc::Strong<UIView>> cells;
    for (int i = 0; i < 4; ++i) {
        cells.push_back(newView(UICollectionViewCell::class_()));
        msg<void>(collection.get(), sel<"addSubview:">(), static_cast<id>(cells.back().get()));
    }
    platform::layoutTree(collection);
    EXPECT_EQ(frameOf(header), (CGRect{{0, 0}, {200, 30}}));
    EXPECT_EQ(frameOf(cells[0]), (CGRect{{10, 35}, {60, 60}}));
    EXPECT_EQ(frameOf(cells[1]), (CGRect{{80, 35}, {60, 60}}));
    EXPECT_EQ(frameOf(cells[2]), (CGRect{{10, 105}, {60, 60}}));  // 150 + 60 would pass the right inset
    EXPECT_EQ(collection->contentSize, (CGSize{200, 35 + 60 + 10 + 60 + 5 + 0.0}));
    EXPECT_EQ(frameOf(msg<id>(cells[0].get(), sel<"contentView">())), (CGRect{{0, 0}, {60, 60}}));
    EXPECT_EQ(msg<unsigned long>(msg<id>(collection.get(), sel<"visibleCells">()), sel<"count">()), 4u);
}

TEST_F(LayoutTest, CellsShowTheirSelectedBackgroundWhileSelected) {
    auto cell = newView<UICollectionViewCell>(UICollectionViewCell::class_(), {{0, 0}, {50, 50}});
    auto background = newView(UIView::class_()), selected = newView(UIView::class_());
    msg<void>(cell.get(), sel<"setBackgroundView:">(), static_cast<id>(background.get()));
    msg<void>(cell.get(), sel<"setSelectedBackgroundView:">(), static_cast<id>(selected.get()));
    EXPECT_EQ(msg<id>(selected.get(), sel<"superview">()), nil);
    msg<void>(cell.get(), sel<"setSelected:">(), YES);
    ASSERT_EQ(cell->subviews.size(), 3u);
    EXPECT_EQ(cell->subviews[0].get(), background.get());
    EXPECT_EQ(cell->subviews[1].get(), selected.get());
    EXPECT_EQ(cell->subviews[2].get(), cell->contentView.get());
    msg<void>(cell.get(), sel<"setSelected:">(), NO);
    EXPECT_EQ(msg<id>(selected.get(), sel<"superview">()), nil);
}

}  // namespace
