#include "viewer/contextmenu/TsgEditor.h"

#include <memory>
#include <vector>

#include "platform/windows/Messages.h"
#include "viewer/contextmenu/TfmEditor.h"
#include "viewer/engine/EngineMessages.h"

using E = TsgEditor<TfmEditor, System::WideString>;

System::WideString E::Edit(int32_t x, int32_t y, const System::WideString& text) {
  auto form = std::make_unique<TfmEditor>(nullptr);
  form->SetFormVisible(false);
  form->SetFormTop(y);
  form->SetFormLeft(x);
  form->SetText(text);
  if (OnDialogShown) OnDialogShown(*form);
  form->ShowModal();
  const System::WideString result = form->GetText();
  cancelled_ = form->IsCancelled();
  return result;
}

System::WideString TsgAnnotationEditor::EditAt(int32_t x, int32_t y, platform::WindowHandle engine) {
  auto form = std::make_unique<TfmEditor>(nullptr);
  form->SetFormVisible(false);
  if (engine) form->SetSource(engine, ORN_image::engine_msg::kRequestAnnotationText, ORN_image::engine_msg::kAnnotationText);
  form->SetFormTop(y);
  form->SetFormLeft(x);
  if (OnDialogShown) OnDialogShown(*form);
  form->ShowModal();
  const System::WideString result = form->GetText();
  cancelled_ = form->IsCancelled();
  if (engine && !(cancelled_ && !form->TextReceived())) {
    std::vector<uint8_t> bytes;
    bytes.reserve(result.size() * 2);
    for (wchar_t c : result) {
      bytes.push_back(static_cast<uint8_t>(c & 0xFF));
      bytes.push_back(static_cast<uint8_t>((c >> 8) & 0xFF));
    }
    const platform::CopyDataStruct record{ORN_image::engine_msg::kAnnotationText, static_cast<uint32_t>(bytes.size()), bytes.data()};
    platform::SendMessage(engine, platform::kWmCopyData, 0, reinterpret_cast<platform::LParam>(&record));
  }
  return result;
}
