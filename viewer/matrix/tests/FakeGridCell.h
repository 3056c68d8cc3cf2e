// A stand-in for the GUI support library's grid cell with the members the chooser calls and
// the colour rules the chooser relies on: outside the selection the empty colour; selected,
// the matrix or matrix-filled colour; hovered, the hovered or hovered-filled colour (blend
// factors of 1 take the target colour whole).
#pragma once

#include "platform/vcl/Classes.h"
#include "platform/vcl/Colors.h"

class FakeGridCell {
 public:
  void SetTop(int v) { FTop = v; }
  void SetLeft(int v) { FLeft = v; }
  void SetWidth(int v) { FWidth = v; }
  void SetHeight(int v) { FHeight = v; }
  TRect GetRect() const { return TRect{FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
  TColor GetFillColor() const { return FColor; }
  void SetState(bool selected, bool filled) {
    FSelected = selected;
    FFilled = selected && filled;
    FColor = StateColor();
  }
  void Highlight(bool hovered, bool filled) {
    FHovered = hovered;
    FHoverFilled = hovered && filled;
    FColor = hovered ? (filled ? FHoveredFilledColor : FHoveredColor) : StateColor();
  }
  void SetColors(TColor empty, TColor matrix, TColor matrixFilled, TColor hovered, TColor hoveredFilled) {
    FEmptyColor = empty;
    FMatrixColor = matrix;
    FMatrixFilledColor = matrixFilled;
    FHoveredColor = hovered;
    FHoveredFilledColor = hoveredFilled;
    FColor = StateColor();
  }
  void SetHighlightBlend(double, double) {}
  void SetPosition(int row, int column) {
    FRow = row;
    FColumn = column;
  }
  int GetRow() const { return FRow; }
  int GetColumn() const { return FColumn; }

  bool Selected() const { return FSelected; }
  bool Filled() const { return FFilled; }
  bool Hovered() const { return FHovered; }
  bool HoverFilled() const { return FHoverFilled; }

 private:
  TColor StateColor() const { return !FSelected ? FEmptyColor : FFilled ? FMatrixFilledColor : FMatrixColor; }

  int FTop = 0, FLeft = 0, FWidth = 0, FHeight = 0, FRow = 0, FColumn = 0;
  bool FSelected = false, FFilled = false, FHovered = false, FHoverFilled = false;
  TColor FEmptyColor = 0xFFFFFF, FMatrixColor = 0xFFDCDC, FMatrixFilledColor = 0xC0A0A0, FHoveredColor = 0,
         FHoveredFilledColor = 0x0000FF, FColor = 0xFFFFFF;
};
