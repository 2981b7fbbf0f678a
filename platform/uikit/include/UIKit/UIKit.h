// UIKit: the umbrella header of the user-interface framework.
#pragma once

#include <Foundation/Foundation.h>
#include <QuartzCore/CALayer.h>
#include <UIKit/UIAppearance.h>
#include <UIKit/UIApplication.h>
#include <UIKit/UIButton.h>
#include <UIKit/UIColor.h>
#include <UIKit/UIControl.h>
#include <UIKit/UIFont.h>
#include <UIKit/UIGeometry.h>
#include <UIKit/UIGraphics.h>
#include <UIKit/UIImage.h>
#include <UIKit/UIImageView.h>
#include <UIKit/UILabel.h>
#include <UIKit/UIResponder.h>
#include <UIKit/UIScreen.h>
#include <UIKit/UIScrollView.h>
#include <UIKit/UITableView.h>
#include <UIKit/UITableViewCell.h>
#include <UIKit/UITextField.h>
#include <UIKit/UITextInputTraits.h>
#include <UIKit/UITextView.h>
#include <UIKit/UITraitCollection.h>
#include <UIKit/UIView.h>
#include <UIKit/UIViewController.h>
#include <UIKit/UIWindow.h>
