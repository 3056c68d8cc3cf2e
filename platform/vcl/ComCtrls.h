// Tool bars and buttons, track bars, up-down buttons, image lists, page scrollers and page
// controls. A check-style tool button flips Down on a user's click and then runs OnClick;
// setting Down in code runs nothing; grouped check buttons (adjacent, Grouped) release each
// other, and one stays down unless AllowAllUp. TTrackBar's OnChange runs whenever Position
// changes, also when set in code.
#pragma once

#include <memory>
#include <vector>

#include "platform/vcl/Controls.h"

class TPopupMenu;
class TMenuItem;

class TImageList : public TComponent {
 public:
  explicit TImageList(TComponent* AOwner);
  int Width = 16;
  int Height = 16;
  int Count() const { return static_cast<int>(FImages.size()); }
  // Adds a picture; pixels where the mask is white are transparent. Returns its index.
  int Add(TBitmap* image, TBitmap* mask);
  // Adds a picture whose pixels of the colour are transparent.
  int AddMasked(TBitmap* image, TColor maskColor);
  void Clear() { FImages.clear(); }
  // A 32-bit copy of image `index` (transparent pixels have alpha 0); false for a bad index.
  bool GetBitmap(int index, TBitmap* bitmap) const;
  void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true) const;

 private:
  std::vector<std::shared_ptr<TBitmap>> FImages;
};

enum TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };

class TToolBar;

class TToolButton : public TControl {
 public:
  explicit TToolButton(TComponent* AOwner);
  void SetParent(TWinControl* parent) override;
  TToolButtonStyle Style() const { return FStyle; }
  void SetStyle(TToolButtonStyle style);
  bool Down() const { return FDown; }
  // Sets the state without running OnClick; in a group it releases the others.
  void SetDown(bool down);
  bool Grouped = false;
  bool AllowAllUp = false;
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int index);
  void SetCaption(const System::WideString& caption) override;
  TPopupMenu* DropdownMenu = nullptr;
  // A user's click: a check button flips Down (in a group: goes down and releases the
  // others, or stays down unless AllowAllUp), then OnClick runs.
  void Click() override;
  void UpdateLook();

 private:
  TToolBar* Bar() const;
  std::vector<TToolButton*> Group();
  TToolButtonStyle FStyle = tbsButton;
  bool FDown = false;
  int FImageIndex = -1;
};
using TTntToolButton = TToolButton;

class TToolBar : public TWinControl {
 public:
  explicit TToolBar(TComponent* AOwner);
  TImageList* Images = nullptr;
  int ButtonWidth = 23;
  int ButtonHeight = 22;
  bool ShowCaptions = false;
  bool Flat = true;
  int ButtonCount() const;
  TToolButton* Buttons(int index) const;
  // Buttons sit side by side from the left in the order they were added.
  void AlignControls() override;
};

class TSpeedButton : public TControl {
 public:
  explicit TSpeedButton(TComponent* AOwner);
  // Buttons of the same parent and GroupIndex (not 0) release each other.
  int GroupIndex = 0;
  bool AllowAllUp = false;
  bool Flat = false;
  bool Down() const { return FDown; }
  void SetDown(bool down);
  TBitmap* Glyph() { return &FGlyph; }
  void GlyphChanged();
  int NumGlyphs = 1;
  void SetCaption(const System::WideString& caption) override;
  void Click() override;

 private:
  void UpdateLook();
  bool FDown = false;
  TBitmap FGlyph;
};
using TTntSpeedButton = TSpeedButton;

enum TTrackBarOrientation { trHorizontal, trVertical };

class TTrackBar : public TWinControl {
 public:
  explicit TTrackBar(TComponent* AOwner);
  int Min() const { return FMin; }
  int Max() const { return FMax; }
  int Position() const { return FPosition; }
  void SetMin(int v);
  void SetMax(int v);
  // Clamped to Min..Max; OnChange runs when the value changes.
  void SetPosition(int v);
  void SetOrientation(TTrackBarOrientation orientation);
  int Frequency = 1;
  int PageSize = 2;
  TNotifyEvent OnChange;

 private:
  void Changed(int value);
  int FMin = 0, FMax = 10, FPosition = 0;
};

enum TUDBtnType { btNext, btPrev };
using TUDClickEvent = std::function<void(TObject* Sender, TUDBtnType Button)>;

class TUpDown : public TWinControl {
 public:
  explicit TUpDown(TComponent* AOwner);
  int Min = 0, Max = 100, Increment = 1;
  int Position() const { return FPosition; }
  void SetPosition(int v) { FPosition = std::clamp(v, Min, Max); }
  bool Wrap = false;
  TUDClickEvent OnClick;
  // A press of one arrow: moves Position by Increment, then OnClick.
  void Press(TUDBtnType button);

 private:
  int FPosition = 0;
};

class TPageScroller : public TWinControl {
 public:
  explicit TPageScroller(TComponent* AOwner);
  // The control that scrolls (usually a tool bar).
  void SetControl(TControl* control);
  TControl* Control() const { return FControl; }

 private:
  QWidget* ChildHost() const override;
  TControl* FControl = nullptr;
};

class TTabSheet;

class TPageControl : public TWinControl {
 public:
  explicit TPageControl(TComponent* AOwner);
  int PageCount() const { return static_cast<int>(FPages.size()); }
  TTabSheet* Pages(int index) const { return FPages.at(static_cast<size_t>(index)); }
  TTabSheet* ActivePage() const { return FActive; }
  void SetActivePage(TTabSheet* page);
  void AlignControls() override;

 private:
  friend class TTabSheet;
  std::vector<TTabSheet*> FPages;
  TTabSheet* FActive = nullptr;
};

class TTabSheet : public TWinControl {
 public:
  explicit TTabSheet(TComponent* AOwner);
  ~TTabSheet() override;
  void SetPageControl(TPageControl* control);
  bool TabVisible = true;

 private:
  TPageControl* FPageControl = nullptr;
};
