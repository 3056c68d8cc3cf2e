#include "browser/navigator/NavigatorLevels.h"

#include <algorithm>

#include "dicom/elements/charset/TanDicomAnsiToUnicode.h"
#include "dicom/entities/records/TanPatientIE.h"
#include "dicom/entities/records/TanStudyIE.h"
#include "fileset/dicomdir/TanDicomDirObject.h"
#include "platform/text/CodePageConversion.h"

namespace ORN_browser {

using ORN_dicomdir::TanPatientInfoObj;
using ORN_dicomdir::TanStackInfoObj;
using ORN_dicomdir::TanStudyInfoObj;

TColor TNavigatorGridColors::GridTitleColor = 0x808080;
TColor TNavigatorGridColors::GridTitleTextColor = 0xFFFFFF;
TColor TNavigatorGridColors::GridSelectedColor = 0x000000;
TColor TNavigatorGridColors::GridSelectedTextColor = 0xFFFFFF;
TColor TNavigatorGridColors::GridRowColor = 0xFFFFFF;
TColor TNavigatorGridColors::GridRowTextColor = 0x000000;

void TNavigatorGridColors::Reset() {
  GridTitleColor = 0x808080;
  GridTitleTextColor = 0xFFFFFF;
  GridSelectedColor = 0x000000;
  GridSelectedTextColor = 0xFFFFFF;
  GridRowColor = 0xFFFFFF;
  GridRowTextColor = 0x000000;
}

namespace {

const std::wstring kNumberTitle = L"\u00B9";

// 8-bit text shown through the ANSI code page.
std::wstring Ansi(const std::string& text) {
  std::wstring wide;
  if (!platform::MultiByteToWide(1252, text, wide)) wide.assign(text.begin(), text.end());
  return wide;
}

std::wstring Decoded(const std::string& characterSet, const std::string& text) {
  if (text.empty()) return {};
  return ORN_string_utils::TanDicomAnsiToUnicode().Decode(characterSet, text.data(), int64_t(text.size()));
}

std::wstring Number(int value) { return std::to_wstring(value); }

void ApplyTitles(const TNavigatorStyle& style, std::vector<TLevelColumn>& columns) {
  for (TLevelColumn& column : columns) {
    if (column.Key == nullptr) continue;
    ApplyGuiStrings(style.GuiStrings, {{column.Key, &column.Title, column.Count ? L"#" : L""}});
  }
}

}  // namespace

// The shared mechanics.

template <class Row>
TNavigatorLevelFrame<Row>::TNavigatorLevelFrame(TComponent* owner, const TNavigatorStyle& style,
                                                 std::vector<TLevelColumn> columns)
    : TFrame(owner), m_Style(style), m_Columns(std::move(columns)) {
  SetColor(clGray);
  pnlMain = new TPanel(this);
  pnlMain->SetParent(this);
  pnlMain->SetAlign(alClient);
  pnlMain->BevelOuter = bvNone;
  pnlMain->SetColor(clGray);
  pnlTableDesk = new TPanel(this);
  pnlTableDesk->SetParent(pnlMain);
  pnlTableDesk->SetAlign(alClient);
  pnlTableDesk->BevelOuter = bvNone;
  Grid = new TDrawGrid(this);
  Grid->SetParent(pnlTableDesk);
  Grid->SetAlign(alClient);
  Grid->FixedColor = clGray;
  Grid->SetMinSize(0, 51);
  Grid->Font.Name = style.GridFont.Name;
  Grid->Font.Size = m_Style.Scaled(style.GridFont.Size);
  Grid->Canvas()->Font = Grid->Font;
  Grid->SetGridLineWidth(m_Style.Scaled(1));
  Grid->SetDefaultRowHeight(m_Style.Scaled(24));
  ApplyTitles(m_Style, m_Columns);
  Grid->OnDrawCell = [this](TObject*, int col, int row, const TRect& rect, TGridDrawState) { DrawCell(col, row, rect); };
  Grid->OnClick = [this](TObject*) { ReportChoice(false); };
  Grid->OnDblClick = [this](TObject*) { ReportChoice(true); };
  Grid->OnSelectCell = [this](TObject*, int, int, bool&) { Grid->Invalidate(); };
  Grid->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) { Grid->Invalidate(); };
  OnResize = [this](TObject* sender) { FrameResize(sender); };
}

template <class Row>
void TNavigatorLevelFrame<Row>::LayoutColumns() {
  Grid->SetRowCount(int(m_Rows.size()) + 1);
  Grid->SetFixedRows(1);
  Grid->SetColCount(int(m_Columns.size()));
  TCanvas& canvas = *Grid->Canvas();
  canvas.Font = Grid->Font;
  int sum = 0;
  for (size_t c = 0; c < m_Columns.size(); ++c) {
    const TLevelColumn& column = m_Columns[c];
    const int title = canvas.TextWidth(Ansi([&] {
      std::string bytes;
      platform::WideToMultiByte(1252, column.Title, bytes);
      return bytes;
    }()));
    int width = 0;
    switch (column.Width) {
      case TColumnWidth::WW16: width = canvas.TextWidth(L"WW") + 16; break;
      case TColumnWidth::WW32: width = canvas.TextWidth(L"WW") + 32; break;
      case TColumnWidth::Title16: width = title + 16; break;
      case TColumnWidth::Title32: width = title + 32; break;
      case TColumnWidth::Text16:
      case TColumnWidth::Text32: {
        width = title + (column.Width == TColumnWidth::Text16 ? 16 : 32);
        for (const Row& row : m_Rows) width = std::max(width, canvas.TextWidth(Ansi(StoredText(row, int(c)))) + 16);
        break;
      }
    }
    width = m_Style.Scaled(width);
    Grid->SetColWidth(int(c), width);
    sum += width;
  }
  const int minWidth = static_cast<int>(sum + 26 * m_Style.Scale);
  const int h = std::min(Grid->RowCount(), HeightCap()) * (Grid->DefaultRowHeight() + 1) + 1;
  Grid->SetMinSize(minWidth, 2 * Grid->DefaultRowHeight());
  SetWidth(minWidth + 2);
  SetHeight(h + ExtraHeight());
}

template <class Row>
void TNavigatorLevelFrame<Row>::FrameResize(TObject*) {
  if (m_Rows.empty() || m_Columns.empty()) return;
  int others = 0;
  for (size_t c = 0; c + 1 < m_Columns.size(); ++c) others += Grid->ColWidths(int(c));
  const int last = int(m_Columns.size()) - 1;
  // The laid-out width stays the least: the grid never gets narrower than its minimum.
  Grid->SetColWidth(last, std::max(Grid->Width() - others - 2, Grid->ColWidths(last)));
  Grid->Invalidate();
}

template <class Row>
void TNavigatorLevelFrame<Row>::AfterLoad() {
  if (m_Rows.empty()) return;
  LayoutColumns();
}

template <class Row>
void TNavigatorLevelFrame<Row>::DrawCell(int col, int row, const TRect& rect) {
  if (m_Rows.empty() || col < 0 || col >= int(m_Columns.size())) return;
  using C = TNavigatorGridColors;
  if (row == 0) {
    PaintCell(C::GridTitleColor, C::GridTitleTextColor, false, rect, col == 0 ? kNumberTitle : m_Columns[size_t(col)].Title,
              col == 0 ? taCenter : m_Columns[size_t(col)].TitleAlign);
    return;
  }
  // A grid row without a row record is left blank.
  if (row - 1 >= int(m_Rows.size())) return;
  const Row& record = m_Rows[size_t(row - 1)];
  const TAlignment align = m_Columns[size_t(col)].DataAlign;
  if (row == Grid->Row()) {
    PaintCell(C::GridSelectedColor, C::GridSelectedTextColor, false, rect, CellText(record, col), align);
    if (col == 0) DrawCurrentRowExtra(row - 1);
  } else {
    PaintCell(C::GridRowColor, C::GridRowTextColor, row % 2 == 0, rect, CellText(record, col), align);
  }
}

template <class Row>
void TNavigatorLevelFrame<Row>::PaintCell(TColor background, TColor text, bool shaded, const TRect& rect,
                                          const std::wstring& content, TAlignment alignment) {
  TCanvas& canvas = *Grid->Canvas();
  canvas.Font = Grid->Font;
  const TPoint extent = canvas.TextExtent(content);
  const int h = alignment == taCenter ? (rect.Right - rect.Left - extent.x) / 2 : 8;
  const int v = (Grid->DefaultRowHeight() - extent.y) / 2;
  TColor fill = background;
  if (shaded) {
    const int r = int((fill & 0xFF) * 0.85), g = int(((fill >> 8) & 0xFF) * 0.85), b = int(((fill >> 16) & 0xFF) * 0.85);
    fill = TColor(r | (g << 8) | (b << 16));
  }
  canvas.Brush.Color = fill;
  canvas.Brush.Style = bsSolid;
  canvas.Font.Color = text;
  // The style follows the unshaded background: bold for the title colour, underline for the
  // selected colour (underline wins when both match).
  if (background == TNavigatorGridColors::GridTitleColor) canvas.Font.Style = fsBold;
  if (background == TNavigatorGridColors::GridSelectedColor) canvas.Font.Style = fsUnderline;
  canvas.FillRect(rect);
  TRect textRect = Rect(rect.Left + h, rect.Top + v, rect.Right, rect.Bottom);
  DrawText(canvas, content, textRect, 0);
}

template <class Row>
void TNavigatorLevelFrame<Row>::ReportChoice(bool doubleClick) {
  if (m_Rows.empty() || !m_OnRowChosen || Grid->Row() < 1) return;
  const size_t i = size_t(Grid->Row() - 1);
  if (i >= m_Rows.size()) return;
  m_OnRowChosen(m_Rows[i].m_Index, doubleClick);
}

template class TNavigatorLevelFrame<TanPatientInfoObj<char>>;
template class TNavigatorLevelFrame<TanStudyInfoObj<char>>;
template class TNavigatorLevelFrame<TanStackInfoObj<char>>;

// Patients.

TFramePatientLevel::TFramePatientLevel(TComponent* owner, const TNavigatorStyle& style)
    : TNavigatorLevelFrame(owner, style,
                           {{kNumberTitle, nullptr, false, taCenter, taCenter, TColumnWidth::WW16, false},
                            {L"Name", L"name", false, taCenter, taLeftJustify, TColumnWidth::Text32, true},
                            {L"ID", L"id", false, taCenter, taLeftJustify, TColumnWidth::Text16, false},
                            {L"Sex", L"sex", false, taCenter, taCenter, TColumnWidth::Title16, false},
                            {L"DOB", L"dob", false, taLeftJustify, taCenter, TColumnWidth::Text32, false},
                            {L"Studies#", L"studies", true, taCenter, taCenter, TColumnWidth::Title16, false}}) {
  SetBounds(0, 0, 392, 303);
}

void TFramePatientLevel::LoadPatients(const ORN_dicom::TanDicomDirObject& dicomDir) {
  ORN_dicomdir::BuildPatientRows(dicomDir, m_Rows);
  AfterLoad();
  if (!m_Rows.empty()) FrameResize(this);
}

std::wstring TFramePatientLevel::CellText(const TanPatientInfoObj<char>& row, int col) const {
  switch (col) {
    case 0: return Number(row.m_Index + 1);
    case 1: return Decoded(row.m_CharacterSet, row.m_PatientName);
    case 3: return row.m_Sex ? std::wstring(1, wchar_t(static_cast<unsigned char>(row.m_Sex))) : std::wstring();
    case 5: return Number(row.m_StudyCount);
    default: return Ansi(StoredText(row, col));
  }
}

std::string TFramePatientLevel::StoredText(const TanPatientInfoObj<char>& row, int col) const {
  switch (col) {
    case 1: return row.m_PatientName;
    case 2: return row.m_PatientID;
    case 3: return row.m_Sex ? std::string(1, row.m_Sex) : std::string();
    case 4: return row.m_BirthDate;
    default: return {};
  }
}

// Studies.

TFrameStudyLevel::TFrameStudyLevel(TComponent* owner, const TNavigatorStyle& style)
    : TNavigatorLevelFrame(owner, style,
                           {{kNumberTitle, nullptr, false, taCenter, taCenter, TColumnWidth::WW16, false},
                            {L"ID", L"id", false, taCenter, taCenter, TColumnWidth::Text16, false},
                            {L"Accession \u00B9", L"acc_number", false, taLeftJustify, taCenter, TColumnWidth::Text32, false},
                            {L"Modalities", L"modalities", false, taLeftJustify, taCenter, TColumnWidth::Text32, false},
                            {L"Date", L"date", false, taLeftJustify, taCenter, TColumnWidth::Text16, false},
                            {L"Time", L"time", false, taLeftJustify, taCenter, TColumnWidth::Text16, false},
                            {L"Series#", L"series", true, taLeftJustify, taCenter, TColumnWidth::Title16, false},
                            {L"Stacks#", L"stacks", true, taLeftJustify, taCenter, TColumnWidth::Title16, false},
                            {L"Description", L"description", false, taLeftJustify, taLeftJustify, TColumnWidth::Text32, true},
                            {L"Referring Physician's Name", L"referring_physician", false, taLeftJustify, taLeftJustify,
                             TColumnWidth::Text32, true}}) {
  SetBounds(0, 0, 588, 302);
}

void TFrameStudyLevel::LoadStudies(const ORN_dicom::TanPatientIE* patient) {
  Grid->SetRowCount(0);
  if (patient) ORN_dicomdir::BuildStudyRows(*patient, m_Rows);
  else m_Rows.clear();
  AfterLoad();
  if (!m_Rows.empty()) FrameResize(this);
}

std::wstring TFrameStudyLevel::CellText(const TanStudyInfoObj<char>& row, int col) const {
  switch (col) {
    case 0: return Number(row.m_Index + 1);
    case 6: return Number(row.m_SeriesCount);
    case 7: return Number(row.m_StackCount);
    case 8: return Decoded(row.m_CharacterSet, row.m_StudyDescription);
    case 9: return Decoded(row.m_CharacterSet, row.m_ReferringPhysician);
    default: return Ansi(StoredText(row, col));
  }
}

std::string TFrameStudyLevel::StoredText(const TanStudyInfoObj<char>& row, int col) const {
  switch (col) {
    case 1: return row.m_StudyID;
    case 2: return row.m_AccessionNumber;
    case 3: return row.m_Modalities;
    case 4: return row.m_StudyDate;
    case 5: return row.m_StudyTime;
    case 8: return row.m_StudyDescription;
    case 9: return row.m_ReferringPhysician;
    default: return {};
  }
}

// Stacks.

TFrameStackLevel::TFrameStackLevel(TComponent* owner, const TNavigatorStyle& style)
    : TNavigatorLevelFrame(owner, style,
                           {{kNumberTitle, nullptr, false, taCenter, taCenter, TColumnWidth::WW16, false},
                            {L"Series \u00B9", L"series_number", false, taLeftJustify, taCenter, TColumnWidth::Title32, false},
                            {L"Modality", L"modality", false, taLeftJustify, taCenter, TColumnWidth::Text32, false},
                            {L"Date", L"date", false, taLeftJustify, taLeftJustify, TColumnWidth::Text16, false},
                            {L"Time", L"time", false, taLeftJustify, taLeftJustify, TColumnWidth::Text16, false},
                            {L"Instances#", L"instances", true, taLeftJustify, taCenter, TColumnWidth::Title32, false},
                            {L"Frames#", L"frames", true, taLeftJustify, taCenter, TColumnWidth::Title16, false},
                            {L"PS#", L"ps", true, taLeftJustify, taCenter, TColumnWidth::WW32, false},
                            {L"Body Part Examined", L"body_part", false, taLeftJustify, taLeftJustify, TColumnWidth::Text32, false},
                            {L"Protocol Name", L"prot_name", false, taLeftJustify, taLeftJustify, TColumnWidth::Text32, false}}) {
  SetBounds(0, 0, 586, 313);
  pnlDetailes = new TPanel(this);
  pnlDetailes->SetParent(pnlMain);
  pnlDetailes->SetAlign(alBottom);
  pnlDetailes->SetColor(clSilver);
  pnlDetailes->BevelOuter = bvLowered;
  pnlDetailes->SetBounds(0, 0, Width(), m_Style.Scaled(160));
  auto place = [this](TControl* control, int left, int top, int width, int height) {
    control->SetBounds(m_Style.Scaled(left), m_Style.Scaled(top), m_Style.Scaled(width), m_Style.Scaled(height));
  };
  ShapeIcon = new TPanel(this);
  ShapeIcon->SetParent(pnlDetailes);
  ShapeIcon->BevelOuter = bvNone;
  place(ShapeIcon, 12, 12, 132, 132);
  ShapeIcon->SetColor(m_Style.Color("cActive", clWhite));
  ShapeIcon->Hide();
  imIcon = new TImage(this);
  imIcon->SetParent(pnlDetailes);
  imIcon->Stretch = true;
  place(imIcon, 14, 14, 128, 128);
  imIcon->Hide();
  lblNoIcon = new TLabel(this);
  lblNoIcon->SetParent(pnlDetailes);
  lblNoIcon->AutoSize = false;
  place(lblNoIcon, 16, 75, 124, 13);
  lblNoIcon->SetCaption(L"No Icon");
  lblNoIcon->SetAlignment(taCenter);
  lblNoIcon->Font.Style = fsBold;
  lblNoIcon->Font.Color = clGray;
  lblNoIcon->FontChanged();
  lblNoIcon->SetTransparent(true);
  lblNoIcon->Hide();

  TLabel** titles[] = {&sModality, &sNInstances, &sNFrames, &sNPS, &sDataTime, &sPName, &sBodyPart};
  TLabel** values[] = {&stextModality, &stextNumberOfInstances, &stextNumberOfFrames, &stetxNumberOfPS,
                       &stetxDateTime, &stextProtocolName, &stextBodyPartExamined};
  for (int i = 0; i < 7; ++i) {
    const int top = 12 + 20 * i;
    auto label = [&](int left, int width, bool bold) {
      auto* l = new TLabel(this);
      l->SetParent(pnlDetailes);
      l->Font.Name = style.DefaultFont.Name;
      l->Font.Size = m_Style.Scaled(style.DefaultFont.Size);
      if (bold) l->Font.Style = fsBold;
      l->FontChanged();
      l->AutoSize = false;
      place(l, left, top, width, 17);
      return l;
    };
    *titles[i] = label(156, 160, false);
    label(320, 12, false)->SetCaption(L":");
    *values[i] = label(340, 240, true);
  }
  // The details titles follow the column titles.
  sModality->SetCaption(Title(2));
  sNInstances->SetCaption(Title(5));
  sNFrames->SetCaption(Title(6));
  sNPS->SetCaption(Title(7));
  sDataTime->SetCaption(Title(3) + L"&" + Title(4));
  sPName->SetCaption(Title(9));
  sBodyPart->SetCaption(Title(8));

  // The shared grid colours.
  using C = TNavigatorGridColors;
  C::GridTitleColor = m_Style.Color("cGridTitle", 0x808080);
  C::GridSelectedColor = m_Style.Color("cGridSelected", 0x000000);
  C::GridTitleTextColor = m_Style.Color("cBackgraund", 0x000000);
  if (C::GridTitleTextColor != C::GridSelectedColor) C::GridSelectedTextColor = C::GridTitleTextColor;
}

void TFrameStackLevel::LoadStacks(const ORN_dicom::TanStudyIE* study) {
  ShapeIcon->Hide();
  imIcon->Hide();
  lblNoIcon->Hide();
  Grid->SetRowCount(0);
  if (study) ORN_dicomdir::BuildStackRows(*study, m_Rows);
  else m_Rows.clear();
  if (m_Rows.empty()) return;
  LockWindowUpdate(this);
  try {
    LayoutColumns();
    ClearIcon();
    FrameResize(this);
  } catch (...) {
  }
  LockWindowUpdate(nullptr);
}

std::wstring TFrameStackLevel::CellText(const TanStackInfoObj<char>& row, int col) const {
  switch (col) {
    case 0: return Number(row.m_Index + 1);
    case 1: return Number(row.m_SeriesNumber);
    case 5: return Number(row.m_InstanceCount);
    case 6: return Number(row.m_FrameCount);
    case 7: return Number(row.m_PresentationStateCount);
    default: return Ansi(StoredText(row, col));
  }
}

std::string TFrameStackLevel::StoredText(const TanStackInfoObj<char>& row, int col) const {
  switch (col) {
    case 2: return row.m_Modality;
    case 3: return row.m_SeriesDate;
    case 4: return row.m_SeriesTime;
    case 8: return row.m_BodyPart;
    case 9: return row.m_ProtocolName;
    default: return {};
  }
}

void TFrameStackLevel::ShowDetails(int rowIndex) {
  if (rowIndex < 0 || rowIndex >= int(m_Rows.size())) return;
  const TanStackInfoObj<char>& row = m_Rows[size_t(rowIndex)];
  stextModality->SetCaption(Ansi(row.m_Modality));
  stextNumberOfInstances->SetCaption(Number(row.m_InstanceCount));
  stextNumberOfFrames->SetCaption(Number(row.m_FrameCount));
  stetxNumberOfPS->SetCaption(Number(row.m_PresentationStateCount));
  stetxDateTime->SetCaption(Ansi(row.m_SeriesDate) + L" " + Ansi(row.m_SeriesTime));
  stextProtocolName->SetCaption(Ansi(row.m_ProtocolName));
  stextBodyPartExamined->SetCaption(Ansi(row.m_BodyPart));
  ShowIcon(row.m_Icon);
}

bool TFrameStackLevel::ShowIcon(platform::HBITMAP bitmap) {
  if (bitmap == nullptr) {
    ClearIcon();
    return true;
  }
  if (!ORN_dicomdir::IsSoundBitmap(bitmap)) {
    ClearIcon();
    return false;
  }
  ShapeIcon->Show();
  imIcon->Show();
  lblNoIcon->Hide();
  TBitmap picture;
  picture.SetPixelFormat(pf24bit);
  picture.SetSize(bitmap->Width, bitmap->Height);
  for (int y = 0; y < bitmap->Height; ++y)
    std::copy_n(bitmap->ScanLine(y), size_t(bitmap->Width) * 3, picture.ScanLine(y));
  imIcon->Picture()->Assign(picture);
  imIcon->Invalidate();
  return true;
}

void TFrameStackLevel::ClearIcon() {
  TBitmap* picture = imIcon->Picture();
  picture->SetSize(0, 0);
  picture->SetPixelFormat(pf24bit);
  picture->SetSize(std::max(imIcon->Width(), 1), std::max(imIcon->Height(), 1));
  imIcon->Invalidate();
  const bool keyImages = stextProtocolName->Caption().find(L"Key Image Series") != std::wstring::npos;
  lblNoIcon->SetCaption(keyImages ? L"Key Image Series" : L"No Icon");
  lblNoIcon->Show();
}

}  // namespace ORN_browser
