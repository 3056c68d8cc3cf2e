#include "app/widgets/StudyStatusControl.h"

#include "app/support/PropertiesPage.h"
#include "platform/text/CodePageConversion.h"
#include "platform/vcl/Menus.h"

namespace app {

namespace {

// Study UIDs arrive as 8-bit texts of the ANSI code page.
std::wstring WideUid(const std::string& uid) {
  std::wstring wide;
  if (!platform::MultiByteToWide(0, uid, wide)) wide.assign(uid.begin(), uid.end());
  return wide;
}

// A page with at least one child element, read from a text; false when there is none.
bool OpenPage(TsgPropertiesPage& page, const std::wstring& text) {
  if (text.empty()) return false;
  if (!page.Init(text, -1) || page.PopErrorFlag()) return false;
  return page.FirstChild();
}

// The state pictures of a status: its icon under "checked", "normal" and "hot", and a grey
// copy under "disabled". False when the icon cannot be read.
bool MakeStatusPictures(const std::wstring& iconFile, TVCLBitmapSet& set) {
  std::string path;
  if (!platform::WideToMultiByte(65001, iconFile, path)) return false;
  TBitmap icon;
  if (!LoadIconFile(path, icon)) return false;
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(icon.Width(), icon.Height());
  bitmap.Canvas()->Draw(0, 0, icon);
  set.AddBitmap("checked", &bitmap);
  set.AddBitmap("normal", &bitmap);
  set.AddBitmap("hot", &bitmap);
  for (int y = 0; y < bitmap.Height(); ++y) {
    uint8_t* row = bitmap.ScanLine(y);
    for (int x = 0; x < bitmap.Width(); ++x) {
      uint8_t* p = row + 3 * x;  // B, G, R
      const auto grey = static_cast<uint8_t>(0.3 * p[2] + 0.59 * p[1] + 0.11 * p[0]);
      p[0] = p[1] = p[2] = grey;
    }
  }
  set.AddBitmap("disabled", &bitmap);
  return true;
}

}  // namespace

template <class TButton, class TText>
TsgStudyStatusControl<TButton, TText>::TsgStudyStatusControl() : popup_(this) {}

template <class TButton, class TText>
TsgStudyStatusControl<TButton, TText>::~TsgStudyStatusControl() = default;

template <class TButton, class TText>
void TsgStudyStatusControl<TButton, TText>::OnCheckItem(const std::string&, int, bool) {}

template <class TButton, class TText>
void TsgStudyStatusControl<TButton, TText>::OnRadioItem(const std::string&, int tag, bool) {
  if (tag != -1) ApplyStatus(ValidateStatusId(tag));
}

template <class TButton, class TText>
void TsgStudyStatusControl<TButton, TText>::OnMenuItem(const std::string&, int) {}

template <class TButton, class TText>
bool TsgStudyStatusControl<TButton, TText>::AttachButton(TButton* button) {
  if (!button) return false;
  button_ = button;
  if (button->DropdownMenu) popup_.AttachTo(button->DropdownMenu->Items());
  savedOnClick_ = button->OnClick;
  button->OnClick = [this](TObject* sender) { OnButtonClick(sender); };
  UpdateButton();
  return true;
}

template <class TButton, class TText>
bool TsgStudyStatusControl<TButton, TText>::LoadStatuses(const TText& definitions, const TText& iconFolder) {
  TsgPropertiesPage page;
  // Unreadable definitions keep the table and the menu built from it: the items are named by
  // the popup, so building them again would show every status twice.
  if (!OpenPage(page, definitions)) return !statuses_.empty();
  {
    popup_.Clear();
    TText folder = iconFolder;
    do {
      const enSTATUSES_ID id = ValidateStatusId(page.GetChildAttribute<int32_t>(L"StatusID", -1, -1));
      const TText statusName = page.GetChildAttribute<std::wstring>(L"StatusName", L"", -1);
      const TText displayName = page.GetChildAttribute<std::wstring>(L"DisplayName", L"", -1);
      TText iconFile = page.GetChildAttribute<std::wstring>(L"IconFileName", L"", -1);
      const bool manual = page.GetChildAttribute<bool>(L"Manual", true, -1);
      if (statusName == openingName_) onOpen_ = id;
      if (statusName == closingName_) onClose_ = id;
      if (!iconFile.empty() && !folder.empty()) {
        if (folder.back() != L'/') folder += L'/';  // the path separator here
        iconFile = folder + iconFile;
      }
      statuses_[id] = std::make_unique<TsgStudyStatus>(id, statusName, displayName, iconFile, manual);
    } while (page.NextChild());
  }

  const int group = popup_.NextGroupIndex();
  for (const auto& [id, status] : statuses_) {
    // Menu items get names of the popup's own making: a status name need not be an
    // identifier, and two definitions may share one.
    if (!status->GetIconFileName().empty()) {
      TVCLBitmapSet pictures;
      if (!MakeStatusPictures(status->GetIconFileName(), pictures)) continue;
      if (status->IsManual())
        popup_.AddRadioItem("", status->GetDisplayName(), status->GetDisplayName(), id, &pictures, 0, true, false,
                            static_cast<uint8_t>(group));
      else
        popup_.SetItemBitmaps(id, &pictures);
    } else if (status->IsManual()) {
      popup_.AddRadioItem("", status->GetDisplayName(), status->GetDisplayName(), id, nullptr, 0, true, false,
                          static_cast<uint8_t>(group));
    }
  }
  return true;
}

template <class TButton, class TText>
bool TsgStudyStatusControl<TButton, TText>::LoadStudyStates(const TText& text) {
  TsgPropertiesPage page;
  if (!OpenPage(page, text)) return false;
  do {
    const std::wstring uid = page.GetChildAttribute<std::wstring>(L"StudyUID", L"", -1);
    const enSTATUSES_ID id = ValidateStatusId(page.GetChildAttribute<int32_t>(L"StatusID", -1, -1));
    if (!uid.empty() && id != -1) states_[uid] = std::make_unique<TsgStudyState>(id);
  } while (page.NextChild());
  return true;
}

template <class TButton, class TText>
TsgStudyState* TsgStudyStatusControl<TButton, TText>::State(const std::string& studyUid) const {
  if (studyUid.empty()) return nullptr;
  auto it = states_.find(WideUid(studyUid));
  return it == states_.end() ? nullptr : it->second.get();
}

template <class TButton, class TText>
const TsgStudyStatus* TsgStudyStatusControl<TButton, TText>::Definition(int id) const {
  auto it = statuses_.find(static_cast<enSTATUSES_ID>(id));
  return it == statuses_.end() ? nullptr : it->second.get();
}

template <class TButton, class TText>
bool TsgStudyStatusControl<TButton, TText>::IsStudyOpened(const std::string& studyUid) const {
  const TsgStudyState* state = State(studyUid);
  return state && state->IsOpened();
}

template <class TButton, class TText>
bool TsgStudyStatusControl<TButton, TText>::SelectStudy(const std::string& studyUid) {
  TsgStudyState* state = State(studyUid);
  if (!state) return false;
  const enSTATUSES_ID current = state->GetStatus();
  if (onOpen_ >= 1 && onOpen_ <= 17 && current < onOpen_) {
    ApplyStatus(onOpen_);
    return true;
  }
  if (onOpen_ == -1 && current == 4) {
    ApplyStatus(6);
    return true;
  }
  if (!state->IsOpened()) state->Open(current);
  next_ = NextManualStatus(current);
  UpdateButton();
  popup_.CheckItemsWithTag(current);
  return true;
}

template <class TButton, class TText>
TText TsgStudyStatusControl<TButton, TText>::GetStudyStatusText(const std::string& studyUid) const {
  const TsgStudyState* state = State(studyUid);
  const TsgStudyStatus* status = state ? Definition(state->GetStatus()) : nullptr;
  return status ? status->GetDisplayName() : TText();
}

template <class TButton, class TText>
TText TsgStudyStatusControl<TButton, TText>::GetStudyStatusIconFileName(const std::string& studyUid) const {
  const TsgStudyState* state = State(studyUid);
  const TsgStudyStatus* status = state ? Definition(state->GetStatus()) : nullptr;
  return status ? status->GetIconFileName() : TText();
}

template <class TButton, class TText>
TText TsgStudyStatusControl<TButton, TText>::GetButtonIconFileName() const {
  const TsgStudyStatus* status = next_ > 0 ? Definition(next_) : nullptr;
  return status ? status->GetIconFileName() : TText();
}

template <class TButton, class TText>
bool TsgStudyStatusControl<TButton, TText>::GetStudyStatusIcon(const std::string& studyUid, TBitmap* bitmap,
                                                              const std::string& stateName) const {
  const TsgStudyState* state = State(studyUid);
  if (!state) return false;
  return popup_.GetItemBitmap(state->GetStatus(), stateName, bitmap);
}

template <class TButton, class TText>
bool TsgStudyStatusControl<TButton, TText>::GetButtonIcon(TBitmap* bitmap, const std::string& stateName) const {
  if (stateName.empty() || next_ <= 0) return false;
  return popup_.GetItemBitmap(next_, stateName, bitmap);
}

template <class TButton, class TText>
TText TsgStudyStatusControl<TButton, TText>::GetHint() const {
  const TsgStudyStatus* status = next_ > 0 ? Definition(next_) : nullptr;
  return status ? status->GetDisplayName() : TText();
}

template <class TButton, class TText>
int TsgStudyStatusControl<TButton, TText>::GetStudyStatus(const std::string& studyUid) const {
  const TsgStudyState* state = State(studyUid);
  return state ? state->GetStatus() : -1;
}

template <class TButton, class TText>
void TsgStudyStatusControl<TButton, TText>::SetStudyStatus(const std::string& studyUid, int status) {
  TsgStudyState* state = State(studyUid);
  if (!state) return;
  const auto id = static_cast<enSTATUSES_ID>(status);
  if (state->IsOpened())
    state->SetStatus(id);
  else
    state->Open(id);
  next_ = NextManualStatus(id);
  UpdateButton();
  popup_.CheckItemsWithTag(id);
}

template <class TButton, class TText>
void TsgStudyStatusControl<TButton, TText>::ReadOpenCloseStatus(iWIDGET_RESOURCES* resources) {
  if (!resources) return;
  resources_ = resources;
  closingName_ = resources->GetStudyStatusSetting(L"StatusOnClose", L"");
  openingName_ = resources->GetStudyStatusSetting(L"StatusOnOpen", L"");
  popup_.SetResources(resources);
}

template <class TButton, class TText>
void TsgStudyStatusControl<TButton, TText>::ApplyStatusOnClose() {
  // The new statuses are decided first, then recorded and handed on with their study.
  std::vector<std::pair<std::wstring, enSTATUSES_ID>> changes;
  for (const auto& [uid, state] : states_) {
    if (!state->IsOpened() || state->IsChanged()) continue;
    const enSTATUSES_ID current = state->GetStatus();
    if (onClose_ >= 1 && onClose_ <= 17 && onClose_ > current)
      changes.emplace_back(uid, onClose_);
    else if (onClose_ == -1 && current == 6)
      changes.emplace_back(uid, 4);
  }
  for (const auto& [uid, status] : changes) {
    std::string narrow;
    if (!platform::WideToMultiByte(0, uid, narrow)) narrow.assign(uid.begin(), uid.end());
    states_[uid]->SetStatus(status);
    if (closeNotification) closeNotification(closeNotificationData, narrow, status);
  }
}

template <class TButton, class TText>
enSTATUSES_ID TsgStudyStatusControl<TButton, TText>::NextManualStatus(int status) const {
  auto s = static_cast<enSTATUSES_ID>(status);
  for (;;) {
    auto it = statuses_.upper_bound(s);
    if (it == statuses_.end()) return -1;
    if (it->second->IsManual()) return it->first;
    s = it->first;
  }
}

template <class TButton, class TText>
void TsgStudyStatusControl<TButton, TText>::ApplyStatus(int status) {
  next_ = NextManualStatus(status);
  UpdateButton();
  if (notification) notification(notificationData, status);
}

template <class TButton, class TText>
void TsgStudyStatusControl<TButton, TText>::UpdateButton() {
  if (!button_) return;
  button_->SetEnabled(next_ != -1);
  button_->Invalidate();
}

template <class TButton, class TText>
void TsgStudyStatusControl<TButton, TText>::OnButtonClick(TObject* sender) {
  if (next_ == -1) return;
  ApplyStatus(next_);
  if (savedOnClick_) savedOnClick_(sender);
}

template class TsgStudyStatusControl<TToolButton, std::wstring>;

}  // namespace app
