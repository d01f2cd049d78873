#pragma once
// The layered window's IME messages, turned into the page's composition
// calls on the browser host. OsrClient's RouteWindowMessage hands every
// WM_IME_SETCONTEXT, WM_IME_STARTCOMPOSITION, WM_IME_COMPOSITION,
// WM_IME_ENDCOMPOSITION and WM_INPUTLANGCHANGE here first.
//
// The handler is null when the window hosts no windowless browser; the host
// is null until the browser exists. UI thread only.

#include <windows.h>

#include "browser/ime_handler.h"
#include "engine/include/cef_browser.h"

// True when the message is one of the five above; result is then what the
// window procedure returns. False leaves the message (and result) alone.
bool RouteImeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, CefRefPtr<CefBrowserHost> host,
                     ImeHandler* handler, LRESULT& result);

// WM_IME_COMPOSITION: commits the result string first (one message can carry
// a result and a new composition), then shows the composition in the page,
// or cancels the page's composition when there is none.
void CommitImeComposition(LPARAM lParam, CefRefPtr<CefBrowserHost> host, ImeHandler* handler);

// The composition ended or vanished: the page drops what it shows.
void AbortImeComposition(CefRefPtr<CefBrowserHost> host, ImeHandler* handler);
