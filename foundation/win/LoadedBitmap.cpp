#include "foundation/win/LoadedBitmap.h"

#include <ocidl.h>
#include <olectl.h>

#include <cstring>

#include "foundation/GenericFile.h"
#include "foundation/bytes/MessageBoxes.h"
#include "foundation/win/BitmapHelpers.h"

namespace {
const long kHimetricPerInch = 2540;

enum class PictureKind { kBmp, kJpeg, kGif, kPng, kRefused };

// The extension is looked for anywhere in the path, in this order and in the
// two spellings the program has always accepted.
PictureKind KindOfPath(const char* path)
{
    if (std::strstr(path, ".bmp") || std::strstr(path, ".BMP"))
        return PictureKind::kBmp;
    if (std::strstr(path, ".jpg") || std::strstr(path, ".JPG"))
        return PictureKind::kJpeg;
    if (std::strstr(path, ".gif") || std::strstr(path, ".GIF"))
        return PictureKind::kGif;
    if (std::strstr(path, ".png") || std::strstr(path, ".PNG"))
        return PictureKind::kPng;
    return PictureKind::kRefused;
}

// The file's bytes in a movable global block, as a stream wants them; null
// after a box when the file cannot be read whole.
HGLOBAL ReadFileToGlobal(const char* path, DWORD* size)
{
    HGLOBAL block = nullptr;
    try {
        CGenericFile file;
        file.OpenReadOnly(path);
        *size = file.GetSize();
        block = GlobalAlloc(GMEM_MOVEABLE, *size ? *size : 1);
        if (!block)
            return nullptr;
        void* bytes = GlobalLock(block);
        DWORD read = bytes ? file.ReadFromFile(bytes, *size) : 0;
        GlobalUnlock(block);
        if (!bytes || read != *size) {
            GlobalFree(block);
            return nullptr;
        }
        return block;
    } catch (const CGenericException& failure) {
        if (block)
            GlobalFree(block);
        ShowErrorMessage(nullptr, failure.GetErrorText(), ProgramTitle);
        return nullptr;
    }
}
}

int HimetricToPixels(long himetric, int dotsPerInch)
{
    return MulDiv(himetric, dotsPerInch, kHimetricPerInch);
}

CLoadedBitmap::CLoadedBitmap(const char* path)
{
    if (path)
        LoadImageFromFile(GetModuleHandleA(nullptr), path);
}

void CLoadedBitmap::Free()
{
    if (m_bitmap && !m_borrowed)
        DeleteObject(m_bitmap);
    TakeBitmap(nullptr);
    if (m_picture) {
        m_picture->Release();
        m_picture = nullptr;
    }
    m_borrowed = false;
}

void CLoadedBitmap::TakeBitmap(HBITMAP bitmap)
{
    m_bitmap = bitmap;
    m_header = BITMAP();
    m_width = m_height = 0;
    if (bitmap && GetObjectA(bitmap, sizeof m_header, &m_header)) {
        m_width = m_header.bmWidth;
        m_height = m_header.bmHeight;
    }
}

HBITMAP CLoadedBitmap::LoadImageFromFile(HINSTANCE instance, const char* path)
{
    if (!path || GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) {
        ShowErrorMessage(nullptr, "The file does not exist. The image cannot be loaded", path ? path : "");
        return nullptr;
    }
    Free();
    m_isBmp = m_isJpeg = m_isGif = false;
    switch (KindOfPath(path)) {
    case PictureKind::kBmp:
        m_isBmp = true;
        TakeBitmap(static_cast<HBITMAP>(LoadImageA(instance, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
        break;
    case PictureKind::kJpeg:
        m_isJpeg = true;
        LoadGifJpg(path);
        break;
    case PictureKind::kGif:
        m_isGif = true;
        LoadGifJpg(path);
        break;
    case PictureKind::kPng:
        ShowErrorMessage(nullptr, "Sorry, .PNG files are not currently supported.", ProgramTitle);
        return nullptr;
    case PictureKind::kRefused:
        ShowErrorMessage(nullptr, "Please check the CapsLock key.\r\nOnly .bmp, .jpg, .gif files are allowed ",
                         ProgramTitle);
        return nullptr;
    }
    if (!m_bitmap)
        ShowErrorMessage(nullptr, "Loading the image from disk has failed", path);
    return m_bitmap;
}

bool CLoadedBitmap::LoadGifJpg(const char* path)
{
    DWORD size = 0;
    HGLOBAL block = ReadFileToGlobal(path, &size);
    if (!block)
        return false;
    IStream* stream = nullptr;
    // The stream frees the block when it is released.
    if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) {
        GlobalFree(block);
        ShowErrorMessage(nullptr, "CLoadedBitmap::LoadGifJpg CreateStreamOnHGlobal has failed", ProgramTitle);
        return false;
    }
    HRESULT loaded = OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                                    reinterpret_cast<void**>(&m_picture));
    stream->Release();
    if (FAILED(loaded) || !m_picture) {
        m_picture = nullptr;
        ShowErrorMessage(nullptr, "CLoadedBitmap::LoadGifJpg OleLoadPicture has failed", ProgramTitle);
        return false;
    }
    bool rendered = RenderPicture();
    m_picture->Release();
    m_picture = nullptr;
    return rendered;
}

bool CLoadedBitmap::RenderPicture()
{
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    m_picture->get_Width(&width);
    m_picture->get_Height(&height);
    CClientDC screen(nullptr);
    int pixelsWide = HimetricToPixels(width, GetDeviceCaps(screen.GetHandle(), LOGPIXELSX));
    int pixelsHigh = HimetricToPixels(height, GetDeviceCaps(screen.GetHandle(), LOGPIXELSY));
    CBitmapHolder bitmap(pixelsWide > 0 && pixelsHigh > 0
                             ? CreateCompatibleBitmap(screen.GetHandle(), pixelsWide, pixelsHigh)
                             : nullptr);
    bool rendered = false;
    if (bitmap.Get()) {
        CCompatibleDC memory(screen.GetHandle());
        CObjectSelector selected(memory.GetHandle(), bitmap.Get());
        // Picture coordinates run upwards: start at the top and go down.
        rendered = SUCCEEDED(
            m_picture->Render(memory.GetHandle(), 0, 0, pixelsWide, pixelsHigh, 0, height, width, -height, nullptr));
    }
    if (!rendered) {
        ShowErrorMessage(nullptr, "CLoadedBitmap::Render failed", ProgramTitle);
        return false;
    }
    TakeBitmap(bitmap.Detach());
    return true;
}

HBITMAP CLoadedBitmap::LoadBitmapResource(HINSTANCE instance, UINT id)
{
    Free();
    TakeBitmap(LoadBitmapA(instance, MAKEINTRESOURCEA(id)));
    return m_bitmap;
}
