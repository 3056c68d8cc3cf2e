// The VCL's component base: TObject, TComponent (owner, owned components, Name, Tag) and the
// small value types the widgets share. An owner destroys its components with itself; a
// component destroyed first leaves its owner's list. Names are not required to be unique
// (items made at run time may share one); FindComponent returns the first.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/vcl/SystemTypes.h"

class TObject {
 public:
  virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

struct TPoint {
  int x = 0, y = 0;
};

struct TRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool operator==(const TRect&) const = default;
};

inline TRect Rect(int left, int top, int right, int bottom) { return {left, top, right, bottom}; }
inline TPoint Point(int x, int y) { return {x, y}; }
inline bool PtInRect(const TRect& r, const TPoint& p) {
  return p.x >= r.Left && p.x < r.Right && p.y >= r.Top && p.y < r.Bottom;
}

class TComponent : public TObject {
 public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return FOwner; }
  const System::AnsiString& Name() const { return FName; }
  virtual void SetName(const System::AnsiString& name) { FName = name; }
  // Pointer-sized, so an object's address fits as on 32-bit Windows.
  intptr_t Tag = 0;

  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  TComponent* Components(int index) const { return FComponents.at(static_cast<size_t>(index)); }
  TComponent* FindComponent(const System::AnsiString& name) const;
  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);

 private:
  TComponent* FOwner = nullptr;
  System::AnsiString FName;
  std::vector<TComponent*> FComponents;
};
