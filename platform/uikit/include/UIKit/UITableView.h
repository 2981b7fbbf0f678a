// UITableView: a scroll view of rows with separators between them.
#pragma once

#include <UIKit/UIScrollView.h>

// Selectors:
//   - initWithFrame:(CGRect)style:(long)    0 plain, 1 grouped; initWithFrame: is plain
//   - (long)style
//   - (id)separatorColor, setSeparatorColor:(id)   (200, 199, 204)/255 by default
//   - (long)separatorStyle, setSeparatorStyle:(long)   0 none, 1 single line (the default)
//   - (id)separatorEffect, setSeparatorEffect:(id UIVisualEffect)   nil by default
//   - (UIEdgeInsets)separatorInset, setSeparatorInset:, (double)rowHeight (44), setRowHeight:
//   - (id)backgroundView, setBackgroundView:, (id)tableHeaderView, setTableHeaderView:,
//     (id)tableFooterView, setTableFooterView:   header and footer views become subviews
//   - (id)dataSource, setDataSource:, (id)delegate (retained)
// Cells placed in a table draw their separators from the table's separatorColor, separatorStyle
// and separatorEffect, asked by message at their layout; the effect reaches each separator view
// through its setSeparatorEffect:.
class UITableView : public UIScrollView {
public:
    static Class class_();
    UITableView();

    long style = 0;
    objc::Strong<UIColor> separatorColor;
    objc::Strong<objc_object> separatorEffect;
    long separatorStyle = 1;
    UIEdgeInsets separatorInset{0, 15, 0, 0};
    double rowHeight = 44;
    objc::Strong<UIView> backgroundView;
    objc::Strong<UIView> tableHeaderView;
    objc::Strong<UIView> tableFooterView;
    objc::Strong<objc_object> dataSource;
};

// UITableViewStyle and UITableViewCellSeparatorStyle
constexpr long UITableViewStylePlain = 0;
constexpr long UITableViewStyleGrouped = 1;
constexpr long UITableViewCellSeparatorStyleNone = 0;
constexpr long UITableViewCellSeparatorStyleSingleLine = 1;
