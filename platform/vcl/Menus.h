// Menus: TMenuItem trees under a TPopupMenu or TMainMenu, with the VCL's rules:
// - Click on a disabled item does nothing; AutoCheck flips Checked before OnClick runs.
// - Checking a RadioItem clears Checked on its RadioItem siblings of the same GroupIndex,
//   only while it sits in a menu (an item without a parent clears nothing).
// - An item that sits in a menu cannot be inserted into another (EMenuError); destroying an
//   item takes it out of its menu and destroys its own sub-items.
// - Caption "-" is a divider; "&" marks the accelerator, "&&" is "&".
// - ShortCut holds key and modifiers; its text is shown beside the caption.
// - Owner drawing: when the menu's OwnerDraw is on, OnMeasureItem sizes each item and
//   OnAdvancedDrawItem paints it with the odSelected, odGrayed, odDisabled, odChecked states.
// The Qt menu is built from the tree each time the menu pops up.
#pragma once

#include <stdexcept>
#include <vector>

#include "platform/vcl/Classes.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/ShortCuts.h"

class QMenu;
class QWidget;
class TControl;
class TImageList;
class TMenu;

class EMenuError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum TOwnerDrawStateBits : uint16_t { odSelected = 1, odGrayed = 2, odDisabled = 4, odChecked = 8, odFocused = 16, odDefault = 32 };
using TOwnerDrawState = uint16_t;

using TMenuMeasureItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height)>;
using TAdvancedMenuDrawItemEvent =
    std::function<void(TObject* Sender, TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State)>;

class TMenuItem : public TComponent {
 public:
  explicit TMenuItem(TComponent* AOwner);
  ~TMenuItem() override;

  const System::WideString& Caption() const { return FCaption; }
  void SetCaption(const System::WideString& caption) { FCaption = caption; }
  bool IsLine() const { return FCaption == L"-"; }
  bool Checked() const { return FChecked; }
  void SetChecked(bool checked);
  bool Enabled = true;
  bool Visible = true;
  bool RadioItem = false;
  bool AutoCheck = false;
  bool Default = false;
  uint8_t GroupIndex = 0;
  TShortCut ShortCut = 0;
  System::WideString Hint;
  int ImageIndex = -1;
  // The item's picture (assigning copies it into the item).
  TBitmap* Bitmap();
  void SetBitmap(TBitmap* bitmap);
  bool HasBitmap() const { return FBitmap != nullptr; }

  TNotifyEvent OnClick;
  TMenuMeasureItemEvent OnMeasureItem;
  TAdvancedMenuDrawItemEvent OnAdvancedDrawItem;

  // Sub-items.
  int Count() const { return static_cast<int>(FItems.size()); }
  TMenuItem* Items(int index) const { return FItems.at(static_cast<size_t>(index)); }
  void Insert(int index, TMenuItem* item);
  void Add(TMenuItem* item) { Insert(Count(), item); }
  void Delete(int index);  // takes the item out without destroying it
  void Remove(TMenuItem* item);
  void Clear();  // destroys every sub-item
  int IndexOf(const TMenuItem* item) const;
  TMenuItem* Parent() const { return FParent; }
  int MenuIndex() const { return FParent ? FParent->IndexOf(this) : -1; }
  // The menu component whose tree holds this item, or null.
  TMenu* GetParentMenu() const;

  // A user's click: nothing when disabled; AutoCheck flips Checked; then OnClick.
  virtual void Click();

 private:
  friend class TMenu;
  System::WideString FCaption;
  bool FChecked = false;
  std::vector<TMenuItem*> FItems;
  TMenuItem* FParent = nullptr;
  TMenu* FMenu = nullptr;  // set on the root item of a menu
  std::unique_ptr<TBitmap> FBitmap;
};
using TTntMenuItem = TMenuItem;

class TMenu : public TComponent {
 public:
  explicit TMenu(TComponent* AOwner);
  ~TMenu() override;
  TMenuItem* Items() const { return FItems; }
  bool OwnerDraw = false;
  TImageList* Images = nullptr;
  bool AutoHotkeys = true;
  // Builds the Qt menu for the tree (used when the menu shows).
  QMenu* BuildQMenu(TMenuItem* root, QWidget* parent);

 private:
  TMenuItem* FItems;
};

enum TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu : public TMenu {
 public:
  explicit TPopupMenu(TComponent* AOwner);
  ~TPopupMenu() override;
  // Shows the menu at screen coordinates and returns; the items' clicks run from the event loop.
  void Popup(int x, int y);
  TNotifyEvent OnPopup;
  TControl* PopupComponent = nullptr;
  TPopupAlignment Alignment = paLeft;
  // The Qt menu on screen, or null.
  QMenu* Shown() const { return FShown; }
  // The screen rectangle of an item in the shown menu or one of its open submenus.
  bool ShownItemRect(const TMenuItem* item, TRect& rect) const;
  // Opens the submenu of a shown item, as hovering it does.
  bool OpenShownSubmenu(const TMenuItem* item);
  // Chooses a shown item, as a click on it does.
  void ClickShownItem(const TMenuItem* item);
  // The shown menu and its open submenus.
  std::vector<QMenu*> ShownMenus() const;

 private:
  QMenu* FShown = nullptr;
};
using TTntPopupMenu = TPopupMenu;

class TMainMenu : public TMenu {
 public:
  using TMenu::TMenu;
};
using TTntMainMenu = TMainMenu;

// The menu text shown for a caption: "&" marks the accelerator (Qt uses the same sign).
System::WideString StripHotkey(const System::WideString& caption);
