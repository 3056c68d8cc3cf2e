#include "app/widgets/DragDrop.h"

namespace app {

TfrmDragDrop::TfrmDragDrop(TComponent* owner) : TForm(owner) {
  SetBorderStyle(bsNone);
  SetFormStyle(fsStayOnTop);
  SetCaption(L"Drag");
  SetColor(clBtnFace);
  SetBounds(0, 0, 146, 133);
  SetAlphaBlendValue(192);
  SetAlphaBlend(true);
  imgIcon = new TImage(this);
  imgIcon->SetParent(this);
  imgIcon->SetAlign(alClient);
}

void TfrmDragDrop::SetImage(int width, int height, TBitmap* picture) {
  SetBounds(Left(), Top(), width, height);
  if (!picture) return;
  imgIcon->Picture()->Assign(*picture);
  imgIcon->Stretch = true;
  imgIcon->Invalidate();
}

}  // namespace app
