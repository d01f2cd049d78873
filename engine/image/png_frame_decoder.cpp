#include "engine/image/png_frame_decoder.h"

#include <windows.h>
#include <objbase.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <climits>

#include "engine/image/png_chunks.h"
#include "engine/image/png_pixels.h"
#include "engine/image/premultiply.h"

using Microsoft::WRL::ComPtr;

namespace {

// Joins the calling thread to a single-threaded apartment for as long as it
// lives. A thread already in the multithreaded apartment keeps it: WIC works
// there too, and that membership is not ours to undo.
class ComApartment {
 public:
  ComApartment() {
    const HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    joined_ = SUCCEEDED(result);  // S_FALSE (already joined) must be balanced as well
    usable_ = joined_ || result == RPC_E_CHANGED_MODE;
  }
  ~ComApartment() {
    if (joined_) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

  bool usable() const { return usable_; }

 private:
  bool joined_ = false;
  bool usable_ = false;
};

}  // namespace

// Declared in this order so the factory is released before the apartment is left.
struct PngFrameDecoder::Wic {
  ComApartment apartment;
  ComPtr<IWICImagingFactory> factory;
};

PngFrameDecoder::PngFrameDecoder() {
  auto wic = std::make_unique<Wic>();
  if (!wic->apartment.usable()) return;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                              IID_PPV_ARGS(wic->factory.GetAddressOf())))) {
    return;
  }
  wic_ = std::move(wic);
}

PngFrameDecoder::~PngFrameDecoder() = default;

bool PngFrameDecoder::Decode(const uint8_t* png, size_t size, std::vector<uint8_t>& bgra, int& width,
                             int& height) {
  if (png == nullptr || size == 0 || size > UINT_MAX) return false;
  PngChunks chunks;
  if (ReadPngChunks(png, size, chunks) && IsPlainRgbOrRgba(chunks)) {
    if (!DecodePngPixels(chunks, rows_, bgra)) return false;
    width = static_cast<int>(chunks.width);
    height = static_cast<int>(chunks.height);
    return true;
  }
  if (!wic_) return false;
  IWICImagingFactory* factory = wic_->factory.Get();

  // WIC reads the bytes in place; the stream only ever reads, despite the
  // non-const parameter.
  ComPtr<IWICStream> stream;
  if (FAILED(factory->CreateStream(stream.GetAddressOf())) ||
      FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(png), static_cast<DWORD>(size)))) {
    return false;
  }

  // Asking for the PNG decoder by name skips probing every installed codec.
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  if (FAILED(factory->CreateDecoder(GUID_ContainerFormatPng, nullptr, decoder.GetAddressOf())) ||
      FAILED(decoder->Initialize(stream.Get(), WICDecodeMetadataCacheOnDemand)) ||
      FAILED(decoder->GetFrame(0, frame.GetAddressOf()))) {
    return false;
  }

  UINT frameWidth = 0;
  UINT frameHeight = 0;
  if (FAILED(frame->GetSize(&frameWidth, &frameHeight)) || frameWidth == 0 || frameHeight == 0) return false;
  // CopyPixels takes the stride and the buffer size as UINT.
  const uint64_t stride = uint64_t{frameWidth} * 4;
  const uint64_t bufferSize = stride * frameHeight;
  if (frameWidth > INT_MAX || frameHeight > INT_MAX || bufferSize > UINT_MAX) return false;

  bgra.resize(static_cast<size_t>(bufferSize));
  const UINT strideArg = static_cast<UINT>(stride);
  const UINT bufferSizeArg = static_cast<UINT>(bufferSize);

  // An RGBA PNG comes out of the decoder as straight BGRA. Copying that and
  // premultiplying here costs a fraction of WIC's converter, which matters at
  // one frame per paint. Anything else (Chromium sends plain RGB for frames
  // with no transparency) goes through the converter.
  WICPixelFormatGUID frameFormat{};
  if (FAILED(frame->GetPixelFormat(&frameFormat))) return false;
  if (IsEqualGUID(frameFormat, GUID_WICPixelFormat32bppBGRA)) {
    if (FAILED(frame->CopyPixels(nullptr, strideArg, bufferSizeArg, bgra.data()))) return false;
    PremultiplyInPlace(bgra.data(), size_t{frameWidth} * frameHeight);
  } else {
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.GetAddressOf())) ||
        FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone,
                                     nullptr, 0.0, WICBitmapPaletteTypeCustom)) ||
        FAILED(converter->CopyPixels(nullptr, strideArg, bufferSizeArg, bgra.data()))) {
      return false;
    }
  }
  width = static_cast<int>(frameWidth);
  height = static_cast<int>(frameHeight);
  return true;
}
