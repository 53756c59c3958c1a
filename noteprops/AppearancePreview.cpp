#include "noteprops/AppearancePreview.h"

#include <string>

#include "foundation/DataFolder.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/TextFormatting.h"
#include "foundation/bytes/BoundedCopy.h"
#include "foundation/bytes/MessageBoxes.h"
#include "foundation/win/BackgroundPainting.h"
#include "foundation/win/BitmapHelpers.h"
#include "foundation/win/ColorDialog.h"
#include "foundation/win/FontDialog.h"
#include "foundation/win/FontSizeAndPixels.h"
#include "foundation/win/LoadedBitmap.h"
#include "foundation/win/RuledLines.h"
#include "noteprops/AppearanceSettings.h"
#include "noteprops/TexturePicker.h"

void PaintTextureFile(HDC dc, const RECT& body, const char* fileName, bool stretch)
{
    const std::string path = DataFilePath(DataName::kTexturesFolder) + "\\" + fileName;
    CLoadedBitmap picture;
    CBoxesToLog quiet;
    if (!picture.LoadImageFromFile(GetModuleHandleA(nullptr), path.c_str()))
        return;
    CCompatibleDC source(dc);
    CObjectSelector selected(source.GetHandle(), picture.GetBitmap());
    DrawPictureOver(dc, source.GetHandle(), picture.GetWidth(), picture.GetHeight(), body, stretch);
}

PreviewRegions ComputePreviewRegions(HWND preview, const CAppearanceSettings& settings)
{
    RECT client{};
    GetClientRect(preview, &client);
    HDC dc = GetDC(preview);
    const int th = FontTextHeight(dc, settings.titleFont);
    const int fh = FontTextHeight(dc, settings.bodyFont);
    ReleaseDC(preview, dc);
    PreviewRegions regions{};
    const int titleBottom = th + 1;
    regions.titleText = {0, 0, client.right / 2, titleBottom};
    regions.titleBackground = {client.right / 2, 0, client.right, titleBottom};
    const int left = settings.leftMarginKind ? 32 : 2;
    int top;
    if (settings.rollUp)
        top = titleBottom;
    else if (settings.horizontalLines) {
        int line = 3;
        while (line > 1 && titleBottom + line * fh > client.bottom)
            --line;
        top = titleBottom + (line - 1) * fh;
    } else
        top = titleBottom + (client.bottom - titleBottom - fh) / 2;
    regions.text = {left, top, client.right, top + fh};
    return regions;
}

void DrawAppearancePreview(HWND preview, HDC target, const CAppearanceSettings& settings, const char* title)
{
    RECT client{};
    GetClientRect(preview, &client);
    HDC dc = CreateCompatibleDC(target);
    HBITMAP bitmap = CreateCompatibleBitmap(target, client.right, client.bottom);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    const PreviewRegions regions = ComputePreviewRegions(preview, settings);
    const int titleBottom = regions.titleText.bottom;
    HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    FillRect(dc, &client, face);
    RECT body = {0, titleBottom, client.right, settings.rollUp ? regions.text.bottom + 1 : client.bottom};
    if (settings.backgroundKind != 5) {
        HBRUSH brush = CreateSolidBrush(settings.backgroundColor);
        FillRect(dc, &body, brush);
        DeleteObject(brush);
    }
    if (settings.backgroundKind == 4 && settings.textureFile[0])
        PaintTextureFile(dc, body, settings.textureFile, settings.textureStretch != 0);
    else if (settings.backgroundKind >= 1 && settings.backgroundKind <= 3 && GetGradientFillFunction())
        DrawGradientIn(static_cast<int>(settings.backgroundKind), body, dc, settings.backgroundColor);
    DrawMarginLine(dc, settings.leftMarginKind, titleBottom, body.bottom, settings.textColor);
    if (settings.horizontalLines)
        DrawRuledLines(dc, titleBottom, regions.text.bottom - regions.text.top, regions.text.left, client.right,
                       titleBottom, body.bottom, settings.textColor);

    char sample[128] = "";
    DescribeFont(settings.bodyFont, sample, sizeof sample, GetDeviceCaps(target, LOGPIXELSY));
    std::string text = settings.backgroundKind == 5 ? std::string(sample) + " (Transparent)" : sample;
    SetBkMode(dc, TRANSPARENT);
    HFONT bodyFont = CreateFontIndirectA(&settings.bodyFont);
    HGDIOBJ oldFont = SelectObject(dc, bodyFont);
    SetTextColor(dc, settings.textColor);
    RECT textRect = regions.text;
    DrawTextA(dc, text.c_str(), -1, &textRect, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    RECT titleBar = {0, 0, client.right, titleBottom};
    if (!(settings.backgroundKind == 5 && settings.titleBackgroundColor == settings.backgroundColor)) {
        HBRUSH brush = CreateSolidBrush(settings.titleBackgroundColor);
        FillRect(dc, &titleBar, brush);
        DeleteObject(brush);
    }
    HFONT titleFont = CreateFontIndirectA(&settings.titleFont);
    SelectObject(dc, titleFont);
    SetTextColor(dc, settings.titleTextColor);
    std::string caption = title;
    if (settings.showDate) {
        CDateTime created = settings.created;
        caption += std::string(" - ") + created.FormatDateTime(true);
    }
    titleBar.left = 2;
    DrawTextA(dc, caption.c_str(), -1, &titleBar, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX | DT_VCENTER);
    SelectObject(dc, oldFont);
    DeleteObject(bodyFont);
    DeleteObject(titleFont);
    if (settings.stayOnTop || settings.hasBorder) {
        const int width = settings.stayOnTop ? 2 : 1;
        HBRUSH frame = CreateSolidBrush(settings.stayOnTop ? RGB(255, 0, 0) : RGB(0, 0, 255));
        for (int i = 0; i < width; ++i) {
            RECT edge = {i, i, client.right - i, client.bottom - i};
            FrameRect(dc, &edge, frame);
        }
        RECT under = {0, titleBottom, client.right, titleBottom + 1};
        FillRect(dc, &under, frame);
        DeleteObject(frame);
    }
    BitBlt(target, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

void ChoosePreviewColour(HWND owner, COLORREF& colour, const char* title)
{
    COLORREF chosen = colour;
    if (ChooseColorWithTitle(&chosen, owner, colour, title))
        colour = chosen;
}

void ChoosePreviewFont(HWND owner, LOGFONTA& font, COLORREF& colour, const char* title)
{
    LOGFONTA chosen = font;
    COLORREF chosenColour = colour;
    if (ChooseFontWithTitle(&chosen, &chosenColour, owner, font, colour, title)) {
        font = chosen;
        colour = chosenColour;
    }
}

void ChooseNoteTexture(HWND owner, CAppearanceSettings& settings)
{
    CTextureChoice current;
    CopyBounded(current.fileName, settings.textureFile);
    current.stretch = settings.textureStretch != 0;
    CTextureChoice chosen;
    if (!ChooseTexture(owner, current, chosen))
        return;
    CopyBounded(settings.textureFile, chosen.fileName);
    settings.textureStretch = chosen.stretch ? 1 : 0;
}
