// The drag icon: a semi-transparent borderless picture that follows the pointer while a
// stack is dragged, remembering the cell the drag started from.
#pragma once

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"

namespace app {

class TfrmDragDrop : public TForm {
 public:
  explicit TfrmDragDrop(TComponent* owner);
  // Sets the client size; a picture, when given, replaces the shown one, stretched.
  virtual void SetImage(int width, int height, TBitmap* picture);
  virtual void SetCellIndex(int index) { cellIndex_ = index; }
  virtual int GetCellIndex() const { return cellIndex_; }

  TImage* imgIcon;

 private:
  int cellIndex_ = -1;
};

}  // namespace app
