// A popup menu model built at run time from item descriptions: check items, radio items,
// plain items and dividers, owned by the popup, painted owner-drawn by its item painter, with
// a picture set per item identifier. Clicks reach the owner through OnCheckItem, OnRadioItem
// and OnMenuItem. The menu that receives the items (AttachTo) must be owner-drawn.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/widgets/BitmapSet.h"
#include "app/widgets/ItemPainter.h"
#include "platform/vcl/Menus.h"

namespace app {

// Process-wide counters shared by every popup: unnamed items are numbered by the first
// (incremented before use), radio groups by the second (the first group is 0).
int& DynamicPopupItemCounter();
int& DynamicPopupGroupCounter();

template <class TShortCutT, class TPainter, class TItem, class TPictures, class TText>
class TsgDynamicPopup {
 public:
  TsgDynamicPopup() = default;
  virtual ~TsgDynamicPopup() = default;
  TsgDynamicPopup(const TsgDynamicPopup&) = delete;
  TsgDynamicPopup& operator=(const TsgDynamicPopup&) = delete;

  virtual void Clear() = 0;
  virtual bool AddCheckItem(const std::string& name, const TText& caption, const TText& hint, int id,
                            const TPictures* pictures, TShortCutT shortCut, bool enabled, bool clickNow) = 0;
  virtual bool AddRadioItem(const std::string& name, const TText& caption, const TText& hint, int id,
                            const TPictures* pictures, TShortCutT shortCut, bool enabled, bool clickNow,
                            uint8_t groupIndex) = 0;
  virtual bool AddMenuItem(const std::string& name, const TText& caption, const TText& hint, int id,
                           const TPictures* pictures, TShortCutT shortCut, bool enabled) = 0;
  virtual void AddDivider(const std::string& name) = 0;
  virtual int GetItemCount() const = 0;

  // The index of the first item whose component name is `name`, or -1.
  int IndexOfName(const std::string& name) const {
    for (size_t i = 0; i < items_.size(); ++i)
      if (items_[i]->Name() == name) return static_cast<int>(i);
    return -1;
  }
  TPainter& Painter() { return painter_; }
  TItem* Item(int index) const { return items_.at(static_cast<size_t>(index)).get(); }

 protected:
  std::vector<std::unique_ptr<TItem>> items_;
  TPainter painter_;
  std::map<int, std::unique_ptr<TPictures>> pictures_;
};

template <class Owner>
class TVCLDynamicPopup
    : public TsgDynamicPopup<unsigned short, TVCLItemPainter, TTntMenuItem, TVCLBitmapSet, std::wstring> {
 public:
  explicit TVCLDynamicPopup(Owner* owner) : owner_(owner) {}
  ~TVCLDynamicPopup() override { Clear(); }

  void Clear() override {
    for (auto& item : items_)
      if (item->Parent()) item->Parent()->Remove(item.get());
    items_.clear();
    pictures_.clear();
  }

  bool AddCheckItem(const std::string& name, const std::wstring& caption, const std::wstring& hint, int id,
                    const TVCLBitmapSet* pictures, unsigned short shortCut, bool enabled, bool clickNow) override {
    return Add(Kind::Check, name, caption, hint, id, pictures, shortCut, enabled, clickNow, 0);
  }
  bool AddRadioItem(const std::string& name, const std::wstring& caption, const std::wstring& hint, int id,
                    const TVCLBitmapSet* pictures, unsigned short shortCut, bool enabled, bool clickNow,
                    uint8_t groupIndex) override {
    return Add(Kind::Radio, name, caption, hint, id, pictures, shortCut, enabled, clickNow, groupIndex);
  }
  bool AddMenuItem(const std::string& name, const std::wstring& caption, const std::wstring& hint, int id,
                   const TVCLBitmapSet* pictures, unsigned short shortCut, bool enabled) override {
    return Add(Kind::Plain, name, caption, hint, id, pictures, shortCut, enabled, false, 0);
  }
  void AddDivider(const std::string& name) override {
    const std::string itemName = MakeName(name, "Divider");
    if (IndexOfName(itemName) != -1) return;
    auto item = std::make_unique<TTntMenuItem>(nullptr);
    item->SetName(itemName);
    item->SetCaption(L"-");
    item->Visible = true;
    item->OnAdvancedDrawItem = [this](TObject*, TCanvas* canvas, const TRect& rect, TOwnerDrawState) {
      painter_.DrawDivider(canvas, rect);
    };
    item->OnMeasureItem = [this](TObject*, TCanvas*, int&, int& height) { height = painter_.GetDividerHeight(); };
    items_.push_back(std::move(item));
  }
  int GetItemCount() const override { return static_cast<int>(items_.size()); }

  virtual int NextGroupIndex() { return ++DynamicPopupGroupCounter(); }
  virtual void CheckItemsWithTag(int id) {
    for (auto& item : items_) item->SetChecked(item->Tag == id);
  }
  virtual void EnableItemsAbove(int value) {
    for (auto& item : items_) item->Enabled = value < item->Tag;
  }
  virtual bool GetItemBitmap(int id, const std::string& name, TBitmap* bitmap) const {
    if (name.empty() || !bitmap) return false;
    auto it = pictures_.find(id);
    if (it == pictures_.end()) return false;
    return it->second->GetBitmap(name, bitmap);
  }
  virtual bool SetItemBitmaps(int id, const TVCLBitmapSet* pictures) {
    if (!pictures || pictures_.count(id)) return false;
    auto set = std::make_unique<TVCLBitmapSet>();
    const bool result = set->Assign(*pictures);
    pictures_[id] = std::move(set);
    return result;
  }
  // Moves every item under `parent`; the items stay the popup's.
  virtual void AttachTo(TMenuItem* parent) {
    for (auto& item : items_) {
      if (item->Parent()) item->Parent()->Remove(item.get());
      parent->Add(item.get());
    }
  }
  virtual void SetResources(iWIDGET_RESOURCES* resources) {
    if (resources) painter_.LoadColors(resources);
  }

  const TVCLBitmapSet* Pictures(int id) const {
    auto it = pictures_.find(id);
    return it == pictures_.end() ? nullptr : it->second.get();
  }

 private:
  enum class Kind { Check, Radio, Plain };

  static std::string MakeName(const std::string& name, const char* kindWord) {
    if (!name.empty()) return name;
    return kindWord + std::to_string(++DynamicPopupItemCounter());
  }

  bool Add(Kind kind, const std::string& name, const std::wstring& caption, const std::wstring& hint, int id,
           const TVCLBitmapSet* pictures, unsigned short shortCut, bool enabled, bool clickNow, uint8_t group) {
    const char* kindWord = kind == Kind::Check ? "CheckItem" : kind == Kind::Radio ? "RadioItem" : "MenuItem";
    const std::string itemName = MakeName(name, kindWord);
    if (IndexOfName(itemName) != -1) return false;
    auto owned = std::make_unique<TTntMenuItem>(nullptr);
    TTntMenuItem* item = owned.get();
    item->SetName(itemName);
    if (kind == Kind::Radio) {
      item->GroupIndex = group;
      item->RadioItem = true;
    }
    item->SetCaption(caption);
    item->Hint = hint;
    if (kind != Kind::Plain) item->AutoCheck = false;
    item->Visible = true;
    item->Enabled = enabled;
    item->OnAdvancedDrawItem = [this, kind, item](TObject*, TCanvas* canvas, const TRect& rect,
                                                  TOwnerDrawState state) { Draw(kind, item, canvas, rect, state); };
    item->OnMeasureItem = [this, item](TObject*, TCanvas* canvas, int& width, int& height) {
      Measure(item, canvas, width, height);
    };
    item->Tag = id;
    if (kind == Kind::Check) item->OnClick = [this, item](TObject*) { CheckItemClick(item); };
    if (kind == Kind::Radio) item->OnClick = [this, item](TObject*) { RadioItemClick(item); };
    if (kind == Kind::Plain) item->OnClick = [this, item](TObject*) { MenuItemClick(item); };
    if (shortCut != 0) item->ShortCut = shortCut;
    items_.push_back(std::move(owned));
    if (pictures) {
      auto set = std::make_unique<TVCLBitmapSet>();
      set->Assign(*pictures);
      pictures_[id] = std::move(set);
    }
    if (kind != Kind::Plain && clickNow) item->Click();
    return true;
  }

  static std::wstring ShortCutText(TShortCut shortCut) {
    const std::string text = ShortCutToText(shortCut);
    return std::wstring(text.begin(), text.end());
  }

  void Measure(TTntMenuItem* item, TCanvas* canvas, int& width, int& height) {
    if (TFont* font = painter_.GetFont()) canvas->Font.Assign(*font);
    width = canvas->TextWidth(item->Caption()) + painter_.GetTextMargin() + painter_.GetRightMargin();
    const int s = item->ShortCut ? canvas->TextWidth(ShortCutText(item->ShortCut)) : 0;
    painter_.FitShortcutWidth(s);
    if (item->ShortCut != 0) width += painter_.GetShortcutGap() + s;
    const int textHeight = canvas->TextHeight(item->Caption());
    if (textHeight > height) height = textHeight;
    height += 2 * painter_.GetBitmapOffset();
    if (const TVCLBitmapSet* set = Pictures(static_cast<int>(item->Tag))) {
      if (set->GetMaxHeight() > height) height = set->GetMaxHeight() + 2 * painter_.GetBitmapOffset();
      painter_.FitHeaderWidth(set->GetMaxWidth() + painter_.GetBitmapOffset());
    }
    width += painter_.GetHeaderWidth();
  }

  void Draw(Kind kind, TTntMenuItem* item, TCanvas* canvas, const TRect& rect, TOwnerDrawState state) {
    painter_.DrawBackground(canvas, rect, state);
    const TVCLBitmapSet* set = Pictures(static_cast<int>(item->Tag));
    if (set && set->GetCount() > 0)
      painter_.DrawBitmap(canvas, rect, state, set);
    else if (kind == Kind::Check)
      painter_.DrawCheckMark(canvas, rect, state);
    else if (kind == Kind::Radio)
      painter_.DrawRadioMark(canvas, rect, state);
    if (!item->Caption().empty()) painter_.DrawCaption(canvas, rect, state, item->Caption());
    if (item->ShortCut != 0) painter_.DrawShortcut(canvas, rect, state, ShortCutText(item->ShortCut));
    if (kind == Kind::Plain && item->Count() > 0) painter_.DrawSubmenuArrow(canvas, rect);
  }

  void CheckItemClick(TTntMenuItem* item) {
    item->SetChecked(!item->Checked());
    if (owner_) owner_->OnCheckItem(item->Name(), static_cast<int>(item->Tag), item->Checked());
  }
  void RadioItemClick(TTntMenuItem* clicked) {
    // Copies first: the owner may rebuild the popup from its notification.
    const std::string name = clicked->Name();
    const intptr_t tag = clicked->Tag;
    std::vector<TTntMenuItem*> same;
    for (auto& item : items_)
      if (item->Tag == tag) same.push_back(item.get());
    for (TTntMenuItem* item : same) item->SetChecked(item->Name() == name);
    if (!owner_) return;
    std::vector<std::pair<std::string, bool>> reports;
    for (TTntMenuItem* item : same) reports.emplace_back(item->Name(), item->Checked());
    for (const auto& [itemName, checked] : reports) owner_->OnRadioItem(itemName, static_cast<int>(tag), checked);
  }
  void MenuItemClick(TTntMenuItem* item) {
    if (owner_) owner_->OnMenuItem(item->Name(), static_cast<int>(item->Tag));
  }

  Owner* owner_;
};

}  // namespace app
