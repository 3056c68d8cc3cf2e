// Labels, edits, memos, combo boxes, buttons, check boxes, radio buttons and group boxes,
// with their Tnt (Unicode) names. Texts are wide.
#pragma once

#include "platform/vcl/Controls.h"

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TLabel : public TControl {
 public:
  explicit TLabel(TComponent* AOwner);
  void SetCaption(const System::WideString& caption) override;
  void SetAlignment(TAlignment alignment);
  void SetLayout(TTextLayout layout);
  void SetWordWrap(bool wrap);
  void SetTransparent(bool transparent);
  bool AutoSize = true;

 private:
  TAlignment FAlignment = taLeftJustify;
  TTextLayout FLayout = tlTop;
};
using TTntLabel = TLabel;

class TEdit : public TWinControl {
 public:
  explicit TEdit(TComponent* AOwner);
  System::WideString Text() const;
  void SetText(const System::WideString& text);  // runs OnChange when the text changes
  void SetReadOnly(bool readOnly);
  void SetMaxLength(int length);
  void SelectAll();
  TNotifyEvent OnChange;
};
using TTntEdit = TEdit;

class TMemo : public TWinControl {
 public:
  explicit TMemo(TComponent* AOwner);
  System::WideString Text() const;
  void SetText(const System::WideString& text);
  void Clear() { SetText(L""); }
  int LineCount() const;
  System::WideString Line(int index) const;
  void AddLine(const System::WideString& line);
  void SetReadOnly(bool readOnly);
  void SelectAll();
  void SetWordWrap(bool wrap);
  // Which scroll bars the memo keeps shown (ssNone: none, even for long texts).
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle style);
  TNotifyEvent OnChange;

 private:
  TScrollStyle FScrollBars = ssNone;
};
using TTntMemo = TMemo;

enum TComboBoxStyle { csDropDown, csDropDownList };

class TComboBox : public TWinControl {
 public:
  explicit TComboBox(TComponent* AOwner);
  void SetStyle(TComboBoxStyle style);
  int ItemCount() const;
  void AddItem(const System::WideString& item);
  void ClearItems();
  System::WideString Item(int index) const;
  int ItemIndex() const;
  void SetItemIndex(int index);  // code: no OnChange, as in the VCL
  System::WideString Text() const;
  TNotifyEvent OnChange;  // a user's choice or edit
};
using TTntComboBox = TComboBox;

class TButton : public TWinControl {
 public:
  explicit TButton(TComponent* AOwner);
  void SetCaption(const System::WideString& caption) override;
  // Not mrNone: a click sets the form's ModalResult to this value.
  int ModalResult = 0;
  bool Default = false;
  bool Cancel = false;
  void Click() override;
};
using TTntButton = TButton;

class TCheckBox : public TWinControl {
 public:
  explicit TCheckBox(TComponent* AOwner);
  void SetCaption(const System::WideString& caption) override;
  bool Checked() const { return FChecked; }
  void SetChecked(bool checked);  // runs OnClick when the state changes, as the VCL does
  void Click() override;

 private:
  bool FChecked = false;
};
using TTntCheckBox = TCheckBox;

class TRadioButton : public TWinControl {
 public:
  explicit TRadioButton(TComponent* AOwner);
  void SetCaption(const System::WideString& caption) override;
  bool Checked() const { return FChecked; }
  // Checking clears the other radio buttons of the same parent, then runs OnClick.
  void SetChecked(bool checked);
  void Click() override;

 private:
  bool FChecked = false;
};
using TTntRadioButton = TRadioButton;

class TGroupBox : public TWinControl {
 public:
  explicit TGroupBox(TComponent* AOwner);
  void SetCaption(const System::WideString& caption) override;
};
using TTntGroupBox = TGroupBox;
