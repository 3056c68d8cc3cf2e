// The messages the host sends to the user: one row per message (`TfrmMessageFrame`), one
// message object owning its row (`TsgMessageObject`), the list that owns the messages by id
// under a lock and keeps the selection (`TsgListManager`, `TsgMessageManager`), and the modal
// window that shows every row (`TfmMessageManager`).
#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/process/CriticalSection.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

namespace app {

// What a row needs of its owner.
class iMSG_GUI_CALLBACK {
 public:
  virtual void OnDelete() = 0;
  virtual void OnClick() = 0;

 protected:
  ~iMSG_GUI_CALLBACK() = default;
};

// What a message needs of its list.
template <class TId>
class iLIST_CALLBACK {
 public:
  virtual void RemoveMessage(TId id) = 0;
  virtual void SelectMessage(TId id) = 0;

 protected:
  ~iLIST_CALLBACK() = default;
};

class TfrmMessageFrame : public TFrame {
 public:
  explicit TfrmMessageFrame(TComponent* owner);
  virtual void SetCallback(iMSG_GUI_CALLBACK* owner) { owner_ = owner; }
  virtual void SetNormalColors();
  virtual void SetSelectedColors();
  // The client height the message text needs, word-wrapped to `width` (at least 28).
  void FitHeight(int width);

  void spbDeleteClick(TObject* sender);
  void FrameClick(TObject* sender);
  void FrameResize(TObject* sender);

  TPanel* bvMessage;
  TSpeedButton* spbDelete;
  TLabel* lblMessage;
  TLabel* lblTime;

 private:
  iMSG_GUI_CALLBACK* owner_ = nullptr;
  TColor normalColor_ = clBackground;
  TColor normalFontColor_ = 0xFFFFFF;
  TColor selectedColor_ = 0xF0CAA6;
  TColor selectedFontColor_ = 0x800000;
};

template <class TId, class TText, class TFrameT>
class TsgMessageObject : public iMSG_GUI_CALLBACK {
 public:
  TsgMessageObject() = default;
  explicit TsgMessageObject(TId id);
  void OnDelete() override;
  void OnClick() override;
  virtual ~TsgMessageObject();
  virtual bool HasNoFrame() const { return row_ == nullptr; }
  virtual TText GetText() const;
  virtual TText GetTime() const;
  virtual void SetText(const TText& text);
  virtual TFrameT* GetFrame() const { return row_; }
  virtual void SetOwner(iLIST_CALLBACK<TId>* list) { list_ = list; }
  virtual void ShowNormal();
  virtual void ShowSelected();

 private:
  TFrameT* row_ = nullptr;
  TId id_ = -1;
  iLIST_CALLBACK<TId>* list_ = nullptr;
};

using TMessageObject = TsgMessageObject<int, std::wstring, TfrmMessageFrame>;

class TfmMessageManager : public TForm {
 public:
  explicit TfmMessageManager(TComponent* owner);
  void aeMessagesShortCut(uint16_t key, TShiftState shift, bool& handled);

  TPanel* pnlMessageManager;
  TScrollBox* scrListBox;
  TApplicationEvents* aeMessages;
};

template <class TWindow, class TMessage>
class TsgListManager : public iLIST_CALLBACK<int> {
 public:
  TsgListManager() = default;
  void RemoveMessage(int id) override;
  void SelectMessage(int id) override;
  virtual ~TsgListManager();
  virtual int AddMessage();
  virtual bool IsEmpty();
  virtual void ShowMessages();
  virtual int GetCount() const { return static_cast<int>(messages_.size()); }

  // Runs while the window is up (tests and whoever drives the window).
  std::function<void(TWindow* window)> OnWindowShown;
  TWindow* Window() const { return window_; }

 protected:
  bool active_ = true;
  std::map<int, std::unique_ptr<TMessage>> messages_;
  TWindow* window_ = nullptr;
  int selected_ = -1;
  int rowsHeight_ = 0;
  platform::CriticalSection lock_;
};

template <class TWindow>
class TsgMessageManager : public TsgListManager<TWindow, TMessageObject> {
 public:
  virtual std::wstring GetMessageText(int id);
  virtual std::wstring GetMessageTime(int id);
  virtual void SetMessageText(int id, const std::wstring& text);
  virtual int GetSelectedId();
  virtual void Select(int id) { this->SelectMessage(id); }
  virtual void RemoveSelected();
};

using TMessageManager = TsgMessageManager<TfmMessageManager>;

}  // namespace app
