#pragma once

#include <windows.h>

#include <array>

#include "shell/win32/form_events.h"
#include "shell/win32/icon_set.h"
#include "shell/win32/scoped_handle.h"

namespace quor6::win32 {

// The window frmQuor6 and every control on it, laid out from the design's twips at the
// screen's DPI. It stays hidden during play; its hidden edit boxes own the tray icons.
//
// The five tray hosts are made with the window; the other controls are made on first use,
// and at the latest before the message loop, so that start-up puts the icons in the tray
// without first building a window nobody sees yet.
class FormWindow {
  public:
    FormWindow(HINSTANCE instance, const IconSet& icons, HMENU menuBar);
    ~FormWindow();

    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    void connect(FormEvents& events) { events_ = &events; }

    HWND handle() const { return hwnd_; }
    // Any control by its id; asking for one that is not a tray host completes the window.
    HWND control(int id) const;
    // Makes the controls that are not made yet. Logically const: to every caller the controls
    // are part of the window from the start.
    void completeControls() const;
    int dpi() const { return dpi_; }

    // Keys for the window. While it shows, Tab and Shift+Tab go round its shown tab stops,
    // Enter presses the focused button and Escape does nothing; while it is hidden or
    // minimized no key does anything. True when the message was handled.
    bool preTranslate(MSG& message);
    // Puts the focus where it may rest now that the window or its view changed: the focused
    // or last focused control if the view shows it, else the first tab stop; the window
    // itself while it is hidden.
    void placeFocus();
    // The history window's list, shown over the labels and the picture, or hidden.
    void showHistoryList(bool shown);

  private:
    static constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    // The window's outer size for the design's client area at a DPI. The client area is sized
    // for the window as it is seen: without the menu bar, which start-up hides before it shows.
    static SIZE frameSize(int dpi);
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK trayHostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR slot, DWORD_PTR self);
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void createTrayHosts();
    // Placed as the design has it (controls that are never seen at 0, 0 and 1 x 1 pixel).
    HWND createChild(const wchar_t* className, const wchar_t* text, DWORD style, int id) const;
    int pixels(int twips) const { return ::MulDiv(twips, dpi_, 1440); }
    // Fonts and places of the controls for a DPI (a new one when the window moves to a
    // monitor of another scaling, or the scaling changes).
    void applyDpi(int dpi);
    void applyFonts() const;
    bool controlsShown() const;
    bool inView(HWND control) const;
    HWND focusTarget() const;
    void onActivate(bool active);

    HINSTANCE instance_;
    const IconSet& icons_;
    HWND hwnd_ = nullptr;
    int dpi_ = 96;
    UINT taskbarCreatedMessage_ = 0;
    FormEvents* events_ = nullptr;
    // Made by completeControls().
    mutable bool controlsComplete_ = false;
    mutable HWND lastFocus_ = nullptr;
    mutable ScopedFont titleFont_;
    mutable ScopedFont versionFont_;
    mutable ScopedFont creditFont_;
    mutable ScopedFont uiFont_;
};

}  // namespace quor6::win32
