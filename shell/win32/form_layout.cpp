// frmQuor6's layout: the design's places in twips and its fonts, in pixels at the window's DPI.
#include <utility>

#include "shell/win32/control_ids.h"
#include "shell/win32/dpi.h"
#include "shell/win32/form_window.h"

namespace quor6::win32 {

namespace {

constexpr int kClientWidthTwips = 4830;
constexpr int kClientHeightTwips = 2775;
constexpr DWORD kChild = WS_CHILD | WS_CLIPSIBLINGS;

// Where the design puts the controls that are seen, in twips: left, top, width, height.
struct Placement {
    int id;
    int left, top, width, height;
};
constexpr Placement kPlacements[] = {
    {kCommand2Id, 2400, 2160, 1695, 375},   {kCommand1Id, 600, 2160, 1695, 375},
    {kRirekilist2Id, 240, 120, 4455, 1860}, {kPicture1Id, 1320, 360, 372, 372},
    {kLabel1Id, 1200, 360, 2415, 375},      {kLabel2Id, 2280, 960, 1455, 255},
    {kLabel3Id, 1080, 1320, 2055, 375},
};

const Placement* placementOf(int id) {
    for (const Placement& placement : kPlacements) {
        if (placement.id == id)
            return &placement;
    }
    return nullptr;
}

// "ＭＳ ゴシック" with the Japanese character set, at a size in tenths of a point.
HFONT createGothicFont(int tenthsOfPoint, int weight, int dpi) {
    LOGFONTW font{};
    font.lfHeight = -::MulDiv(tenthsOfPoint, dpi, 720);
    font.lfWeight = weight;
    font.lfCharSet = SHIFTJIS_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    const wchar_t face[] = L"ＭＳ ゴシック";
    static_assert(sizeof(face) / sizeof(face[0]) <= LF_FACESIZE, "face name fits");
    std::copy(std::begin(face), std::end(face), font.lfFaceName);
    return ::CreateFontIndirectW(&font);
}

// The system's message font, which is given for the DPI the process started with.
HFONT createUiFont(int dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        return nullptr;
    }
    metrics.lfMessageFont.lfHeight = ::MulDiv(metrics.lfMessageFont.lfHeight, dpi, systemDpi());
    return ::CreateFontIndirectW(&metrics.lfMessageFont);
}

}  // namespace

SIZE FormWindow::frameSize(int dpi) {
    const RECT frame = frameAround(::MulDiv(kClientWidthTwips, dpi, 1440),
                                   ::MulDiv(kClientHeightTwips, dpi, 1440), kStyle, dpi);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

HWND FormWindow::createChild(const wchar_t* className, const wchar_t* text, DWORD style,
                             int id) const {
    const Placement* placement = placementOf(id);
    return ::CreateWindowExW(
        0, className, text, kChild | style, placement ? pixels(placement->left) : 0,
        placement ? pixels(placement->top) : 0, placement ? pixels(placement->width) : 1,
        placement ? pixels(placement->height) : 1, hwnd_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
}

void FormWindow::applyDpi(int dpi) {
    dpi_ = dpi;
    if (!controlsComplete_)
        return;
    applyFonts();
    for (const Placement& placement : kPlacements) {
        ::SetWindowPos(::GetDlgItem(hwnd_, placement.id), nullptr, pixels(placement.left),
                       pixels(placement.top), pixels(placement.width), pixels(placement.height),
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void FormWindow::applyFonts() const {
    // The new fonts go to the controls before the old ones are deleted.
    ScopedFont title(createGothicFont(158, FW_BOLD, dpi_));
    ScopedFont version(createGothicFont(90, FW_NORMAL, dpi_));
    ScopedFont credit(createGothicFont(98, FW_NORMAL, dpi_));
    ScopedFont ui(createUiFont(dpi_));
    const std::pair<int, HFONT> kFonts[] = {
        {kCommand2Id, ui.get()},  {kCommand1Id, ui.get()},    {kRirekilist2Id, ui.get()},
        {kLabel1Id, title.get()}, {kLabel2Id, version.get()}, {kLabel3Id, credit.get()},
    };
    for (const auto& [id, font] : kFonts) {
        if (font != nullptr) {
            ::SendMessageW(::GetDlgItem(hwnd_, id), WM_SETFONT, reinterpret_cast<WPARAM>(font),
                           TRUE);
        }
    }
    titleFont_ = std::move(title);
    versionFont_ = std::move(version);
    creditFont_ = std::move(credit);
    uiFont_ = std::move(ui);
}

}  // namespace quor6::win32
