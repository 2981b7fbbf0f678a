// UICollectionView, its flow layout, reusable views and cells.
#include "Collections.h"
#include "Registration.h"

#include <UIKit/UICollectionView.h>

#include <algorithm>

namespace {

Class gLayout = nullptr;
Class gFlowLayout = nullptr;
Class gCollectionView = nullptr;
Class gReusableView = nullptr;
Class gCell = nullptr;

objc::Strong<UICollectionViewLayout> newFlowLayout() {
    return objc::adopt(static_cast<UICollectionViewLayout*>(msg<id>(msg<id>(gFlowLayout, sel<"alloc">()), sel<"init">())));
}

void setLayout(UICollectionView* view, UICollectionViewLayout* layout) {
    if (!layout || layout == view->layout.get()) return;
    if (view->layout && view->layout->collectionView == view) view->layout->collectionView = nullptr;
    view->layout = objc::retain(layout);
    layout->collectionView = view;
    view->needsLayout = true;
}

// Places reusable views section by section: a view that is not a cell (a header) closes the
// section before it and takes a full row; cells fill rows inside the section inset.
class FlowPlacement {
public:
    FlowPlacement(const UICollectionViewFlowLayout& layout, double width) : layout_(layout), width_(width) {}

    void placeCell(UIView* cell) {
        if (!sectionOpen_) openSection();
        CGSize size = layout_.itemSize;
        if (rowHasItems_ && x_ + size.width > width_ - layout_.sectionInset.right) {
            y_ += rowHeight_ + layout_.minimumLineSpacing;
            x_ = layout_.sectionInset.left;
            rowHeight_ = 0;
            rowHasItems_ = false;
        }
        msg<void>(cell, sel<"setFrame:">(), CGRect{{x_, y_}, size});
        x_ += size.width + layout_.minimumInteritemSpacing;
        rowHeight_ = std::max(rowHeight_, size.height);
        rowHasItems_ = true;
    }

    void placeSupplementary(UIView* view) {
        if (sectionOpen_) closeSection();
        double height = view->frame.size.height;
        msg<void>(view, sel<"setFrame:">(), CGRect{{0, y_}, {width_, height}});
        y_ += height;
    }

    double finish() {
        if (sectionOpen_) closeSection();
        return y_;
    }

private:
    void openSection() {
        y_ += layout_.sectionInset.top;
        x_ = layout_.sectionInset.left;
        rowHeight_ = 0;
        rowHasItems_ = false;
        sectionOpen_ = true;
    }

    void closeSection() {
        if (rowHasItems_) y_ += rowHeight_;
        y_ += layout_.sectionInset.bottom;
        sectionOpen_ = false;
    }

    const UICollectionViewFlowLayout& layout_;
    double width_;
    double x_ = 0, y_ = 0, rowHeight_ = 0;
    bool rowHasItems_ = false, sectionOpen_ = false;
};

void layoutCollection(UICollectionView* self) {
    if (self->backgroundView) msg<void>(self->backgroundView.get(), sel<"setFrame:">(), CGRect{self->boundsOrigin, self->frame.size});
    if (!object_isKindOfClass(self->layout.get(), gFlowLayout)) return;
    auto* flow = static_cast<UICollectionViewFlowLayout*>(self->layout.get());
    if (flow->scrollDirection != UICollectionViewScrollDirectionVertical) return;
    FlowPlacement placement(*flow, self->frame.size.width);
    auto snapshot = self->subviews;
    for (auto& sub : snapshot) {
        if (sub.get() == self->backgroundView.get() || !object_isKindOfClass(sub.get(), gReusableView)) continue;
        if (object_isKindOfClass(sub.get(), gCell)) placement.placeCell(sub);
        else placement.placeSupplementary(sub);
    }
    self->contentSize = {self->frame.size.width, placement.finish()};
}

// The selected background shows while the cell is selected or highlighted, between the
// background view and the content view.
void updateCellBackgrounds(UICollectionViewCell* cell) {
    UIView* selected = cell->selectedBackgroundView.get();
    if (!selected) return;
    bool show = cell->selected || cell->highlighted;
    if (!show) {
        if (selected->superview == cell) msg<void>(selected, sel<"removeFromSuperview">());
        return;
    }
    if (selected->superview == cell) return;
    msg<void>(selected, sel<"setFrame:">(), CGRect{{0, 0}, cell->frame.size});
    long index = cell->backgroundView && cell->backgroundView->superview == cell ? 1 : 0;
    msg<void>(cell, sel<"insertSubview:atIndex:">(), static_cast<id>(selected), index);
}

void replaceCellBackground(UICollectionViewCell* cell, objc::Strong<UIView>& slot, UIView* view) {
    if (slot.get() == view) return;
    if (slot && slot->superview == cell) msg<void>(slot.get(), sel<"removeFromSuperview">());
    slot = objc::retain(view);
}

}  // namespace

Class UICollectionViewLayout::class_() { return gLayout; }
Class UICollectionViewFlowLayout::class_() { return gFlowLayout; }
Class UICollectionView::class_() { return gCollectionView; }
UICollectionView::~UICollectionView() {
    if (layout && layout->collectionView == this) layout->collectionView = nullptr;
}
Class UICollectionReusableView::class_() { return gReusableView; }
Class UICollectionViewCell::class_() { return gCell; }

namespace platform::uikit {

void registerUICollectionView() {
    using objc::ClassBuilder;
    gLayout = ClassBuilder<UICollectionViewLayout>("UICollectionViewLayout", NSObject::class_())
                  .method(sel<"collectionView">(), [](UICollectionViewLayout* self, SEL) -> id { return self->collectionView; })
                  .method(sel<"invalidateLayout">(),
                          [](UICollectionViewLayout* self, SEL) {
                              if (self->collectionView) self->collectionView->needsLayout = true;
                          })
                  .registerClass();

    gFlowLayout =
        ClassBuilder<UICollectionViewFlowLayout>("UICollectionViewFlowLayout", gLayout)
            .method(sel<"itemSize">(), [](UICollectionViewFlowLayout* self, SEL) { return self->itemSize; })
            .method(sel<"setItemSize:">(), [](UICollectionViewFlowLayout* self, SEL, CGSize size) { self->itemSize = size; })
            .method(sel<"minimumLineSpacing">(), [](UICollectionViewFlowLayout* self, SEL) { return self->minimumLineSpacing; })
            .method(sel<"setMinimumLineSpacing:">(),
                    [](UICollectionViewFlowLayout* self, SEL, double spacing) { self->minimumLineSpacing = spacing; })
            .method(sel<"minimumInteritemSpacing">(), [](UICollectionViewFlowLayout* self, SEL) { return self->minimumInteritemSpacing; })
            .method(sel<"setMinimumInteritemSpacing:">(),
                    [](UICollectionViewFlowLayout* self, SEL, double spacing) { self->minimumInteritemSpacing = spacing; })
            .method(sel<"sectionInset">(), [](UICollectionViewFlowLayout* self, SEL) { return self->sectionInset; })
            .method(sel<"setSectionInset:">(),
                    [](UICollectionViewFlowLayout* self, SEL, UIEdgeInsets inset) { self->sectionInset = inset; })
            .method(sel<"scrollDirection">(), [](UICollectionViewFlowLayout* self, SEL) { return self->scrollDirection; })
            .method(sel<"setScrollDirection:">(),
                    [](UICollectionViewFlowLayout* self, SEL, long direction) { self->scrollDirection = direction; })
            .registerClass();

    gCollectionView =
        ClassBuilder<UICollectionView>("UICollectionView", UIScrollView::class_())
            .method(sel<"initWithFrame:collectionViewLayout:">(),
                    [](UICollectionView* self, SEL, CGRect frame, UICollectionViewLayout* layout) {
                        setLayout(self, layout ? layout : newFlowLayout().get());
                        return callSuper<id>(UIScrollView::class_(), self, sel<"initWithFrame:">(), frame);
                    })
            .method(sel<"initWithFrame:">(),
                    [](UICollectionView* self, SEL, CGRect frame) {
                        return msg<id>(self, sel<"initWithFrame:collectionViewLayout:">(), frame, static_cast<id>(nil));
                    })
            .method(sel<"collectionViewLayout">(), [](UICollectionView* self, SEL) -> id { return self->layout.get(); })
            .method(sel<"setCollectionViewLayout:">(),
                    [](UICollectionView* self, SEL, UICollectionViewLayout* layout) { setLayout(self, layout); })
            .method(sel<"backgroundView">(), [](UICollectionView* self, SEL) -> id { return self->backgroundView.get(); })
            .method(sel<"setBackgroundView:">(),
                    [](UICollectionView* self, SEL, UIView* view) {
                        if (self->backgroundView.get() == view) return;
                        if (self->backgroundView && self->backgroundView->superview == self)
                            msg<void>(self->backgroundView.get(), sel<"removeFromSuperview">());
                        self->backgroundView = objc::retain(view);
                        if (view) msg<void>(self, sel<"insertSubview:atIndex:">(), static_cast<id>(view), 0L);
                    })
            .method(sel<"dataSource">(), [](UICollectionView* self, SEL) -> id { return self->dataSource.get(); })
            .method(sel<"setDataSource:">(), [](UICollectionView* self, SEL, id source) { self->dataSource = objc::retain(source); })
            .method(sel<"allowsSelection">(), [](UICollectionView* self, SEL) { return self->allowsSelection; })
            .method(sel<"setAllowsSelection:">(), [](UICollectionView* self, SEL, BOOL allows) { self->allowsSelection = allows; })
            .method(sel<"visibleCells">(),
                    [](UICollectionView* self, SEL) -> id {
                        std::vector<id> cells;
                        for (auto& sub : self->subviews)
                            if (object_isKindOfClass(sub.get(), gCell)) cells.push_back(sub.get());
                        return arrayWithObjects(cells);
                    })
            .method(sel<"reloadData">(), [](UICollectionView* self, SEL) { self->needsLayout = true; })
            .method(sel<"layoutSubviews">(), [](UICollectionView* self, SEL) { layoutCollection(self); })
            .registerClass();

    gReusableView = ClassBuilder<UICollectionReusableView>("UICollectionReusableView", UIView::class_())
                        .method(sel<"reuseIdentifier">(), [](UICollectionReusableView* self, SEL) -> id { return self->reuseIdentifier.get(); })
                        .method(sel<"prepareForReuse">(), [](UICollectionReusableView*, SEL) {})
                        .registerClass();

    gCell = ClassBuilder<UICollectionViewCell>("UICollectionViewCell", gReusableView)
                .method(sel<"initWithFrame:">(),
                        [](UICollectionViewCell* self, SEL, CGRect frame) {
                            self->contentView = newView<UIView>(UIView::class_(), CGRect{{0, 0}, frame.size});
                            id cell = callSuper<id>(gReusableView, self, sel<"initWithFrame:">(), frame);
                            msg<void>(cell, sel<"addSubview:">(), static_cast<id>(self->contentView.get()));
                            return cell;
                        })
                .method(sel<"contentView">(), [](UICollectionViewCell* self, SEL) -> id { return self->contentView.get(); })
                .method(sel<"backgroundView">(), [](UICollectionViewCell* self, SEL) -> id { return self->backgroundView.get(); })
                .method(sel<"setBackgroundView:">(),
                        [](UICollectionViewCell* self, SEL, UIView* view) {
                            replaceCellBackground(self, self->backgroundView, view);
                            if (view) {
                                msg<void>(view, sel<"setFrame:">(), CGRect{{0, 0}, self->frame.size});
                                msg<void>(self, sel<"insertSubview:atIndex:">(), static_cast<id>(view), 0L);
                            }
                        })
                .method(sel<"selectedBackgroundView">(),
                        [](UICollectionViewCell* self, SEL) -> id { return self->selectedBackgroundView.get(); })
                .method(sel<"setSelectedBackgroundView:">(),
                        [](UICollectionViewCell* self, SEL, UIView* view) {
                            replaceCellBackground(self, self->selectedBackgroundView, view);
                            updateCellBackgrounds(self);
                        })
                .method(sel<"isSelected">(), [](UICollectionViewCell* self, SEL) { return self->selected; })
                .method(sel<"setSelected:">(),
                        [](UICollectionViewCell* self, SEL, BOOL selected) {
                            self->selected = selected;
                            updateCellBackgrounds(self);
                        })
                .method(sel<"isHighlighted">(), [](UICollectionViewCell* self, SEL) { return self->highlighted; })
                .method(sel<"setHighlighted:">(),
                        [](UICollectionViewCell* self, SEL, BOOL highlighted) {
                            self->highlighted = highlighted;
                            updateCellBackgrounds(self);
                        })
                .method(sel<"layoutSubviews">(),
                        [](UICollectionViewCell* self, SEL) {
                            CGRect bounds{{0, 0}, self->frame.size};
                            for (UIView* view : {self->backgroundView.get(), self->selectedBackgroundView.get(), self->contentView.get()})
                                if (view && view->superview == self) msg<void>(view, sel<"setFrame:">(), bounds);
                        })
                .registerClass();
}

}  // namespace platform::uikit
