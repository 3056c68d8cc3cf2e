#include "platform/vcl/ComCtrls.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QScrollArea>
#include <QSlider>
#include <QToolButton>
#include <QWidget>

#include <algorithm>

#include "platform/vcl/Menus.h"

// ---- TImageList ----

TImageList::TImageList(TComponent* AOwner) : TComponent(AOwner) {}

int TImageList::Add(TBitmap* image, TBitmap* mask) {
  auto copy = std::make_shared<TBitmap>();
  copy->Assign(*image);
  copy->SetPixelFormat(pf32bit);
  QImage& pixels = copy->Image();
  for (int y = 0; y < pixels.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(pixels.scanLine(y));
    for (int x = 0; x < pixels.width(); ++x) {
      const bool clear = mask && x < mask->Width() && y < mask->Height() &&
                         (mask->Image().pixel(x, y) & 0xFFFFFF) == 0xFFFFFF;
      line[x] = clear ? 0 : (line[x] | 0xFF000000u);
    }
  }
  FImages.push_back(copy);
  return Count() - 1;
}

int TImageList::AddMasked(TBitmap* image, TColor maskColor) {
  TBitmap mask;
  mask.SetSize(image->Width(), image->Height());
  const uint32_t key = ColorToRGB(maskColor);
  const QRgb keyRgb = qRgb(key & 0xFF, (key >> 8) & 0xFF, (key >> 16) & 0xFF) & 0xFFFFFF;
  const QImage& source = image->Image();
  QImage& m = mask.Image();
  for (int y = 0; y < source.height(); ++y)
    for (int x = 0; x < source.width(); ++x)
      m.setPixelColor(x, y, (source.pixel(x, y) & 0xFFFFFF) == keyRgb ? Qt::white : Qt::black);
  return Add(image, &mask);
}

bool TImageList::GetBitmap(int index, TBitmap* bitmap) const {
  if (index < 0 || index >= Count() || !bitmap) return false;
  bitmap->Assign(*FImages[static_cast<size_t>(index)]);
  return true;
}

void TImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled) const {
  if (index < 0 || index >= Count() || !canvas || !canvas->Painter()) return;
  QPainter* p = canvas->Painter();
  p->save();
  if (!enabled) p->setOpacity(0.4);
  p->drawImage(x, y, FImages[static_cast<size_t>(index)]->Image());
  p->restore();
}

// ---- TToolButton ----

namespace {

QToolButton* ButtonWidget(const TControl* c) { return static_cast<QToolButton*>(c->Widget()); }

QIcon IconOf(TImageList* images, int index) {
  TBitmap bitmap;
  if (!images || !images->GetBitmap(index, &bitmap)) return {};
  return QIcon(QPixmap::fromImage(bitmap.Image()));
}

}  // namespace

TToolButton::TToolButton(TComponent* AOwner) : TControl(AOwner, new QToolButton) {
  FClickFromMouse = false;
  auto* button = ButtonWidget(this);
  button->setAutoRaise(true);
  button->setCheckable(true);
  QObject::connect(button, &QToolButton::clicked, button, [this] { Click(); });
}

TToolBar* TToolButton::Bar() const { return dynamic_cast<TToolBar*>(Parent()); }

void TToolButton::SetParent(TWinControl* parent) {
  TControl::SetParent(parent);
  UpdateLook();
}

void TToolButton::SetStyle(TToolButtonStyle style) {
  FStyle = style;
  if (TToolBar* bar = Bar()) bar->AlignControls();
  UpdateLook();
}

void TToolButton::SetCaption(const System::WideString& caption) {
  TControl::SetCaption(caption);
  UpdateLook();
}

void TToolButton::SetImageIndex(int index) {
  FImageIndex = index;
  UpdateLook();
}

void TToolButton::UpdateLook() {
  auto* button = ButtonWidget(this);
  if (!button) return;
  TToolBar* bar = Bar();
  const bool separator = FStyle == tbsSeparator || FStyle == tbsDivider;
  button->setEnabled(Enabled() && !separator);
  button->setIcon(separator ? QIcon() : IconOf(bar ? bar->Images : nullptr, FImageIndex));
  button->setText(separator ? QString() : ToQString(StripHotkey(Caption())));
  button->setToolButtonStyle(bar && bar->ShowCaptions ? Qt::ToolButtonTextUnderIcon
                             : button->icon().isNull() ? Qt::ToolButtonTextOnly : Qt::ToolButtonIconOnly);
  button->setPopupMode(FStyle == tbsDropDown ? QToolButton::MenuButtonPopup : QToolButton::DelayedPopup);
  button->setChecked(FDown);
}

std::vector<TToolButton*> TToolButton::Group() {
  // The adjacent grouped check buttons of the same bar, this one included.
  std::vector<TToolButton*> group;
  TToolBar* bar = Bar();
  if (!bar || !Grouped || FStyle != tbsCheck) return {this};
  std::vector<TToolButton*> buttons;
  for (int i = 0; i < bar->ButtonCount(); ++i) buttons.push_back(bar->Buttons(i));
  const auto at = std::find(buttons.begin(), buttons.end(), this) - buttons.begin();
  auto member = [](TToolButton* b) { return b->Grouped && b->Style() == tbsCheck; };
  long first = at, last = at;
  while (first > 0 && member(buttons[static_cast<size_t>(first - 1)])) --first;
  while (last + 1 < static_cast<long>(buttons.size()) && member(buttons[static_cast<size_t>(last + 1)])) ++last;
  for (long i = first; i <= last; ++i) group.push_back(buttons[static_cast<size_t>(i)]);
  return group;
}

void TToolButton::SetDown(bool down) {
  FDown = down;
  if (down)
    for (TToolButton* other : Group())
      if (other != this && other->FDown) {
        other->FDown = false;
        other->UpdateLook();
      }
  UpdateLook();
}

void TToolButton::Click() {
  if (!Enabled()) return;
  if (FStyle == tbsCheck) {
    const std::vector<TToolButton*> group = Group();
    if (!FDown) SetDown(true);
    else if (group.size() == 1 || AllowAllUp) SetDown(false);
  }
  UpdateLook();  // Qt flips its own check state; ours decides
  if (OnClick) OnClick(this);
  if (FStyle == tbsDropDown && DropdownMenu && Widget() && !OnClick) {
    const TPoint p = ClientToScreen(Point(0, Height()));
    DropdownMenu->Popup(p.x, p.y);
  }
}

// ---- TToolBar ----

TToolBar::TToolBar(TComponent* AOwner) : TWinControl(AOwner, new QWidget) {
  Widget()->resize(200, 29);
  SetAlign(alTop);
}

int TToolBar::ButtonCount() const {
  int n = 0;
  for (int i = 0; i < ControlCount(); ++i) n += dynamic_cast<TToolButton*>(Controls(i)) != nullptr;
  return n;
}

TToolButton* TToolBar::Buttons(int index) const {
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* b = dynamic_cast<TToolButton*>(Controls(i)); b && index-- == 0) return b;
  return nullptr;
}

void TToolBar::AlignControls() {
  int x = 0;
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (!c->Visible() || !c->Widget()) continue;
    auto* button = dynamic_cast<TToolButton*>(c);
    int width = c->Width();
    if (button) {
      const bool separator = button->Style() == tbsSeparator || button->Style() == tbsDivider;
      width = separator ? 8 : ButtonWidth;
      if (button->Style() == tbsDropDown) width += 12;
      if (ShowCaptions && !separator)
        width = std::max(width, c->Widget()->sizeHint().width());
      c->Widget()->setGeometry(x, 2, width, ButtonHeight);
    } else {
      c->Widget()->move(x, 2);
    }
    x += width;
  }
  TWinControl::AlignControls();
}

// ---- TSpeedButton ----

TSpeedButton::TSpeedButton(TComponent* AOwner) : TControl(AOwner, new QToolButton) {
  FClickFromMouse = false;
  auto* button = ButtonWidget(this);
  button->setCheckable(true);
  QObject::connect(button, &QToolButton::clicked, button, [this] { Click(); });
  Widget()->resize(23, 22);
}

void TSpeedButton::SetDown(bool down) {
  if (GroupIndex == 0) down = false;
  FDown = down;
  if (down && Parent())
    for (int i = 0; i < Parent()->ControlCount(); ++i)
      if (auto* other = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
          other && other != this && other->GroupIndex == GroupIndex && other->FDown) {
        other->FDown = false;
        other->UpdateLook();
      }
  UpdateLook();
}

void TSpeedButton::GlyphChanged() { UpdateLook(); }

void TSpeedButton::SetCaption(const System::WideString& caption) {
  TControl::SetCaption(caption);
  UpdateLook();
}

void TSpeedButton::UpdateLook() {
  auto* button = ButtonWidget(this);
  if (!button) return;
  button->setAutoRaise(Flat);
  button->setChecked(FDown);
  button->setText(ToQString(StripHotkey(Caption())));
  if (!FGlyph.Empty()) {
    TBitmap shown;
    shown.Assign(FGlyph);
    shown.Transparent = true;
    QImage image(shown.Width() / std::max(NumGlyphs, 1), shown.Height(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    TCanvas canvas;
    canvas.BindImage(&image);
    canvas.Draw(0, 0, shown);
    canvas.Release();
    button->setIcon(QIcon(QPixmap::fromImage(image)));
    button->setToolButtonStyle(Caption().empty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextBesideIcon);
  }
}

void TSpeedButton::Click() {
  if (!Enabled()) return;
  if (GroupIndex != 0) {
    if (!FDown) SetDown(true);
    else if (AllowAllUp) {
      FDown = false;
    }
  }
  UpdateLook();
  if (OnClick) OnClick(this);
}

// ---- TTrackBar ----

TTrackBar::TTrackBar(TComponent* AOwner) : TWinControl(AOwner, new QSlider(Qt::Horizontal)) {
  auto* slider = static_cast<QSlider*>(Widget());
  slider->setRange(FMin, FMax);
  slider->setTickPosition(QSlider::TicksBelow);
  slider->setTickInterval(Frequency);
  Widget()->resize(150, 45);
  QObject::connect(slider, &QSlider::valueChanged, slider, [this](int v) { Changed(v); });
}

void TTrackBar::Changed(int value) {
  if (value == FPosition) return;
  FPosition = value;
  if (OnChange) OnChange(this);
}

void TTrackBar::SetMin(int v) {
  FMin = v;
  FMax = std::max(FMax, v);
  if (auto* s = static_cast<QSlider*>(Widget())) s->setRange(FMin, FMax);
  SetPosition(FPosition);
}

void TTrackBar::SetMax(int v) {
  FMax = v;
  FMin = std::min(FMin, v);
  if (auto* s = static_cast<QSlider*>(Widget())) s->setRange(FMin, FMax);
  SetPosition(FPosition);
}

void TTrackBar::SetPosition(int v) {
  v = std::clamp(v, FMin, FMax);
  if (auto* s = static_cast<QSlider*>(Widget())) {
    const QSignalBlocker block(s);
    s->setValue(v);
    s->setTickInterval(Frequency);
  }
  Changed(v);
}

void TTrackBar::SetOrientation(TTrackBarOrientation orientation) {
  if (auto* s = static_cast<QSlider*>(Widget())) s->setOrientation(orientation == trVertical ? Qt::Vertical : Qt::Horizontal);
}

// ---- TUpDown ----

TUpDown::TUpDown(TComponent* AOwner) : TWinControl(AOwner, new QWidget) {
  auto* up = new QToolButton(Widget());
  auto* down = new QToolButton(Widget());
  up->setArrowType(Qt::UpArrow);
  down->setArrowType(Qt::DownArrow);
  auto* layout = new QVBoxLayout(Widget());
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(up);
  layout->addWidget(down);
  QObject::connect(up, &QToolButton::clicked, up, [this] { Press(btNext); });
  QObject::connect(down, &QToolButton::clicked, down, [this] { Press(btPrev); });
  Widget()->resize(17, 22);
}

void TUpDown::Press(TUDBtnType button) {
  int next = FPosition + (button == btNext ? Increment : -Increment);
  if (next > Max) next = Wrap ? Min : Max;
  if (next < Min) next = Wrap ? Max : Min;
  FPosition = next;
  if (OnClick) OnClick(this, button);
}

// ---- TPageScroller ----

TPageScroller::TPageScroller(TComponent* AOwner) : TWinControl(AOwner, new QScrollArea) {
  auto* area = static_cast<QScrollArea*>(Widget());
  area->setWidget(new QWidget);
  area->setWidgetResizable(false);
  area->setFrameShape(QFrame::NoFrame);
  area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

QWidget* TPageScroller::ChildHost() const {
  auto* area = static_cast<QScrollArea*>(Widget());
  return area ? area->widget() : nullptr;
}

void TPageScroller::SetControl(TControl* control) {
  FControl = control;
  if (!control || !ChildHost()) return;
  if (control->Parent() != this) control->SetParent(this);
  ChildHost()->resize(std::max(control->Width(), 1), std::max(control->Height(), Height()));
}

// ---- TPageControl ----

TPageControl::TPageControl(TComponent* AOwner) : TWinControl(AOwner, new QWidget) {}

void TPageControl::SetActivePage(TTabSheet* page) {
  FActive = page;
  for (TTabSheet* p : FPages) p->SetVisible(p == page);
}

void TPageControl::AlignControls() {
  for (TTabSheet* p : FPages)
    if (p->Widget()) p->Widget()->setGeometry(0, 0, Width(), Height());
  TWinControl::AlignControls();
}

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner, new QWidget) {}

TTabSheet::~TTabSheet() { SetPageControl(nullptr); }

void TTabSheet::SetPageControl(TPageControl* control) {
  if (FPageControl) {
    auto& pages = FPageControl->FPages;
    pages.erase(std::remove(pages.begin(), pages.end(), this), pages.end());
    if (FPageControl->FActive == this) FPageControl->FActive = nullptr;
  }
  FPageControl = control;
  if (!control) return;
  control->FPages.push_back(this);
  SetParent(control);
  if (!control->FActive) control->SetActivePage(this);
  else SetVisible(false);
  control->AlignControls();
}
