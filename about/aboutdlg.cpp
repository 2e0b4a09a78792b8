#include "about/aboutdlg.h"

#include <oleacc.h>

#include <algorithm>
#include <utility>

#include "about/AboutFigures.h"
#include "about/IniHelp.h"
#include "about/XVersion.h"
#include "resources/resource_ids.h"
#include "runtime/Locale.h"
#include "runtime/Text.h"
#include "sysinfo/ClockRate.h"
#include "toolkit/Accessible.h"
#include "toolkit/Application.h"
#include "toolkit/Art.h"
#include "toolkit/Theme.h"
#include "version.h"

namespace about {

namespace {
// The system's text colour (black by default) and the link colour (blue, or the system's in high
// contrast).
const COLORREF kText = toolkit::kButtonTextColor;
const COLORREF kLink = toolkit::kLinkTextColor;
const wchar_t kSystemPage[] = L"System";
// The bit width of this build, for the version line.
const wchar_t* const kBuildBits = sizeof(void*) == 8 ? L" 64-Bit" : L" 32-Bit";

toolkit::TLabelSettings Text(const wchar_t* caption, COLORREF color = kText) {
  return {caption, color};
}

toolkit::TLabelSettings CentredBox(const wchar_t* caption) {
  return {caption, kText, toolkit::TTextAlign::Center, /*AutoSize=*/false, /*WordWrap=*/true};
}
}  // namespace

std::vector<toolkit::TLayoutRow> AboutLayout(TAboutBox& b) {
  using toolkit::TAlign;
  const toolkit::TFontStyle arial11{L"Arial", 11}, arial13{L"Arial", 13},
      link{L"Arial", 13, false, false, true};
  toolkit::TControl* const icon = &b.Notebook.Page(0);
  toolkit::TControl* const system = &b.Notebook.Page(1);
  // clang-format off
  return {
    // Component          Parent       Align            Left  Top Width Height Border Hint Font
    {&b.Panel,            nullptr,     TAlign::None,      8,    8,  321,  225,   2, L"", {}},
    {&b.OKButton,         nullptr,     TAlign::None,    136,  240,   77,   27,   0, L"", {L"Microsoft Sans Serif", 11, true}},
    {&b.ProductName,      &b.Panel,    TAlign::None,    152,    8,  161,   65,   0, L"",
     {L"Times New Roman", 27, true, true}},
    {&b.Version,          &b.Panel,    TAlign::None,    160,   80,   44,   16,   0, L"", {}},
    {&b.Copyright,        &b.Panel,    TAlign::None,    160,  112,  152,   33,   0, L"", arial11},
    {&b.Scroller,         &b.Panel,    TAlign::None,     64,  152,   23,   13,   0, L"", {}},
    {&b.Notebook,         &b.Panel,    TAlign::None,      8,    8,  137,  137,   0, L"", {}},
    {icon,                &b.Notebook, TAlign::Client,    0,    0,  137,  137,   0, L"", {}},
    {system,              &b.Notebook, TAlign::Client,    0,    0,  137,  137,   0, L"", {}},
    {&b.ProgramIcon,      icon,        TAlign::None,      0,    0,  137,  137,   0, L"", {}},
    {&b.LinkLabel,        &b.Panel,    TAlign::None,     48,  176,  105,   16,   0, L"", link},
    {&b.MailLabel,        &b.Panel,    TAlign::None,     48,  200,  101,   16,   0, L"", link},
    {&b.Label7,           &b.Panel,    TAlign::None,      8,  176,   37,   16,   0, L"", {}},
    {&b.Label8,           &b.Panel,    TAlign::None,      8,  200,   36,   16,   0, L"", {}},
    {&b.LoadMemGauge,     system,      TAlign::None,     48,   26,   81,   12,   0, L"", arial11},
    {&b.Label6,           system,      TAlign::None,      7,   24,    0,    0,   0, L"", arial11},
    {&b.FreeLabel,        system,      TAlign::None,      9,   40,    0,    0,   0, L"", arial11},
    {&b.FreeMemLabel,     system,      TAlign::None,     47,   40,    0,    0,   0, L"", arial11},
    {&b.MhzLbLabel,       system,      TAlign::None,     10,   56,    0,    0,   0, L"", arial11},
    {&b.MhzLabel,         system,      TAlign::None,     51,   56,    0,    0,   0, L"", arial11},
    {&b.Label1,           system,      TAlign::None,      6,    3,    0,    0,   0, L"", {}},
    {&b.TimeStamp,        &b.Panel,    TAlign::None,    192,   98,   91,   12,   0, L"", {L"Arial", 9}},
    {&b.CommentLabel,     &b.Panel,    TAlign::None,    160,  144,  152,   33,   0, L"", arial11},
    {&b.Label2,           system,      TAlign::None,      8,   80,    0,    0,   0, L"", {}},
    {&b.IniLabel,         system,      TAlign::None,      8,  104,    0,    0,   0, L"", arial13},
  };
  // clang-format on
}

TAboutBox::TAboutBox(HWND owner)
    : toolkit::TForm({L"Infos", 339, 274, toolkit::TFormBorder::Dialog, {L"Arial", 13}}, owner),
      Panel(controls::TBevel::Framed),
      OKButton(RES_GLYPH_OK),
      ProductName(CentredBox(SANDRIVO_WIDE(SANDRIVO_PRODUCT_NAME))),
      Version(Text(L"Version")),
      Copyright(CentredBox(L"Copyright")),
      AboutTimer(100),
      Notebook({L"Icon", kSystemPage}),
      LinkLabel(Text(L"www.quelix.de", kLink)),
      MailLabel(Text(L"support@quelix.de", kLink)),
      Label7(Text(L"URL : ")),
      Label8(Text(L"Mail : ")),
      Label6(Text(L"Gefüllt:")),
      FreeLabel(Text(L"Frei: ")),
      FreeMemLabel(Text(L"234")),
      MhzLbLabel(Text(L"Mhz:")),
      MhzLabel(Text(L"0")),
      Label1(Text(L"Systeminformationen")),
      TimeStamp({L"", kText, toolkit::TTextAlign::Left, /*AutoSize=*/false, /*WordWrap=*/false,
                 /*Transparent=*/true,
                 /*Visible=*/false}),
      CommentLabel(CentredBox(L"Kommentar")),
      Label2(Text(L"Konfiguration")),
      IniLabel(Text(L"IniLabel")),
      layout_(AboutLayout(*this)) {
  KeyPreview = true;
  Scroller.SetMax(1);
  Scroller.OnClick = [this](controls::TScroller&) { ScrollerClick(); };
  LoadMemGauge.SetForeColor(RGB(0, 0, 255));
  AboutTimer.OnTimer = [this] { AboutTimerTimer(); };
  LinkLabel.OnClick = [this](toolkit::TLabel& sender) { LinkLabelClick(sender); };
  MailLabel.OnClick = [this](toolkit::TLabel&) { MailLabelClick(); };
  IniLabel.OnDblClick = [this](toolkit::TLabel&) { IniLabelDblClick(); };
  FigureSource = [this] { return SystemFigures(); };
  MeasureClock = [] { return sysinfo::MeasureMhz(); };
  Panel.AccessibleName = L"Programminformation";
  Scroller.AccessibleName = L"Seiten";
  Notebook.AccessibleName = L"Seitenansicht";
  Notebook.Page(0).AccessibleName = L"Programmsymbol";
  Notebook.Page(1).AccessibleName = L"Systeminformationen";
  LoadMemGauge.AccessibleName = L"Speicherauslastung";
}

TAboutBox::~TAboutBox() {
  // Hide = False showed the application window; it goes back to how the dialog found it.
  if (SystemCheck && !applicationWindowWasVisible_) ShowWindow(toolkit::Application().Handle(), SW_HIDE);
}

void TAboutBox::Create() {
  toolkit::TForm::Create();
  hints_.Create(Handle());
  layout_.Create(Handle(), Font(), hints_, Dpi());
  Notebook.SetPageIndex(1);
  ActiveControl = OKButton.Handle();
  applicationWindowWasVisible_ = IsWindowVisible(toolkit::Application().Handle()) != FALSE;
  SystemCheck.emplace(this);
  SystemCheck->SetHide(false);
  AboutTimer.Create();
  toolkit::RunHandler([this] { FormCreate(); });
}

void TAboutBox::ThemeChanged() {
  TForm::ThemeChanged();
  if (ProgramIcon.Handle()) MakeProgramIcon();
}

void TAboutBox::DpiChanged() {
  layout_.SetDpi(Handle(), Font(), Dpi());
  MakeProgramIcon();
  // The info pages are no rows of the layout: their labels take the new font and page size here.
  for (const std::unique_ptr<toolkit::TLabel>& label : infoLabels_) {
    if (!label->Handle()) continue;
    SendMessageW(label->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(Font()), TRUE);
    label->AlignToParent();
  }
}

void TAboutBox::FormCreate() {
  ProductName.SetCaption(toolkit::Application().Title());
  MakeProgramIcon();
  Version.SetCaption(Version.Caption() + L" " + GetProgramProductVersion());
  Version.SetCaption(Version.Caption() + L" (6)");
  Version.SetCaption(Version.Caption() + kBuildBits);
  LinkLabel.Cursor = toolkit::TCursorShape::HandPoint;
  MailLabel.Cursor = toolkit::TCursorShape::HandPoint;
  Copyright.SetCaption(GetProgramVersionValue(L"", L"LegalCopyright"));
  CommentLabel.SetCaption(GetProgramVersionValue(L"", L"Comments"));
  IniLabel.SetCaption(runtime::FileNamePart(GetIniFileName()));
  IniLabel.SetHint(GetIniFileName());
  IniLabel.SetShowHint(true);
  ProgramIcon.AccessibleName = toolkit::Application().Title();
  // The links and the configuration file open by keyboard too.
  for (toolkit::TLabel* label : {&LinkLabel, &MailLabel, &IniLabel}) label->SetTabStop(true);
}

void TAboutBox::MakeProgramIcon() {
  // The icon as drawn at 32 pixels, its transparent pixels magenta, then in the scheme's colours.
  const int drawn = 32;
  const toolkit::TIcon icon(static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), RES_MAIN_ICON, IMAGE_ICON, drawn, drawn, LR_DEFAULTCOLOR)));
  if (!icon) return;
  const COLORREF transparent = RGB(255, 0, 255);
  toolkit::TBitmap art(toolkit::CreateMemoryImage(drawn, drawn));
  {
    const toolkit::TMemoryDC dc(CreateCompatibleDC(nullptr));
    const toolkit::TSelectObject selected(dc.Get(), art.Get());
    const toolkit::TBrush magenta(CreateSolidBrush(transparent));
    const RECT all{0, 0, drawn, drawn};
    FillRect(dc.Get(), &all, magenta.Get());
    DrawIconEx(dc.Get(), 0, 0, icon.Get(), drawn, drawn, 0, nullptr, DI_NORMAL);
  }
  const toolkit::TScheme scheme = toolkit::CurrentScheme();
  if (toolkit::TBitmap schemed =
          toolkit::SchemeArt(art.Get(), scheme, toolkit::TRole::Text, toolkit::TArtStyle::Solid))
    art = std::move(schemed);
  // As large as the picture's place allows, each pixel a block of whole pixels (never stretched by a
  // fraction, which blurs or makes uneven lines), centred on the dialog's face.
  RECT area{};
  GetClientRect(ProgramIcon.Handle(), &area);
  const int factor = std::max(1, static_cast<int>(std::min(area.right, area.bottom)) / drawn);
  const toolkit::TBitmap large(toolkit::RepeatedBitmap(art.Get(), factor));
  toolkit::TBitmap picture(toolkit::CreateMemoryImage(area.right, area.bottom));
  {
    const toolkit::TMemoryDC from(CreateCompatibleDC(nullptr)), to(CreateCompatibleDC(nullptr));
    const toolkit::TSelectObject source(from.Get(), large.Get()), target(to.Get(), picture.Get());
    FillRect(to.Get(), &area, toolkit::Brush(scheme, toolkit::TRole::Face));
    const int size = drawn * factor;
    GdiTransparentBlt(to.Get(), (area.right - size) / 2, (area.bottom - size) / 2, size, size, from.Get(), 0,
                      0, size, size, transparent);
  }
  ProgramIcon.SetPicture(std::move(picture));
}

toolkit::TAccElement TAboutBox::AccDescribe(const toolkit::TAccPath& path) const {
  toolkit::TAccElement dialog = TForm::AccDescribe(path);
  dialog.Role = ROLE_SYSTEM_DIALOG;
  dialog.Description = ProductName.Caption() + L", " + toolkit::OneLine(Version.Caption());
  return dialog;
}

void TAboutBox::FormShow() {
  Scroller.SetMax(Notebook.PageCount() - 1);
  if (Notebook.PageCount() == 1)
    ShowWindow(Scroller.Handle(), SW_HIDE);
  else
    Notebook.SetPageIndex(0);
  LinkLabel.SetHint(LinkAddress(LinkLabel.Caption()));
  LinkLabel.SetShowHint(true);
}

LRESULT TAboutBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // A screen reader reads a dialog when it has opened.
  if (message == WM_WINDOWPOSCHANGED && (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_SHOWWINDOW))
    NotifyWinEvent(EVENT_SYSTEM_DIALOGSTART, Handle(), OBJID_WINDOW, CHILDID_SELF);
  return TForm::HandleMessage(message, wParam, lParam);
}

toolkit::TPage* TAboutBox::NewPage() {
  const std::wstring name = runtime::DecimalText(Notebook.PageCount());
  Notebook.AddPage(name);
  return Notebook.FindPageByCaption(name, Notebook.PageCount());
}

toolkit::TLabel& TAboutBox::AddInfoPage(const std::wstring& text) {
  infoLabels_.push_back(std::make_unique<toolkit::TLabel>(toolkit::TLabelSettings{
      text, kText, toolkit::TTextAlign::Left, /*AutoSize=*/false, /*WordWrap=*/true}));
  toolkit::TLabel& label = *infoLabels_.back();
  if (toolkit::TPage* page = NewPage(); page && page->Handle()) {
    page->AccessibleName = L"Hinweis " + runtime::DecimalText(static_cast<long long>(infoLabels_.size()));
    label.Create(page->Handle());
    SendMessageW(label.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
    label.AlignToParent();
  }
  if (text.find(kHomePageHost) != std::wstring::npos) {
    label.SetHint(HomePageAddress(kHomePageHost));
    label.OnClick = [this](toolkit::TLabel& sender) { LinkLabelClick(sender); };
    label.Cursor = toolkit::TCursorShape::HandPoint;
    label.SetTabStop(true);
  }
  return label;
}

void TAboutBox::AddInfoPages(const TInfoAdds& adds) {
  for (int i = 0; i < adds.Count(); ++i) AddInfoPage(adds[i]);
}

void TAboutBox::ScrollerClick() {
  Notebook.SetPageIndex(Scroller.Position());
  // The focus goes to the page now shown, as a property sheet moves it: to the page's first control
  // that Tab reaches, else its first (the picture, the note's text). A screen reader speaks a focus
  // change, NVDA and Narrator alike, with the page's name before the control; the scroller's value
  // change, which they hear only on the focused object, would go unheard. So no control of the page
  // turned away keeps the focus either, where a key would act on what is not shown. Only when the
  // focus is in the dialog: a turn never takes it from another window.
  const HWND focus = GetFocus();
  if (!focus || (focus != Handle() && !IsChild(Handle(), focus))) return;
  const std::vector<HWND> controls = toolkit::ReadingOrder(Notebook.Page(Notebook.PageIndex()).Handle());
  const auto reached = std::find_if(controls.begin(), controls.end(), [](HWND c) {
    return (GetWindowLongPtrW(c, GWL_STYLE) & WS_TABSTOP) != 0;
  });
  if (reached != controls.end())
    SetFocus(*reached);
  else if (!controls.empty())
    SetFocus(controls.front());
  else if (!IsWindowVisible(focus))
    SetFocus(OKButton.Handle());
}

void TAboutBox::FormKeyDown(WORD& key, toolkit::TShiftState) {
  if (key == VK_NEXT) Scroller.SetPosition(Scroller.Position() + 1);
  if (key == VK_PRIOR) Scroller.SetPosition(Scroller.Position() - 1);
}

void TAboutBox::FormKeyPress(wchar_t& key) {
  if (key == L'I' || key == L'i') TimeStamp.SetVisible(!TimeStamp.Visible());
}

TSystemFigures TAboutBox::SystemFigures() {
  if (!SystemCheck) return {};
  // Measured while the page shows, one measurement after the other, none on the window's thread.
  if (clockMeasurement_) {
    if (const std::optional<double> mhz = clockMeasurement_->Take(0)) {
      mhz_ = *mhz;
      clockMeasurement_.reset();
    }
  }
  if (!clockMeasurement_) clockMeasurement_.emplace(MeasureClock);
  return {SystemCheck->AvailPhysMemory64(), SystemCheck->MemoryLoad(), mhz_};
}

void TAboutBox::AboutTimerTimer() {
  if (Notebook.ActivePage() != kSystemPage) return;
  const TSystemFigures figures = FigureSource();
  FreeMemLabel.SetCaption(FreeMemoryText(figures.AvailPhysMemory));
  LoadMemGauge.SetProgress(figures.MemoryLoad);
  MhzLabel.SetCaption(ClockText(figures.Mhz, runtime::UserNumberSeparators().Decimal));
  MhzLbLabel.SetVisible(ShowsClockCaption(figures.Mhz));
}

void TAboutBox::LinkLabelClick(toolkit::TLabel& sender) {
  toolkit::Application().ShellOpen(Handle(), sender.Hint());
}

void TAboutBox::MailLabelClick() {
  toolkit::Application().ShellOpen(
      Handle(), MailLink(MailLabel.Caption(), toolkit::Application().Title(), GetProgramProductVersion()));
}

void TAboutBox::IniLabelDblClick() {
  if (IniLabel.Hint().empty()) return;
  toolkit::Application().ShellOpen(Handle(), FolderPart(IniLabel.Hint()));
}

}  // namespace about
