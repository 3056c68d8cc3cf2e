// The main window's study-status model: the host's status definitions, the status of each
// study of the current patient, the next-status tool button and its owner-drawn drop-down
// menu. It applies the opening status when a study is selected and the closing status when
// the viewer closes; every status it applies goes to the owner through a notification.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "app/widgets/DynamicPopup.h"
#include "app/widgets/WidgetResources.h"
#include "platform/vcl/ComCtrls.h"

namespace app {

// A status identifier: 1 to 17, or -1 for none.
using enSTATUSES_ID = int8_t;

class TsgStudyStatus {
 public:
  TsgStudyStatus(enSTATUSES_ID id, std::wstring statusName, std::wstring displayName, std::wstring iconFileName,
                 bool manual)
      : id_(id), statusName_(std::move(statusName)), iconFileName_(std::move(iconFileName)),
        displayName_(std::move(displayName)), manual_(manual) {}
  virtual ~TsgStudyStatus() = default;
  virtual enSTATUSES_ID GetId() const { return id_; }
  virtual std::wstring GetStatusName() const { return statusName_; }
  virtual std::wstring GetDisplayName() const { return displayName_; }
  virtual std::wstring GetIconFileName() const { return iconFileName_; }
  virtual bool IsManual() const { return manual_; }

 private:
  enSTATUSES_ID id_;
  std::wstring statusName_;
  std::wstring iconFileName_;
  std::wstring displayName_;
  bool manual_;
};

class TsgStudyState {
 public:
  explicit TsgStudyState(enSTATUSES_ID status) : current_(status) {}
  virtual ~TsgStudyState() = default;
  virtual void Open(enSTATUSES_ID status) {
    current_ = opening_ = status;
    opened_ = true;
  }
  virtual bool IsOpened() const { return opened_; }
  virtual enSTATUSES_ID GetStatus() const { return current_; }
  virtual void SetStatus(enSTATUSES_ID status) { current_ = status; }
  virtual bool IsChanged() const { return opening_ != current_; }

 private:
  bool opened_ = false;
  enSTATUSES_ID current_;
  enSTATUSES_ID opening_ = -1;
};

template <class TButton, class TText>
class TsgStudyStatusControl {
 public:
  // The owner's handler of an applied status (the current study's).
  using StatusNotification = void (*)(void* userData, int status);
  // The owner's handler of a status the closing rule gives one study.
  using StudyStatusNotification = void (*)(void* userData, const std::string& studyUid, int status);

  TsgStudyStatusControl();
  virtual ~TsgStudyStatusControl();
  TsgStudyStatusControl(const TsgStudyStatusControl&) = delete;
  TsgStudyStatusControl& operator=(const TsgStudyStatusControl&) = delete;

  // Notifications of the popup.
  virtual void OnCheckItem(const std::string& name, int tag, bool checked);
  virtual void OnRadioItem(const std::string& name, int tag, bool checked);
  virtual void OnMenuItem(const std::string& name, int tag);

  virtual bool AttachButton(TButton* button);
  virtual bool LoadStatuses(const TText& definitions, const TText& iconFolder);
  virtual bool LoadStudyStates(const TText& states);
  virtual bool SelectStudy(const std::string& studyUid);
  virtual TText GetStudyStatusText(const std::string& studyUid) const;
  virtual TText GetStudyStatusIconFileName(const std::string& studyUid) const;
  virtual TText GetButtonIconFileName() const;
  virtual bool GetStudyStatusIcon(const std::string& studyUid, TBitmap* bitmap, const std::string& state) const;
  virtual bool GetButtonIcon(TBitmap* bitmap, const std::string& state) const;
  virtual TText GetHint() const;
  virtual int GetStudyStatus(const std::string& studyUid) const;
  virtual void SetStudyStatus(const std::string& studyUid, int status);
  virtual void ReadOpenCloseStatus(iWIDGET_RESOURCES* resources);
  virtual void ApplyStatusOnClose();

  static enSTATUSES_ID ValidateStatusId(int n) { return n >= 1 && n <= 17 ? static_cast<enSTATUSES_ID>(n) : -1; }
  enSTATUSES_ID NextManualStatus(int status) const;
  void ApplyStatus(int status);
  void UpdateButton();
  void OnButtonClick(TObject* sender);

  // Installed by the owner before it attaches the button.
  StatusNotification notification = nullptr;
  void* notificationData = nullptr;
  StudyStatusNotification closeNotification = nullptr;
  void* closeNotificationData = nullptr;

  TVCLDynamicPopup<TsgStudyStatusControl>& Popup() { return popup_; }
  enSTATUSES_ID GetNextStatus() const { return next_; }
  enSTATUSES_ID GetStatusOnOpen() const { return onOpen_; }
  enSTATUSES_ID GetStatusOnClose() const { return onClose_; }
  const TsgStudyStatus* Definition(int id) const;
  bool IsStudyOpened(const std::string& studyUid) const;

 private:
  TsgStudyState* State(const std::string& studyUid) const;

  std::map<enSTATUSES_ID, std::unique_ptr<TsgStudyStatus>> statuses_;
  std::map<std::wstring, std::unique_ptr<TsgStudyState>> states_;
  TVCLDynamicPopup<TsgStudyStatusControl> popup_;
  TButton* button_ = nullptr;
  iWIDGET_RESOURCES* resources_ = nullptr;
  TNotifyEvent savedOnClick_;
  enSTATUSES_ID next_ = -1;
  enSTATUSES_ID onOpen_ = -1;
  enSTATUSES_ID onClose_ = -1;
  TText openingName_;
  TText closingName_;
};

extern template class TsgStudyStatusControl<TToolButton, std::wstring>;
using TStudyStatusControl = TsgStudyStatusControl<TToolButton, std::wstring>;

}  // namespace app
