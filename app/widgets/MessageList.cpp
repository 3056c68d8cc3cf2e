#include "app/widgets/MessageList.h"

#include "platform/vcl/SysUtils.h"

namespace app {

namespace {
int nextMessageId = 0;  // process-wide: ids grow with the order of arrival
}

// ---- TfrmMessageFrame ----

TfrmMessageFrame::TfrmMessageFrame(TComponent* owner) : TFrame(owner) {
  SetBounds(0, 0, 320, 28);
  bvMessage = new TPanel(this);
  bvMessage->BevelOuter = bvNone;
  bvMessage->SetParent(this);
  bvMessage->SetWidth(28);
  bvMessage->SetAlign(alLeft);
  spbDelete = new TSpeedButton(this);
  spbDelete->SetParent(this);
  spbDelete->Flat = true;
  spbDelete->SetCaption(L"x");
  spbDelete->SetBounds(2, 2, 24, 24);
  lblTime = new TLabel(this);
  lblTime->SetParent(this);
  lblTime->AutoSize = false;
  lblTime->SetWidth(80);
  lblTime->SetAlign(alRight);
  lblTime->SetAlignment(taCenter);
  lblTime->SetLayout(tlCenter);
  lblTime->SetTransparent(true);
  lblTime->SetCaption(L"00:00:00");
  lblMessage = new TLabel(this);
  lblMessage->SetParent(this);
  lblMessage->AutoSize = false;
  lblMessage->SetWordWrap(true);
  lblMessage->SetTransparent(true);
  lblMessage->SetAlign(alClient);
  spbDelete->BringToFront();
  for (TLabel* label : {lblMessage, lblTime}) {
    label->Font.Color = clWhite;
    label->FontChanged();
    label->OnClick = [this](TObject* s) { FrameClick(s); };
  }
  spbDelete->OnClick = [this](TObject* s) { spbDeleteClick(s); };
  OnClick = [this](TObject* s) { FrameClick(s); };
  OnResize = [this](TObject* s) { FrameResize(s); };
  SetColor(normalColor_);
}

void TfrmMessageFrame::SetNormalColors() {
  SetColor(normalColor_);
  for (TLabel* label : {lblMessage, lblTime}) {
    label->Font.Color = normalFontColor_;
    label->FontChanged();
  }
}

void TfrmMessageFrame::SetSelectedColors() {
  SetColor(selectedColor_);
  for (TLabel* label : {lblMessage, lblTime}) {
    label->Font.Color = selectedFontColor_;
    label->FontChanged();
  }
}

void TfrmMessageFrame::FitHeight(int width) {
  TCanvas canvas;
  canvas.Font.Assign(lblMessage->Font);
  TRect r = Rect(0, 0, width - 1, 0);
  DrawText(canvas, lblMessage->Caption(), r, DT_CALCRECT | DT_WORDBREAK);
  const int height = std::max(28, r.Height());
  if (height != Height()) SetHeight(height);
}

void TfrmMessageFrame::spbDeleteClick(TObject*) {
  if (owner_) owner_->OnDelete();
  Hide();
  // The row is inside its own click: it goes with its parent, not now.
  if (TWinControl* parent = Parent()) {
    if (Owner()) Owner()->RemoveComponent(this);
    parent->InsertComponent(this);
    parent->AlignControls();
    parent->Refresh();
  }
}

void TfrmMessageFrame::FrameClick(TObject*) {
  if (owner_) owner_->OnClick();
}

void TfrmMessageFrame::FrameResize(TObject*) { FitHeight(lblMessage->ClientWidth()); }

// ---- TsgMessageObject ----

template <class TId, class TText, class TFrameT>
TsgMessageObject<TId, TText, TFrameT>::TsgMessageObject(TId id) : row_(new TFrameT(nullptr)), id_(id) {
  row_->SetCallback(this);
  row_->lblMessage->SetCaption(L"New message");
  const std::string time = TimeToStr(Now());
  row_->lblTime->SetCaption(std::wstring(time.begin(), time.end()));
}

template <class TId, class TText, class TFrameT>
void TsgMessageObject<TId, TText, TFrameT>::OnDelete() {
  row_ = nullptr;
  if (list_) list_->RemoveMessage(id_);
}

template <class TId, class TText, class TFrameT>
void TsgMessageObject<TId, TText, TFrameT>::OnClick() {
  if (list_) list_->SelectMessage(id_);
}

template <class TId, class TText, class TFrameT>
TsgMessageObject<TId, TText, TFrameT>::~TsgMessageObject() {
  if (!row_) return;
  row_->SetParent(nullptr);
  row_->SetCallback(nullptr);
  delete row_;
}

template <class TId, class TText, class TFrameT>
TText TsgMessageObject<TId, TText, TFrameT>::GetText() const {
  return row_ ? row_->lblMessage->Caption() : TText();
}

template <class TId, class TText, class TFrameT>
TText TsgMessageObject<TId, TText, TFrameT>::GetTime() const {
  return row_ ? row_->lblTime->Caption() : TText();
}

template <class TId, class TText, class TFrameT>
void TsgMessageObject<TId, TText, TFrameT>::SetText(const TText& text) {
  if (row_) row_->lblMessage->SetCaption(text);
}

template <class TId, class TText, class TFrameT>
void TsgMessageObject<TId, TText, TFrameT>::ShowNormal() {
  if (row_) row_->SetNormalColors();
}

template <class TId, class TText, class TFrameT>
void TsgMessageObject<TId, TText, TFrameT>::ShowSelected() {
  if (row_) row_->SetSelectedColors();
}

template class TsgMessageObject<int, std::wstring, TfrmMessageFrame>;

// ---- TfmMessageManager ----

TfmMessageManager::TfmMessageManager(TComponent* owner) : TForm(owner) {
  SetCaption(L"Messages");
  SetColor(clWhite);
  SetBounds(0, 0, 330, 427);
  Position = poScreenCenter;
  pnlMessageManager = new TPanel(this);
  pnlMessageManager->SetParent(this);
  pnlMessageManager->SetColor(clGray);
  pnlMessageManager->BevelOuter = bvNone;
  pnlMessageManager->SetBounds(2, 2, 326, 423);
  pnlMessageManager->SetAlign(alClient);
  scrListBox = new TScrollBox(this);
  scrListBox->SetParent(pnlMessageManager);
  scrListBox->SetBounds(21, 60, 266, 231);
  scrListBox->Anchors = akLeft | akTop | akRight;
  aeMessages = new TApplicationEvents(this);
  aeMessages->OnShortCut = [this](uint16_t key, TShiftState shift, bool& handled) {
    aeMessagesShortCut(key, shift, handled);
  };
}

void TfmMessageManager::aeMessagesShortCut(uint16_t key, TShiftState, bool& handled) {
  if (key == 13 || key == 27) {
    SetModalResult(mrOk);
    handled = true;
  }
}

// ---- TsgListManager ----

template <class TWindow, class TMessage>
TsgListManager<TWindow, TMessage>::~TsgListManager() {
  active_ = false;
  platform::CriticalSectionLock hold(lock_);
  messages_.clear();
}

template <class TWindow, class TMessage>
int TsgListManager<TWindow, TMessage>::AddMessage() {
  if (!active_) return -1;
  platform::CriticalSectionLock hold(lock_);
  const int id = nextMessageId++;
  auto message = std::make_unique<TMessage>(id);
  message->SetOwner(this);
  TMessage* added = message.get();
  messages_[id] = std::move(message);
  if (window_ && !added->HasNoFrame()) {
    auto* row = added->GetFrame();
    row->SetParent(window_->scrListBox);
    row->SetTop(rowsHeight_);
    row->SetAlign(alTop);
    rowsHeight_ += row->Height();
  }
  return id;
}

template <class TWindow, class TMessage>
void TsgListManager<TWindow, TMessage>::RemoveMessage(int id) {
  if (!active_) return;
  platform::CriticalSectionLock hold(lock_);
  auto it = messages_.find(id);
  if (it == messages_.end()) return;
  std::unique_ptr<TMessage> removed = std::move(it->second);
  messages_.erase(it);
  removed.reset();
  if (id == selected_) {
    auto next = messages_.upper_bound(id);
    selected_ = next == messages_.end() ? -1 : next->first;
    if (next != messages_.end()) next->second->ShowSelected();
  }
}

template <class TWindow, class TMessage>
void TsgListManager<TWindow, TMessage>::SelectMessage(int id) {
  if (!active_) return;
  platform::CriticalSectionLock hold(lock_);
  auto it = messages_.find(id);
  if (it == messages_.end()) return;
  if (selected_ != -1)
    if (auto old = messages_.find(selected_); old != messages_.end()) old->second->ShowNormal();
  it->second->ShowSelected();
  selected_ = id;
}

template <class TWindow, class TMessage>
bool TsgListManager<TWindow, TMessage>::IsEmpty() {
  if (!active_) return false;
  platform::CriticalSectionLock hold(lock_);
  return messages_.empty();
}

template <class TWindow, class TMessage>
void TsgListManager<TWindow, TMessage>::ShowMessages() {
  if (!active_ || window_) return;
  auto window = std::make_unique<TWindow>(nullptr);
  window_ = window.get();
  {
    platform::CriticalSectionLock hold(lock_);
    rowsHeight_ = 0;
    for (auto& [id, message] : messages_) {
      if (message->HasNoFrame()) continue;
      auto* row = message->GetFrame();
      row->SetParent(window_->scrListBox);
      row->SetTop(rowsHeight_);
      row->SetAlign(alTop);
      rowsHeight_ += row->Height();
    }
  }
  if (OnWindowShown) window_->OnShow = [this](TObject*) { OnWindowShown(window_); };
  // The lock is not held while the window is up, so other threads are not blocked by it.
  window_->ShowModal();
  {
    platform::CriticalSectionLock hold(lock_);
    for (auto& [id, message] : messages_) {
      if (message->HasNoFrame()) continue;
      auto* row = message->GetFrame();
      row->SetParent(nullptr);
      row->SetAlign(alNone);
      row->SetTop(0);
    }
  }
  window.reset();
  window_ = nullptr;
}

template class TsgListManager<TfmMessageManager, TMessageObject>;

// ---- TsgMessageManager ----

template <class TWindow>
std::wstring TsgMessageManager<TWindow>::GetMessageText(int id) {
  if (!this->active_) return L"";
  platform::CriticalSectionLock hold(this->lock_);
  auto it = this->messages_.find(id);
  return it == this->messages_.end() ? L"" : it->second->GetText();
}

template <class TWindow>
std::wstring TsgMessageManager<TWindow>::GetMessageTime(int id) {
  if (!this->active_) return L"";
  platform::CriticalSectionLock hold(this->lock_);
  auto it = this->messages_.find(id);
  return it == this->messages_.end() ? L"" : it->second->GetTime();
}

template <class TWindow>
void TsgMessageManager<TWindow>::SetMessageText(int id, const std::wstring& text) {
  if (!this->active_) return;
  platform::CriticalSectionLock hold(this->lock_);
  auto it = this->messages_.find(id);
  if (it != this->messages_.end()) it->second->SetText(text);
}

template <class TWindow>
int TsgMessageManager<TWindow>::GetSelectedId() {
  platform::CriticalSectionLock hold(this->lock_);
  return this->selected_;
}

template <class TWindow>
void TsgMessageManager<TWindow>::RemoveSelected() {
  const int id = GetSelectedId();
  if (id != -1) this->RemoveMessage(id);
}

template class TsgMessageManager<TfmMessageManager>;

}  // namespace app
