#include "platform/vcl/StdCtrls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBlock>

#include "platform/vcl/Forms.h"

namespace {
template <typename W>
W* As(const TControl* c) {
  return static_cast<W*>(c->Widget());
}
}  // namespace

TLabel::TLabel(TComponent* AOwner) : TControl(AOwner, new QLabel) { Widget()->resize(40, 13); }

void TLabel::SetCaption(const System::WideString& caption) {
  TControl::SetCaption(caption);
  if (auto* label = As<QLabel>(this)) {
    label->setText(ToQString(caption).replace("&&", "\x01").remove('&').replace("\x01", "&"));
    if (AutoSize && !label->wordWrap()) label->resize(label->sizeHint());
  }
}

void TLabel::SetAlignment(TAlignment alignment) {
  FAlignment = alignment;
  SetLayout(FLayout);
}

void TLabel::SetLayout(TTextLayout layout) {
  FLayout = layout;
  Qt::Alignment a = FAlignment == taCenter ? Qt::AlignHCenter : FAlignment == taRightJustify ? Qt::AlignRight : Qt::AlignLeft;
  a |= layout == tlCenter ? Qt::AlignVCenter : layout == tlBottom ? Qt::AlignBottom : Qt::AlignTop;
  if (auto* label = As<QLabel>(this)) label->setAlignment(a);
}

void TLabel::SetWordWrap(bool wrap) {
  if (auto* label = As<QLabel>(this)) label->setWordWrap(wrap);
}

void TLabel::SetTransparent(bool transparent) {
  if (Widget()) Widget()->setAutoFillBackground(!transparent);
}

TEdit::TEdit(TComponent* AOwner) : TWinControl(AOwner, new QLineEdit) {
  Widget()->resize(121, 21);
  FClickFromMouse = false;
  QObject::connect(As<QLineEdit>(this), &QLineEdit::textChanged, Widget(), [this] {
    if (OnChange) OnChange(this);
  });
}

System::WideString TEdit::Text() const { return Widget() ? FromQString(As<QLineEdit>(this)->text()) : L""; }
void TEdit::SetText(const System::WideString& text) {
  if (Widget()) As<QLineEdit>(this)->setText(ToQString(text));
}
void TEdit::SetReadOnly(bool readOnly) { As<QLineEdit>(this)->setReadOnly(readOnly); }
void TEdit::SetMaxLength(int length) { As<QLineEdit>(this)->setMaxLength(length > 0 ? length : 32767); }
void TEdit::SelectAll() { As<QLineEdit>(this)->selectAll(); }

TMemo::TMemo(TComponent* AOwner) : TWinControl(AOwner, new QPlainTextEdit) {
  Widget()->resize(185, 89);
  FClickFromMouse = false;
  SetScrollBars(ssNone);
  QObject::connect(As<QPlainTextEdit>(this), &QPlainTextEdit::textChanged, Widget(), [this] {
    if (OnChange) OnChange(this);
  });
}

System::WideString TMemo::Text() const { return Widget() ? FromQString(As<QPlainTextEdit>(this)->toPlainText()) : L""; }
void TMemo::SetText(const System::WideString& text) { As<QPlainTextEdit>(this)->setPlainText(ToQString(text)); }
int TMemo::LineCount() const {
  return As<QPlainTextEdit>(this)->toPlainText().isEmpty() ? 0 : As<QPlainTextEdit>(this)->blockCount();
}
System::WideString TMemo::Line(int index) const {
  return FromQString(As<QPlainTextEdit>(this)->document()->findBlockByNumber(index).text());
}
void TMemo::AddLine(const System::WideString& line) { As<QPlainTextEdit>(this)->appendPlainText(ToQString(line)); }
void TMemo::SetReadOnly(bool readOnly) { As<QPlainTextEdit>(this)->setReadOnly(readOnly); }
void TMemo::SelectAll() { As<QPlainTextEdit>(this)->selectAll(); }
void TMemo::SetWordWrap(bool wrap) {
  As<QPlainTextEdit>(this)->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TMemo::SetScrollBars(TScrollStyle style) {
  FScrollBars = style;
  auto* edit = As<QPlainTextEdit>(this);
  const bool vertical = style == ssVertical || style == ssBoth, horizontal = style == ssHorizontal || style == ssBoth;
  edit->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  edit->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

TComboBox::TComboBox(TComponent* AOwner) : TWinControl(AOwner, new QComboBox) {
  Widget()->resize(145, 21);
  FClickFromMouse = false;
  auto* box = As<QComboBox>(this);
  box->setEditable(true);
  QObject::connect(box, QOverload<int>::of(&QComboBox::activated), box, [this] {
    if (OnChange) OnChange(this);
  });
}

void TComboBox::SetStyle(TComboBoxStyle style) { As<QComboBox>(this)->setEditable(style == csDropDown); }
int TComboBox::ItemCount() const { return As<QComboBox>(this)->count(); }
void TComboBox::AddItem(const System::WideString& item) { As<QComboBox>(this)->addItem(ToQString(item)); }
void TComboBox::ClearItems() { As<QComboBox>(this)->clear(); }
System::WideString TComboBox::Item(int index) const { return FromQString(As<QComboBox>(this)->itemText(index)); }
int TComboBox::ItemIndex() const { return As<QComboBox>(this)->currentIndex(); }
void TComboBox::SetItemIndex(int index) { As<QComboBox>(this)->setCurrentIndex(index); }
System::WideString TComboBox::Text() const { return FromQString(As<QComboBox>(this)->currentText()); }

TButton::TButton(TComponent* AOwner) : TWinControl(AOwner, new QPushButton) {
  Widget()->resize(75, 25);
  FClickFromMouse = false;
  QObject::connect(As<QPushButton>(this), &QPushButton::clicked, Widget(), [this] { Click(); });
}

void TButton::SetCaption(const System::WideString& caption) {
  TControl::SetCaption(caption);
  As<QPushButton>(this)->setText(ToQString(caption));
}

void TButton::Click() {
  if (!Enabled()) return;
  if (ModalResult != 0) {
    // The form that holds the button.
    for (TWinControl* p = Parent(); p; p = p->Parent())
      if (auto* form = dynamic_cast<TCustomForm*>(p)) {
        form->SetModalResult(ModalResult);
        break;
      }
  }
  TControl::Click();
}

TCheckBox::TCheckBox(TComponent* AOwner) : TWinControl(AOwner, new QCheckBox) {
  Widget()->resize(97, 17);
  FClickFromMouse = false;
  QObject::connect(As<QCheckBox>(this), &QCheckBox::clicked, Widget(), [this](bool on) {
    FChecked = !on;  // the click below flips it
    Click();
  });
}

void TCheckBox::SetCaption(const System::WideString& caption) {
  TControl::SetCaption(caption);
  As<QCheckBox>(this)->setText(ToQString(caption));
}

void TCheckBox::SetChecked(bool checked) {
  if (checked == FChecked) return;
  FChecked = checked;
  As<QCheckBox>(this)->setChecked(checked);
  TControl::Click();
}

void TCheckBox::Click() {
  if (Enabled()) SetChecked(!FChecked);
}

TRadioButton::TRadioButton(TComponent* AOwner) : TWinControl(AOwner, new QRadioButton) {
  Widget()->resize(113, 17);
  FClickFromMouse = false;
  As<QRadioButton>(this)->setAutoExclusive(false);
  QObject::connect(As<QRadioButton>(this), &QRadioButton::clicked, Widget(), [this] { Click(); });
}

void TRadioButton::SetCaption(const System::WideString& caption) {
  TControl::SetCaption(caption);
  As<QRadioButton>(this)->setText(ToQString(caption));
}

void TRadioButton::SetChecked(bool checked) {
  const bool changed = checked != FChecked;
  FChecked = checked;
  As<QRadioButton>(this)->setChecked(checked);
  if (checked && Parent())
    for (int i = 0; i < Parent()->ControlCount(); ++i)
      if (auto* other = dynamic_cast<TRadioButton*>(Parent()->Controls(i)); other && other != this && other->FChecked) {
        other->FChecked = false;
        As<QRadioButton>(other)->setChecked(false);
      }
  if (changed && checked) TControl::Click();
}

void TRadioButton::Click() {
  if (!Enabled()) return;
  if (FChecked) {
    As<QRadioButton>(this)->setChecked(true);
    return;
  }
  SetChecked(true);
}

TGroupBox::TGroupBox(TComponent* AOwner) : TWinControl(AOwner, new QGroupBox) { Widget()->resize(185, 105); }

void TGroupBox::SetCaption(const System::WideString& caption) {
  TControl::SetCaption(caption);
  As<QGroupBox>(this)->setTitle(ToQString(caption));
}
