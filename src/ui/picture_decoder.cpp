#include "ui/picture_decoder.h"

#include <objbase.h>
#include <wincodec.h>
#include <wrl/client.h>

#include "ui/system_library.h"

namespace quillory::ui {

namespace {

using Microsoft::WRL::ComPtr;

// Larger than any picture of ours, small enough that a frame's bytes fit a UINT.
constexpr UINT kMaxSide = 8192;

// ole32's entry points, loaded with the first picture rather than with the
// program: most runs never read one, and start-up does not pay for COM.
struct Ole32 {
    Ole32()
        : module(LoadSystemLibrary("ole32.dll")),
          Initialize(ModuleFunction<decltype(&CoInitializeEx)>(module, "CoInitializeEx")),
          Uninitialize(ModuleFunction<decltype(&CoUninitialize)>(module, "CoUninitialize")),
          CreateInstance(ModuleFunction<decltype(&CoCreateInstance)>(module, "CoCreateInstance")) {}
    bool Loaded() const { return Initialize && Uninitialize && CreateInstance; }

    HMODULE module;
    decltype(&CoInitializeEx) Initialize;
    decltype(&CoUninitialize) Uninitialize;
    decltype(&CoCreateInstance) CreateInstance;
};

// COM on the calling (UI) thread for as long as a picture is read, balanced.
// A thread already in the multithreaded apartment refuses the single-threaded
// one (RPC_E_CHANGED_MODE) but can use the imaging component as it is.
class ComApartment {
public:
    explicit ComApartment(const Ole32& com)
        : com_(com), result_(com.Initialize(nullptr, COINIT_APARTMENTTHREADED |
                                                         COINIT_DISABLE_OLE1DDE)) {}
    ~ComApartment() {
        if (SUCCEEDED(result_)) com_.Uninitialize();  // S_FALSE counts too
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    bool Usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

private:
    const Ole32& com_;
    HRESULT result_;
};

// The first frame of the picture, converted to the bitmap's pixel layout.
// Every COM object here is released on return, before the apartment ends.
bool ReadFirstFrame(const Ole32& com, const void* data, std::size_t size, TBitmap& bitmap) {
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    // The first factory: the one Windows 7 has.
    if (FAILED(com.CreateInstance(CLSID_WICImagingFactory1, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_PPV_ARGS(&factory))) ||
        FAILED(factory->CreateStream(&stream)) ||
        // The stream only reads the resource's bytes; it never writes them.
        FAILED(stream->InitializeFromMemory(static_cast<BYTE*>(const_cast<void*>(data)),
                                            static_cast<DWORD>(size))) ||
        FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr,
                                                WICDecodeMetadataCacheOnDemand, &decoder)) ||
        FAILED(decoder->GetFrame(0, &frame)) || FAILED(factory->CreateFormatConverter(&converter)) ||
        FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppPBGRA,
                                     WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)))
        return false;
    UINT width = 0, height = 0;
    if (FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0 ||
        width > kMaxSide || height > kMaxSide)
        return false;
    bitmap.SetSize(static_cast<int>(width), static_cast<int>(height));
    if (bitmap.Empty()) return false;
    GdiFlush();
    const UINT stride = width * 4;
    return SUCCEEDED(converter->CopyPixels(nullptr, stride, stride * height,
                                           reinterpret_cast<BYTE*>(bitmap.ScanLine(0))));
}

}  // namespace

bool DecodePicture(const void* data, std::size_t size, TBitmap& bitmap) {
    bitmap.SetSize(0, 0);
    if (!data || size == 0) return false;
    const Ole32 com;
    if (!com.Loaded()) return false;
    const ComApartment apartment(com);
    if (apartment.Usable() && ReadFirstFrame(com, data, size, bitmap)) return true;
    bitmap.SetSize(0, 0);  // half a picture is no picture
    return false;
}

}  // namespace quillory::ui
