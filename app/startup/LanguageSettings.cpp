#include "app/startup/LanguageSettings.h"

#include <algorithm>
#include <cwctype>

#include "platform/com/Library.h"

namespace app {

namespace {

std::function<void(TFormLanguageSettings*)>& DialogHook() {
  static std::function<void(TFormLanguageSettings*)> hook;
  return hook;
}

// The folder of a path, without its separator; empty when it has none.
System::AnsiString FolderOf(const System::AnsiString& path) {
  const size_t slash = path.rfind('/');
  return slash == System::AnsiString::npos ? System::AnsiString() : path.substr(0, slash);
}

System::AnsiString FileNameOf(const System::AnsiString& path) {
  const size_t slash = path.rfind('/');
  return slash == System::AnsiString::npos ? path : path.substr(slash + 1);
}

// The order of a sorted list box: letters without regard to case.
bool ListLess(const System::WideString& a, const System::WideString& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](wchar_t x, wchar_t y) {
    return std::towlower(static_cast<wint_t>(x)) < std::towlower(static_cast<wint_t>(y));
  });
}

}  // namespace

void SetLanguageDialogHook(std::function<void(TFormLanguageSettings*)> hook) { DialogHook() = std::move(hook); }

System::WideString TFormLanguageSettings::DisplayName(const System::AnsiString& fileName) {
  const size_t dll = fileName.find(".dll");
  if (dll == System::AnsiString::npos || dll == 0) return {};
  const size_t underscore = fileName.rfind('_', dll - 1);
  if (underscore == System::AnsiString::npos || underscore + 1 == dll) return {};
  return platform::Utf8ToWide(fileName.substr(underscore + 1, dll - underscore - 1));
}

TFormLanguageSettings::TFormLanguageSettings(TComponent* owner, System::AnsiString* chosen, bool* doNotShow)
    : TForm(owner), chosen_(chosen), doNotShow_(doNotShow) {
  SetCaption(L"Select Language");
  SetBorderStyle(bsDialog);
  SetFormStyle(fsStayOnTop);
  SetBounds(0, 0, 298, 138);
  StatusBar1 = new TPanel(this);
  StatusBar1->SetParent(this);
  StatusBar1->SetHeight(19);
  StatusBar1->SetAlign(alBottom);
  StatusBar1->Alignment = taLeftJustify;
  pnlMain = new TPanel(this);
  pnlMain->SetParent(this);
  pnlMain->SetAlign(alClient);
  Label1 = new TLabel(this);
  Label1->SetParent(pnlMain);
  Label1->SetCaption(L"Language");
  Label1->SetBounds(16, 16, 80, 16);
  cbLanguages = new TComboBox(this);
  cbLanguages->SetParent(pnlMain);
  cbLanguages->SetStyle(csDropDownList);
  cbLanguages->SetBounds(16, 36, 266, 22);
  cbLanguages->Anchors = akLeft | akTop | akRight;
  cbLanguages->OnChange = [this](TObject* sender) { cbLanguagesChange(sender); };
  bOk = new TButton(this);
  bOk->SetParent(pnlMain);
  bOk->SetCaption(L"Ok");
  bOk->SetBounds(126, 78, 75, 25);
  bOk->OnClick = [this](TObject* sender) { bOkClick(sender); };
  bCancel = new TButton(this);
  bCancel->SetParent(pnlMain);
  bCancel->SetCaption(L"Cancel");
  bCancel->SetBounds(207, 78, 75, 25);
  bCancel->OnClick = [this](TObject* sender) { bCancelClick(sender); };
  chboxDialog = new TCheckBox(this);
  chboxDialog->SetParent(pnlMain);
  chboxDialog->SetCaption(L"do not show this dialog");
  chboxDialog->SetBounds(16, 82, 104, 17);
  chboxDialog->SetVisible(false);

  folder_ = FolderOf(chosen_ ? *chosen_ : System::AnsiString());
  // An empty folder lists the root, as a search pattern without a folder does.
  listing_ = std::make_unique<ORN_std::TanFilesObject<>>(folder_.empty() ? System::AnsiString("/") : folder_);
  listing_->Clear(true);
  listing_->Rescan("Lingopack_*.dll", false, false);
  std::vector<System::WideString> items;
  for (int32_t i = 0; i < listing_->GetCount(); ++i) {
    const System::WideString name = DisplayName(listing_->At(i).GetName());
    if (!name.empty()) items.insert(std::upper_bound(items.begin(), items.end(), name, ListLess), name);
  }
  for (const auto& item : items) cbLanguages->AddItem(item);
  cbLanguages->SetItemIndex(-1);  // nothing selected until the current module is found
  // The current module is the item whose text is its file name's display name.
  const System::WideString current = DisplayName(FileNameOf(chosen_ ? *chosen_ : System::AnsiString()));
  for (int i = 0; i < cbLanguages->ItemCount(); ++i) {
    if (!current.empty() && cbLanguages->Item(i) == current) {
      cbLanguages->SetItemIndex(i);
      SetStatus(current);
      break;
    }
  }
}

TFormLanguageSettings::~TFormLanguageSettings() = default;

void TFormLanguageSettings::SetStatus(const System::WideString& item) {
  StatusBar1->SetCaption(L" Selected language : " + item);
}

void TFormLanguageSettings::cbLanguagesChange(TObject*) {
  const int index = cbLanguages->ItemIndex();
  SetStatus(index >= 0 ? cbLanguages->Item(index) : System::WideString());
}

void TFormLanguageSettings::bOkClick(TObject*) {
  const int index = cbLanguages->ItemIndex();
  const System::WideString item = index >= 0 ? cbLanguages->Item(index) : System::WideString();
  // The module whose file name gives exactly the chosen display name.
  for (int32_t i = 0; !item.empty() && i < listing_->GetCount(); ++i) {
    const System::AnsiString name = listing_->At(i).GetName();
    if (DisplayName(name) == item) {
      if (chosen_) *chosen_ = folder_ + "/" + name;
      break;
    }
  }
  if (doNotShow_) *doNotShow_ = chboxDialog->Checked();
  SetModalResult(mrOk);
}

void TFormLanguageSettings::bCancelClick(TObject*) { SetModalResult(mrCancel); }

bool ShowLanguageSettings(System::AnsiString* chosen, bool* doNotShow, const TRect* centre) {
  auto form = std::make_unique<TFormLanguageSettings>(nullptr, chosen, doNotShow);
  if (centre) {
    form->SetLeft((centre->Left + centre->Right - form->Width()) / 2);
    form->SetTop((centre->Top + centre->Bottom - form->Height()) / 2);
  }
  bool result = false;
  if (form->cbLanguages->ItemCount() > 1) {
    if (DialogHook()) DialogHook()(form.get());
    result = form->ShowModal() == mrOk;
  }
  return result;
}

}  // namespace app
