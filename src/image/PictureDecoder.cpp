// The decoders behind CPictureDecoder: bitmaps read in place after their headers passed the
// checks of BitmapHeader, PNG and JPEG decoded by the framework's own decoders, OLE pictures
// loaded from a stream over a copy of the content, pictures the imaging component decodes into
// pixels of their own, and image plug-ins called through their three exported functions. The
// platform's decoders are not made for hostile files: PNG and JPEG never reach them, icons,
// cursors and GIFs reach them only after their structures were checked, and every picture's
// size is checked against the cap before a pixel is drawn.
#include <pyro/image/PictureDecoder.h>

#include <olectl.h>

#include <cstring>
#include <new>
#include <string>

#include <pyro/file/FileBuffer.h>
#include <pyro/file/Path.h>
#include <pyro/file/Utf16.h>
#include "image/DecodedPicture.h"
#include "image/PictureFormat.h"
#include "image/WICPicture.h"

namespace {

// Plug-ins are only asked about files of at least this size: IsSupported reads that much.
constexpr uint32_t kPluginHeadSize = 0x800;
// GetPictureInfo's record is 28 bytes on 32-bit builds; the room left over takes a 64-bit
// plug-in's wider handle field.
constexpr size_t kPictureInfoRoom = 64;
constexpr unsigned int kDataInMemory = 1;

// GetProcAddress hands out one generic type; void (*)() converts to any function type.
template <class Proc>
Proc EntryPoint(HMODULE module, const char* name)
{
    return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

int32_t GetI32(const uint8_t* p)
{
    return static_cast<int32_t>(uint32_t(p[0]) | (uint32_t(p[1]) << 8) |
                                (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24));
}

LPCSTR ContentOf(const CFileBuffer* file)
{
    return reinterpret_cast<LPCSTR>(file->GetMemory());
}

bool IsOwnFormat(const CFileBuffer* file)
{
    return file && (HasPngSignature(file->GetMemory(), file->GetSize()) ||
                    HasJpegSignature(file->GetMemory(), file->GetSize()));
}

// Whether an icon, cursor or GIF failed the checks that keep it from the platform's decoders.
bool IsRefusedForPlatform(const CFileBuffer* file)
{
    return file && (CheckIconDirectory(file->GetMemory(), file->GetSize()) == PictureCheck::kRefused ||
                    CheckGifFrames(file->GetMemory(), file->GetSize()) == PictureCheck::kRefused);
}

}  // namespace

CPictureDecoder::CPictureDecoder() = default;

int32_t CPictureDecoder::Load(CFileBuffer* file)
{
    Release();
    if (LoadBMP(file) == 0) return 0;
    // A bitmap that failed its checks goes no further: the OLE loader takes such files and
    // fills the picture from memory beyond their end.
    if (file && IsDamagedBitmap(file->GetMemory(), file->GetSize())) return 1;
    // A PNG or JPEG the framework's decoders refuse is refused: no other decoder would be safer.
    if (IsOwnFormat(file)) return LoadOwn(file) == 0 ? 0 : 1;
    // The checks guard the platform's decoders; a plug-in the game ships judges files itself.
    if (!IsRefusedForPlatform(file)) {
        if (LoadPicture(file) == 0) return 0;
        if (LoadWIC(file) == 0) return 0;
    }
    if (LoadPlugin(file) == 0) return 0;
    return 1;
}

int32_t CPictureDecoder::GetSize(int32_t* width, int32_t* height)
{
    int32_t w = 0;
    int32_t h = 0;
    if (bitmapFile_) {
        // A top-down bitmap stores its height negative; its size is the number of rows.
        w = layout_.width;
        h = int32_t(layout_.rows);
    } else if (decoded_) {
        w = int32_t(decoded_->width);
        h = int32_t(decoded_->height);
    } else if (picture_) {
        OLE_XSIZE_HIMETRIC hmWidth = 0;
        OLE_YSIZE_HIMETRIC hmHeight = 0;
        picture_->get_Width(&hmWidth);
        picture_->get_Height(&hmHeight);
        HDC screen = ::GetDC(nullptr);
        if (!screen) return 1;
        w = ::MulDiv(hmWidth, ::GetDeviceCaps(screen, LOGPIXELSX), 2540);
        h = ::MulDiv(hmHeight, ::GetDeviceCaps(screen, LOGPIXELSY), 2540);
        ::ReleaseDC(nullptr, screen);
    } else if (plugin_ && file_) {
        uint8_t record[kPictureInfoRoom] = {};
        getPictureInfo_(ContentOf(file_), LONG_PTR(file_->GetSize()), kDataInMemory, record);
        w = GetI32(record + 8);
        h = GetI32(record + 12);
        // A plug-in is outside code: its size is checked like a file's header.
        if (w < 0 || h < 0 || !IsPictureSizeAllowed(uint32_t(w), uint32_t(h))) return 1;
    } else {
        return 1;
    }
    if (width) *width = w;
    if (height) *height = h;
    return 0;
}

int32_t CPictureDecoder::Draw(HDC dc)
{
    int32_t w = 0;
    int32_t h = 0;
    if (GetSize(&w, &h) != 0) return 1;
    if (bitmapFile_) {
        const int lines = ::SetDIBitsToDevice(dc, 0, 0, DWORD(w), DWORD(h), 0, 0, 0, UINT(h),
                                              bitmapBits_, bitmapInfo_, DIB_RGB_COLORS);
        return lines > 0 ? 0 : 1;
    }
    if (picture_) {
        OLE_XSIZE_HIMETRIC hmWidth = 0;
        OLE_YSIZE_HIMETRIC hmHeight = 0;
        picture_->get_Width(&hmWidth);
        picture_->get_Height(&hmHeight);
        // HIMETRIC runs bottom-up: starting at the picture's height with a negative extent
        // draws it upright.
        const HRESULT hr = picture_->Render(dc, 0, 0, w, h, 0, hmHeight, hmWidth, -hmHeight,
                                            nullptr);
        return FAILED(hr) ? 1 : 0;
    }
    if (decoded_) return DrawDecoded(dc);
    return DrawPlugin(dc);
}

// The decoded pixels as a top-down 32-bit DIB; the device context's own format decides what
// becomes of the alpha bytes.
int32_t CPictureDecoder::DrawDecoded(HDC dc)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = LONG(decoded_->width);
    info.bmiHeader.biHeight = -LONG(decoded_->height);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const UINT rows = UINT(decoded_->height);
    const int lines = ::SetDIBitsToDevice(dc, 0, 0, DWORD(decoded_->width), rows, 0, 0, 0, rows,
                                          decoded_->pixels.data(), &info, DIB_RGB_COLORS);
    return lines > 0 ? 0 : 1;
}

// The plug-in decodes the file again on every call. Its two blocks are drawn only when they
// hold what the information block says: a plug-in is outside code and its sizes are checked
// like a file's.
int32_t CPictureDecoder::DrawPlugin(HDC dc)
{
    FreePluginImage();
    HLOCAL info = nullptr;
    HLOCAL bits = nullptr;
    if (getPicture_(ContentOf(file_), LONG_PTR(file_->GetSize()), kDataInMemory, &info, &bits,
                    nullptr, 0) != 0) {
        Release();
        return 1;
    }
    pluginInfo_ = info;
    pluginBits_ = bits;

    int32_t result = 1;
    const void* infoBlock = info ? ::LocalLock(info) : nullptr;
    const void* bitsBlock = bits ? ::LocalLock(bits) : nullptr;
    BitmapLayout layout;
    if (infoBlock && bitsBlock &&
        CheckBitmapInfo(static_cast<const uint8_t*>(infoBlock), ::LocalSize(info),
                        ::LocalSize(bits), layout)) {
        // The picture's own rows, its top-left corner at (0, 0): the size GetPictureInfo
        // reported when the plug-in is consistent, and never more than the block holds.
        const int lines = ::SetDIBitsToDevice(
            dc, 0, 0, DWORD(layout.width), DWORD(layout.rows), 0, 0, 0, UINT(layout.rows),
            bitsBlock, static_cast<const BITMAPINFO*>(infoBlock), DIB_RGB_COLORS);
        if (lines > 0) result = 0;
    }
    if (infoBlock) ::LocalUnlock(info);
    if (bitsBlock) ::LocalUnlock(bits);
    FreePluginImage();
    if (result != 0) Release();
    return result;
}

int32_t CPictureDecoder::CopyPixels(uint32_t* destination, int32_t pitch)
{
    if (decoded_ && destination) {
        const size_t width = decoded_->width;
        uint8_t* row = reinterpret_cast<uint8_t*>(destination);
        for (uint32_t y = 0; y < decoded_->height; ++y, row += pitch)
            std::memcpy(row, decoded_->pixels.data() + y * width, width * 4);
        return 0;
    }
    if (!bitmapFile_ || !destination) return 1;
    if (layout_.compression != kBitmapRgb) return 2;
    if (layout_.bitCount != 24) return 3;
    CopyBitmapRows24(bitmapFile_, layout_, destination, pitch);
    return 0;
}

int32_t CPictureDecoder::Release()
{
    bitmapFile_ = nullptr;
    bitmapInfo_ = nullptr;
    bitmapBits_ = nullptr;
    decoded_.reset();
    if (picture_) {
        const ULONG left = picture_->Release();
        picture_ = nullptr;
        return left != 0 ? 1 : 0;
    }
    if (plugin_) {
        ::FreeLibrary(plugin_);
        plugin_ = nullptr;
        isSupported_ = nullptr;
        getPictureInfo_ = nullptr;
        getPicture_ = nullptr;
    }
    file_ = nullptr;
    FreePluginImage();
    return 0;
}

int32_t CPictureDecoder::GetPalette(PALETTEENTRY* entries)
{
    if (!bitmapFile_) return 1;
    if (layout_.bitCount > 8) return 2;
    if (!entries) return -1;
    FillBitmapPalette(bitmapFile_, layout_, reinterpret_cast<uint8_t*>(entries));
    return 0;
}

CPictureDecoder::~CPictureDecoder() { Release(); }

int32_t CPictureDecoder::LoadBMP(CFileBuffer* file)
{
    BitmapLayout layout;
    if (!file || !ParseBitmapFile(file->GetMemory(), file->GetSize(), layout)) {
        bitmapFile_ = nullptr;
        return 1;
    }
    const uint8_t* content = file->GetMemory();
    bitmapFile_ = content;
    bitmapInfo_ = reinterpret_cast<const BITMAPINFO*>(content + kBitmapFileHeaderSize);
    bitmapBits_ = content + layout.bitsOffset;
    layout_ = layout;
    return 0;
}

// The stream gets a copy of the content in a global memory block of its own: the file's
// content is ordinary heap memory, not a global memory handle, and the stream frees the copy.
int32_t CPictureDecoder::LoadPicture(CFileBuffer* file)
{
    if (IsOwnFormat(file)) return LoadOwn(file) == 0 ? 0 : 2;
    if (IsRefusedForPlatform(file)) {
        Release();
        return 2;
    }
    const uint32_t size = file ? file->GetSize() : 0;
    if (size == 0 || size > uint32_t(LONG_MAX) || !file->GetMemory()) {
        Release();
        return 1;
    }
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, size);
    void* copy = block ? ::GlobalLock(block) : nullptr;
    if (!copy) {
        if (block) ::GlobalFree(block);
        Release();
        return 1;
    }
    std::memcpy(copy, file->GetMemory(), size);
    ::GlobalUnlock(block);
    IStream* stream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(block, TRUE, &stream)) || !stream) {
        ::GlobalFree(block);
        Release();
        return 1;
    }
    IPicture* picture = nullptr;
    const HRESULT hr = ::OleLoadPicture(stream, LONG(size), TRUE, IID_IPicture,
                                        reinterpret_cast<void**>(&picture));
    stream->Release();
    if (FAILED(hr) || !picture) {
        if (picture) picture->Release();
        Release();
        return 2;
    }
    picture_ = picture;
    // The loader decodes some formats only when drawn (metafiles): their size is checked here.
    int32_t w = 0;
    int32_t h = 0;
    if (GetSize(&w, &h) != 0 || w < 0 || h < 0 ||
        !IsPictureSizeAllowed(uint32_t(w), uint32_t(h))) {
        Release();
        return 3;
    }
    return 0;
}

int32_t CPictureDecoder::LoadPlugin(CFileBuffer* file)
{
    if (!file) return 1;
    const std::string path = NormalizePath("spi/if" + file->GetSuffix() + ".spi");
    std::wstring widePath;
    if (!ToWide(path, widePath)) return 1;
    HMODULE module = ::LoadLibraryW(widePath.c_str());
    if (!module) return 1;
    const auto isSupported = EntryPoint<IsSupportedProc>(module, "IsSupported");
    const auto getPictureInfo = EntryPoint<GetPictureInfoProc>(module, "GetPictureInfo");
    const auto getPicture = EntryPoint<GetPictureProc>(module, "GetPicture");
    if (!isSupported || !getPictureInfo || !getPicture) {
        ::FreeLibrary(module);
        return 1;
    }
    plugin_ = module;
    isSupported_ = isSupported;
    getPictureInfo_ = getPictureInfo;
    getPicture_ = getPicture;
    // The library stays loaded until Release; the file is remembered once the plug-in takes it.
    if (file->GetSize() < kPluginHeadSize || !file->GetMemory()) return 1;
    if (isSupported_(nullptr, file->GetMemory()) == 0) {
        Release();
        return 1;
    }
    file_ = file;
    return 0;
}

int32_t CPictureDecoder::LoadWIC(CFileBuffer* file)
{
    if (IsOwnFormat(file)) return LoadOwn(file);
    Release();
    if (!file || !file->GetMemory()) return 2;
    if (IsRefusedForPlatform(file)) return 4;
    std::unique_ptr<DecodedPicture> picture(new (std::nothrow) DecodedPicture);
    if (!picture) return 5;
    const int32_t result = DecodeWICPicture(file->GetMemory(), file->GetSize(), *picture);
    if (result == 0) decoded_ = std::move(picture);
    return result;
}

int32_t CPictureDecoder::LoadOwn(CFileBuffer* file)
{
    Release();
    if (!file || !file->GetMemory()) return kPictureNotThisFormat;
    std::unique_ptr<DecodedPicture> picture(new (std::nothrow) DecodedPicture);
    if (!picture) return kPictureNoMemory;
    const int32_t result = DecodeOwnPicture(file->GetMemory(), file->GetSize(), *picture);
    if (result == kPictureDecoded) decoded_ = std::move(picture);
    return result;
}

bool CPictureDecoder::HasAlpha() const { return decoded_ && decoded_->alpha; }

void CPictureDecoder::FreePluginImage()
{
    if (pluginBits_) ::LocalFree(pluginBits_);
    if (pluginInfo_) ::LocalFree(pluginInfo_);
    pluginBits_ = nullptr;
    pluginInfo_ = nullptr;
}
