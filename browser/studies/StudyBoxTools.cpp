// The study box's header tools (lossy switch, key images, attachments, status picture), the
// wheel-navigation block, the study navigator with its auto-repeat, and the GUI settings.
#include <algorithm>

#include "app/startup/TResourceInitialization.h"
#include "app/support/PropertiesPage.h"
#include "browser/studies/TFrameStudyBox.h"
#include "platform/vcl/SysUtils.h"
#include "platform/windows/Messages.h"

namespace ORN_browser {

namespace {

constexpr char kModalitySeparators[] = "\\,.:;";

}  // namespace

// ---- Lossy switch ----

void TFrameStudyBox::SetLossyState(int state) {
  tbLossy->SetVisible(state != -1);
  if (state != -1) tbLossy->SetDown(state != 0);
  UpdateKeyImageSeparator();
  for (int i = 0; i < TileCount(); ++i) tileSet_->Tile(i)->SetLossy(state);
}

bool TFrameStudyBox::ConfirmLossySwitch() {
  if (!promptLossySwitch_) return true;
  return Application->MessageBox(reinitializeText_ + L"\n" + confirmText_, captionText_, MB_ICONQUESTION | MB_OKCANCEL) ==
         IDOK;
}

void TFrameStudyBox::tbLossyClick(TObject*) {
  if (!tileSet_) return;
  if (!ConfirmLossySwitch()) {
    tbLossy->SetDown(!tbLossy->Down());
    return;
  }
  const int mode = tbLossy->Down() ? 1 : 0;
  for (int i = 0; i < TileCount(); ++i) tileSet_->Tile(i)->SetLossy(mode);
}

int TFrameStudyBox::HandleStudyLossyRequest(bool value) {
  if (!tileSet_ || !ConfirmLossySwitch()) return 0;
  tbLossy->SetDown(value);
  for (int i = 0; i < TileCount(); ++i) tileSet_->Tile(i)->SetLossy(value ? 1 : 0);
  return 1;
}

void TFrameStudyBox::UpdateKeyImageSeparator() {
  ToolButton5->SetVisible(tbKeyImagesStack->Visible() || tbLossy->Visible());
}

// ---- Key images and attachments ----

void TFrameStudyBox::tbKeyImagesStackClick(TObject*) {
  if (!tileSet_ || tileSet_->GetKeyImageStackIndex() < 0) return;
  HandleTileSelected(tileSet_->GetKeyImageStack(), true);
}

void TFrameStudyBox::SaveTransientKeyImages() {
  for (int i = 0; i < TileCount(); ++i) {
    iSTACK_TILE* tile = tileSet_->Tile(i);
    if (tile->IsKeyImageTile()) {
      tile->SaveTransientKeyImages();
      return;
    }
  }
}

int TFrameStudyBox::GetTransientKeyImageCount() const {
  for (int i = 0; i < TileCount(); ++i) {
    iSTACK_TILE* tile = tileSet_->Tile(i);
    if (tile->IsKeyImageTile() && tile->GetTransientKeyImageCount() != 0) return tile->GetTransientKeyImageCount();
  }
  return 0;
}

void TFrameStudyBox::SetAttachments(const System::AnsiString& text) {
  attachments_ = text;
  tbOpenAttachments->SetVisible(!text.empty());
  ToolButton1->SetVisible(!text.empty());
}

void TFrameStudyBox::tbOpenAttachmentsClick(TObject*) {
  if (OnOpenAttachments && !attachments_.empty()) OnOpenAttachments(attachments_);
}

// ---- Study status ----

void TFrameStudyBox::SetStatusImage(bool visible, TBitmap* bitmap) {
  if (visible) {
    bvStudyStatus->SetAlign(alNone);
    imgStudyStatus->SetAlign(alNone);
  }
  bvStudyStatus->SetVisible(visible);
  imgStudyStatus->SetVisible(visible);
  if (visible) {
    // The picture at the header's right edge, the bevel left of it.
    imgStudyStatus->SetAlign(alRight);
    bvStudyStatus->SetAlign(alRight);
    pnlHeaderMain->SetChildIndex(pnlHederTools, 0);
    pnlHeaderMain->SetChildIndex(imgStudyStatus, 1);
    pnlHeaderMain->SetChildIndex(bvStudyStatus, 2);
  }
  if (bitmap) {
    imgStudyStatus->Picture()->Assign(*bitmap);
    imgStudyStatus->Invalidate();
  }
}

void TFrameStudyBox::SetStatusHint(const std::wstring& text) {
  if (text.empty()) return;
  imgStudyStatus->SetHint(text);
  imgStudyStatus->ShowHint = true;
}

// ---- Wheel ----

bool TFrameStudyBox::AllowsWheelNavigation(const System::AnsiString& modality) const {
  if (blockedModalities_.empty()) return true;
  const System::AnsiString wanted = ::Trim(modality);
  System::AnsiString text = ::Trim(blockedModalities_);
  while (!text.empty()) {
    const size_t cut = text.find_last_of(kModalitySeparators);
    const System::AnsiString token = cut == System::AnsiString::npos ? text : text.substr(cut + 1);
    if (::Trim(token) == wanted) return false;
    text = cut == System::AnsiString::npos ? System::AnsiString() : text.substr(0, cut);
  }
  return true;
}

bool TFrameStudyBox::HandleWheelOutside(int x, int y, int delta, int keyState) {
  bool taken = false;
  for (int i = 0; i < TileCount(); ++i) {
    taken = tileSet_->Tile(i)->ForwardMouseWheel(x, y, static_cast<int16_t>(delta), static_cast<int16_t>(keyState));
    if (taken) break;
  }
  return taken;
}

// ---- Study navigator ----

bool TFrameStudyBox::LocateNavigatorPosition(int index, int& tile, int& image) const {
  for (int i = 0; i < TileCount(); ++i) {
    const int count = tileSet_->Tile(i)->GetImageCount();
    if (index < count) {
      if (index < 0) return false;
      tile = i;
      image = index;
      return true;
    }
    index -= count;
  }
  return false;
}

int TFrameStudyBox::GetNavigatorPosition(iSTACK_TILE* tile, int mode) const {
  int sum = 0, i = 0;
  for (; i < TileCount(); ++i) {
    if (tileSet_->Tile(i) == tile) break;
    sum += tileSet_->Tile(i)->GetImageCount();
  }
  if (!tile || i == TileCount()) return -1;
  const int current = tile->GetCurrentImage();
  if (current < 0) return sum + 1;
  if (mode == 0) return sum + current + 1;
  if (mode < 0) return sum + tile->GetImageCount();
  return sum + 1;
}

iSTACK_TILE* TFrameStudyBox::GetSelectedStack() const {
  for (int i = 0; i < TileCount(); ++i)
    if (tileSet_->Tile(i)->IsSelected()) return tileSet_->Tile(i);
  return nullptr;
}

void TFrameStudyBox::SyncNavigatorToSelection(int mode) {
  iSTACK_TILE* tile = GetSelectedStack();
  if (!tile) return;
  const int position = GetNavigatorPosition(tile, mode);
  if (position >= 0) TrackBarStadyNavigator->SetPosition(position);
}

void TFrameStudyBox::SetNavigatorPositionDetached(int position) {
  TrackBarStadyNavigator->OnChange = nullptr;
  TrackBarStadyNavigator->SetPosition(position);
  TrackBarStadyNavigator->OnChange = trackBarChange_;
}

bool TFrameStudyBox::EnsureNavigatorShowsPosition() {
  if (!tileSet_) return false;
  int tile = -1, image = -1;
  if (LocateNavigatorPosition(TrackBarStadyNavigator->Position() - 1, tile, image) &&
      tileSet_->Tile(tile)->IsSelected())
    return true;
  TrackBarStadyNavigatorChange(TrackBarStadyNavigator);
  return false;
}

void TFrameStudyBox::TrackBarStadyNavigatorChange(TObject*) {
  if (destroying_) return;
  ++changeDepth_;
  if (changeDepth_ == 1 && !navigatorBusy_) {
    try {
      int p = 0;
      do {
        p = TrackBarStadyNavigator->Position();
        int tile = -1, image = -1;
        if (LocateNavigatorPosition(p - 1, tile, image)) {
          iSTACK_TILE* t = tileSet_->Tile(tile);
          t->SetShown(true);
          t->NotifyActivation(true);
          t->GoToImage(image);
          lastNavigatorStack_ = tile;
          lastNavigatorImage_ = image;
        }
        Application->ProcessMessages();
      } while (!destroying_ && changeDepth_ != 0 && repeatDirection_ == 0 && TrackBarStadyNavigator->Position() != p);
    } catch (...) {
      // A stack that cannot show its image ends the walk; the next change starts afresh.
    }
  }
  if (changeDepth_ > 0) --changeDepth_;
  if (changeDepth_ < 0) changeDepth_ = 0;
}

void TFrameStudyBox::TrackBarStadyNavigatorEnter(TObject*) {
  if (OnNavigatorActivity) OnNavigatorActivity(nullptr);
  changeDepth_ = 0;
  SyncNavigatorToSelection(0);
}

void TFrameStudyBox::DrainTimerMessages() {
  // Window timers here call the window procedure directly when they fire and never queue a
  // tick, so a killed timer leaves no stale tick behind: nothing to remove.
}

void TFrameStudyBox::ArmRepeatTimer() {
  repeatTimerArmed_ = platform::SetTimer(Handle(), repeatTimerId_, kRepeatTickMs) != 0;
}

void TFrameStudyBox::KillRepeatTimer() {
  if (repeatTimerArmed_) platform::KillTimer(Handle(), repeatTimerId_);
  repeatTimerArmed_ = false;
}

void TFrameStudyBox::StartRepeat(int direction) {
  DrainTimerMessages();
  repeatDirection_ = direction;
  navigatorBusy_ = false;
  changeDepth_ = 0;
  if (OnNavigatorActivity) OnNavigatorActivity(this);
  SyncNavigatorToSelection(0);
  EnsureNavigatorShowsPosition();
  if (repeatDirection_ == direction) ArmRepeatTimer();
}

void TFrameStudyBox::StopRepeat(bool processMessages) {
  KillRepeatTimer();
  DrainTimerMessages();
  repeatDirection_ = 0;
  navigatorBusy_ = false;
  if (processMessages) Application->ProcessMessages();
  changeDepth_ = 0;
  if (processMessages) Application->ProcessMessages();
}

void TFrameStudyBox::sbForwardClick(TObject*) {
  if (repeatDirection_ == 1) {
    if (!sbForward->Down()) StopRepeat(false);
  } else if (repeatDirection_ == -1) {
    if (sbForward->Down()) {
      KillRepeatTimer();
      StartRepeat(1);
    }
  } else if (sbForward->Down()) {
    StartRepeat(1);
  }
}

void TFrameStudyBox::sbBackClick(TObject*) {
  if (repeatDirection_ == -1) {
    if (!sbBack->Down()) StopRepeat(true);
  } else if (repeatDirection_ == 1) {
    if (sbBack->Down()) {
      KillRepeatTimer();
      StartRepeat(-1);
    }
  } else if (sbBack->Down()) {
    StartRepeat(-1);
  }
}

void TFrameStudyBox::StartNavigatorForward() {
  if (sbForward->Down()) return;
  sbForward->SetDown(true);
  sbForwardClick(sbForward);
}

void TFrameStudyBox::StopNavigator() {
  if (sbForward->Down()) {
    sbForward->SetDown(false);
    sbForwardClick(sbForward);
  } else if (sbBack->Down()) {
    sbBack->SetDown(false);
    sbBackClick(sbBack);
  }
}

void TFrameStudyBox::PauseNavigatorRepeat(iSTACK_TILE*) {
  if (repeatDirection_ != 0 && !navigatorBusy_) navigatorBusy_ = true;
}

void TFrameStudyBox::ResumeNavigatorAt(iSTACK_TILE* tile) {
  const int position = GetNavigatorPosition(tile, 0);
  if (position >= 0) TrackBarStadyNavigator->SetPosition(position);
  navigatorBusy_ = false;
}

void TFrameStudyBox::HandleWorkAreaRightDown(iSTACK_TILE*) { StopNavigator(); }

void TFrameStudyBox::SyncNavigatorToStack(iSTACK_TILE* tile) {
  const int position = GetNavigatorPosition(tile, 0);
  if (position >= 0) TrackBarStadyNavigator->SetPosition(position);
}

// ---- GUI settings ----

namespace {

// A picture from the images module, sized to the list (cropped or padded), transparent at the
// pixel of column 0 of its bottom row.
int AddResourcePicture(platform::ResourceModuleHandle module, const std::wstring& name, TImageList* list) {
  TBitmap b;
  b.SetPixelFormat(pf24bit);
  b.Transparent = true;
  b.LoadFromResourceName(module, name);
  const TColor transparent = b.Empty() ? clBlack : b.Canvas()->Pixel(0, b.Height() - 1);
  b.SetSize(list->Width, list->Height);
  return list->AddMasked(&b, transparent);
}

}  // namespace

void TFrameStudyBox::ApplyGuiSettings(app::TResourceInitialization* resources) {
  if (!resources) return;
  const std::wstring pageText = resources->GetText(L"GUI_STUDY_BOX");
  promptLossySwitch_ = resources->GetGuiDefaultBool(L"PromptLossySwitch", promptLossySwitch_);
  if (auto* base = resources->GetBaseIniCache())
    blockedModalities_ = base->ReadString("GUI CONFIG", "BlockWheelNavigationThroughStudy", "");
  if (tileSet_) tileSet_->ApplyGuiResources(resources);

  app::TsgPropertiesPage page;
  if (!pageText.empty() && page.Init(pageText, -1) && !page.PopErrorFlag() && page.SeekChild(L"tbSystem")) {
    // The tool bar's section: button size and the four lists (this box's own).
    app::TsgPropertiesPage section;
    if (section.Init(page.GetSectionXML(L"tbSystem", -1), -1) && !section.PopErrorFlag()) {
      const int height = section.GetAttribute<int>(L"button_height", 24, -1);
      const int width = section.GetAttribute<int>(L"button_width", 24, -1);
      ilNormal16x16->Clear();
      ilStore16x16->Clear();
      ilHot16x16->Clear();
      ilDisabled16x16->Clear();
      for (TImageList* list : {ilNormal16x16, ilStore16x16, ilHot16x16, ilDisabled16x16}) {
        list->Height = std::max(height - 8, 1);
        list->Width = std::max(width - 8, 1);
      }
      tbSystem->ButtonWidth = width;
      tbSystem->ButtonHeight = height;
      const platform::ResourceModuleHandle module = resources->GetImagesModule();
      for (int i = 0; i < tbSystem->ControlCount(); ++i) {
        auto* button = dynamic_cast<TToolButton*>(tbSystem->Controls(i));
        if (!button || button->Style() == tbsSeparator) continue;
        TButtonImages images;
        if (section.SeekChild(std::wstring(button->Name().begin(), button->Name().end()))) {
          const std::wstring image = section.GetChildAttribute<std::wstring>(L"image", L"", -1);
          const std::wstring pressed = section.GetChildAttribute<std::wstring>(L"pressed", L"", -1);
          const std::wstring hot = section.GetChildAttribute<std::wstring>(L"hot", L"", -1);
          const std::wstring disabled = section.GetChildAttribute<std::wstring>(L"disabled", L"", -1);
          if (!image.empty()) {
            button->SetImageIndex(AddResourcePicture(module, image, ilNormal16x16));
            images.normalIndex = AddResourcePicture(module, image, ilStore16x16);
          }
          if (!pressed.empty() && images.normalIndex >= 0)
            images.pressedIndex = AddResourcePicture(module, pressed, ilStore16x16);
          if (!hot.empty()) AddResourcePicture(module, hot, ilHot16x16);
          if (!disabled.empty()) AddResourcePicture(module, disabled, ilDisabled16x16);
        } else {
          // A button the page does not name keeps its designed picture.
          TBitmap designed;
          if (imlIcons->GetBitmap(button->ImageIndex(), &designed)) {
            TBitmap sized;
            sized.SetSize(ilNormal16x16->Width, ilNormal16x16->Height);
            sized.Canvas()->Brush.Color = 0xFF00FF;
            sized.Canvas()->FillRect(Rect(0, 0, sized.Width(), sized.Height()));
            sized.Canvas()->StretchDraw(Rect(0, 0, sized.Width(), sized.Height()), designed);
            button->SetImageIndex(ilNormal16x16->AddMasked(&sized, 0xFF00FF));
            ilHot16x16->AddMasked(&sized, 0xFF00FF);
            ilDisabled16x16->AddMasked(&sized, 0xFF00FF);
            images.normalIndex = ilStore16x16->AddMasked(&sized, 0xFF00FF);
          }
        }
        skinned_[button] = images;
        button->UpdateLook();
      }
      if (ilNormal16x16->Count() > 0) tbSystem->Images = ilNormal16x16;
      for (int i = 0; i < tbSystem->ControlCount(); ++i)
        if (auto* b = dynamic_cast<TToolButton*>(tbSystem->Controls(i))) b->UpdateLook();
      const int header = height + 4;
      pnlHeaderMain->SetHeight(header);
      maxHeight_ = (tileSet_ ? tileSet_->GetFullHeight() : 0) + height + 6;
      SetHeight(height + 6);
      LayoutTitle();
    }
  }

  const std::wstring strings = resources->GetText(L"GUI_STRINGS");
  app::TsgPropertiesPage texts;
  if (!strings.empty() && texts.Init(strings, -1) && !texts.PopErrorFlag()) {
    const auto read = [&texts](const wchar_t* name, std::wstring& text) {
      if (texts.SeekChild(name)) text = texts.GetChildAttribute<std::wstring>(L"value", text, -1);
    };
    read(L"msgWarningCaption", captionText_);
    read(L"msgQueryReinitializeStacks", reinitializeText_);
    read(L"msgQueryToConfirm", confirmText_);
  }
}

}  // namespace ORN_browser
