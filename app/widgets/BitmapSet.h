// The pictures of one menu item, one per state name ("normal", "hot", "checked",
// "hotchecked", "disabled"). A set owns copies: pictures are copied on the way in and out.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/vcl/Graphics.h"

namespace app {

template <class TBitmapT>
class TsgBitmapSet {
 public:
  TsgBitmapSet() = default;
  virtual ~TsgBitmapSet() = default;
  TsgBitmapSet(const TsgBitmapSet&) = delete;
  TsgBitmapSet& operator=(const TsgBitmapSet&) = delete;

  // Appends every picture name in ascending order.
  virtual void GetNames(std::vector<std::string>& names) const {
    for (const auto& [name, picture] : pictures_) names.push_back(name);
  }
  // Copies the named picture into `bitmap`; false for an empty or unknown name.
  virtual bool GetBitmap(const std::string& name, TBitmapT* bitmap) const {
    if (name.empty() || !bitmap) return false;
    auto it = pictures_.find(name);
    if (it == pictures_.end()) return false;
    bitmap->SetPixelFormat(it->second->PixelFormat());
    bitmap->SetSize(it->second->Width(), it->second->Height());
    bitmap->Canvas()->Draw(0, 0, *it->second);
    return true;
  }
  virtual int GetMaxWidth() const { return maxWidth_; }
  virtual int GetMaxHeight() const { return maxHeight_; }
  // Copies another set's pictures; an empty other set leaves this one unchanged (false).
  virtual bool Assign(const TsgBitmapSet& other) {
    std::vector<std::string> names;
    other.GetNames(names);
    if (names.empty()) return false;
    Clear();
    bool result = false;
    for (const auto& name : names) {
      TBitmapT picture;
      if (other.GetBitmap(name, &picture)) result = AddBitmap(name, &picture);
    }
    return result;
  }
  virtual int GetCount() const { return static_cast<int>(pictures_.size()); }

  // Stores a copy; false for an empty name, a null source or a name already present.
  bool AddBitmap(const std::string& name, TBitmapT* source) {
    if (name.empty() || !source || pictures_.count(name)) return false;
    auto copy = std::make_unique<TBitmapT>();
    copy->SetPixelFormat(source->PixelFormat());
    copy->SetSize(source->Width(), source->Height());
    maxWidth_ = std::max(maxWidth_, copy->Width());
    maxHeight_ = std::max(maxHeight_, copy->Height());
    copy->Transparent = source->Transparent;
    // The copy is drawn opaque, whatever the source's transparency.
    const bool transparent = source->Transparent;
    source->Transparent = false;
    copy->Canvas()->Draw(0, 0, *source);
    source->Transparent = transparent;
    pictures_[name] = std::move(copy);
    return true;
  }
  // Deletes every picture; the maximum sizes stay.
  void Clear() { pictures_.clear(); }

 private:
  int maxWidth_ = 0;
  int maxHeight_ = 0;
  std::map<std::string, std::unique_ptr<TBitmapT>> pictures_;
};

using TVCLBitmapSet = TsgBitmapSet<TBitmap>;

}  // namespace app
