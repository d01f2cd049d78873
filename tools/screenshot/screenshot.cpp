// screenshot.exe FILE [margin]
//
// Saves what the screen shows as a 24-bit PNG. When Tarnwick's main window is
// on the screen, only its rectangle grown by `margin` pixels (default 24) is
// saved; otherwise the whole screen. Exit code 0 when the file was written.

#include <windows.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/program_identity.h"
#include "browser/gdi_handles.h"

using Microsoft::WRL::ComPtr;

namespace {

struct Area {
  int x = 0, y = 0, width = 0, height = 0;
};

Area AreaToSave(int margin) {
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  RECT window{};
  HWND main = FindWindowW(kMainWindowClassName, nullptr);
  if (!main || !IsWindowVisible(main) || !GetWindowRect(main, &window)) return {0, 0, screenWidth, screenHeight};
  const int left = std::max(0, static_cast<int>(window.left) - margin);
  const int top = std::max(0, static_cast<int>(window.top) - margin);
  const int right = std::min(screenWidth, static_cast<int>(window.right) + margin);
  const int bottom = std::min(screenHeight, static_cast<int>(window.bottom) + margin);
  if (right <= left || bottom <= top) return {0, 0, screenWidth, screenHeight};
  return {left, top, right - left, bottom - top};
}

// The area's pixels as top-down 24-bit BGR rows, each padded to 4 bytes.
bool CapturePixels(const Area& area, std::string& pixels, UINT& stride) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = area.width;
  info.bmiHeader.biHeight = -area.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  WindowDc screen(nullptr, GetDC(nullptr));
  MemoryDc memory(CreateCompatibleDC(screen.Get()));
  void* bits = nullptr;
  GdiBitmap bitmap(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!screen || !memory || !bitmap) return false;
  const HGDIOBJ previous = SelectObject(memory.Get(), bitmap.Get());
  const bool copied = BitBlt(memory.Get(), 0, 0, area.width, area.height, screen.Get(), area.x, area.y,
                             SRCCOPY | CAPTUREBLT) != FALSE;
  GdiFlush();
  SelectObject(memory.Get(), previous);
  stride = (static_cast<UINT>(area.width) * 3 + 3) & ~3u;
  pixels.assign(static_cast<const char*>(bits), static_cast<size_t>(stride) * area.height);
  return copied;
}

bool WritePng(const std::wstring& file, const Area& area, std::string& pixels, UINT stride) {
  ComPtr<IWICImagingFactory> factory;
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapEncoder> encoder;
  ComPtr<IWICBitmapFrameEncode> frame;
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  return SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_PPV_ARGS(&factory))) &&
         SUCCEEDED(factory->CreateStream(&stream)) &&
         SUCCEEDED(stream->InitializeFromFilename(file.c_str(), GENERIC_WRITE)) &&
         SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) &&
         SUCCEEDED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) &&
         SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
         SUCCEEDED(frame->SetSize(area.width, area.height)) && SUCCEEDED(frame->SetPixelFormat(&format)) &&
         IsEqualGUID(format, GUID_WICPixelFormat24bppBGR) &&
         SUCCEEDED(frame->WritePixels(area.height, stride, static_cast<UINT>(pixels.size()),
                                      reinterpret_cast<BYTE*>(pixels.data()))) &&
         SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2 || argc > 3) {
    std::fputs("usage: screenshot FILE [margin]\n", stderr);
    return 2;
  }
  SetProcessDPIAware();
  const int margin = argc == 3 ? _wtoi(argv[2]) : 24;
  const Area area = AreaToSave(margin);
  std::string pixels;
  UINT stride = 0;
  if (!CapturePixels(area, pixels, stride)) {
    std::fputs("screenshot: the screen could not be read\n", stderr);
    return 1;
  }
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  const bool written = WritePng(argv[1], area, pixels, stride);
  CoUninitialize();
  if (!written) {
    std::fputs("screenshot: the PNG file could not be written\n", stderr);
    return 1;
  }
  std::printf("%dx%d at %d,%d\n", area.width, area.height, area.x, area.y);
  return 0;
}
