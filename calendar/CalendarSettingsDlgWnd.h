#pragma once

#include <windows.h>

#include <memory>

#include "calendar/CalendarStyleButton.h"
#include "calendar/MonthGrid.h"
#include "calendar/controls/DlgDrawnFrame.h"
#include "foundation/win/ColorSwatch.h"
#include "foundation/win/DeviceContext.h"
#include "foundation/win/LinkStatic.h"

struct CCalendarSettingsDlg;
struct HoverButtonBackground;

// The calendar settings dialog's window side, from WM_INITDIALOG to
// WM_DESTROY: the controls bound to the working settings, the preview of one
// month (a month grid over the dialog's items on a painted canvas that
// imitates the calendar's caption, border and background) and the nine style
// buttons.
class CCalendarSettingsWnd {
public:
    enum { kRegionCount = 10, kTipSize = 100 };

    CCalendarSettingsWnd(HWND dialog, CCalendarSettingsDlg& record);
    ~CCalendarSettingsWnd();
    CCalendarSettingsWnd(const CCalendarSettingsWnd&) = delete;
    CCalendarSettingsWnd& operator=(const CCalendarSettingsWnd&) = delete;

    void OnInitDialog();
    // The dialog's messages; true when handled, with the dialog's result.
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result);

private:
    // Controls and commands (CalendarSettingsDlgWnd.cpp).
    void SetControlsFromRecord();
    void RefreshHotkey();
    void ChooseHotkey();
    void SetUpTransparency();
    void OnTransparencyScroll();
    void EnableTransparency();
    void SelectBackground();
    void OnCommand(WORD id, WORD notification, LPARAM lParam);
    bool OnFlagCommand(WORD id);
    void OnFirstDay(BYTE day);
    void OnOtherDays();
    void ChooseShadeColor();
    void ShowHelp();
    bool IsChecked(int id) const;
    void Check(int id, DWORD value) const;

    // Styles (CalendarSettingsDlgStyles.cpp).
    void LoadStyleButtons();
    void ApplyStyle(int index);
    void ResetToStandard();
    void AfterNewLook();
    void SaveStyle(int index);
    void ResetStyle(int index);
    void UndoStyle(int index);
    void PublishStyle(int index);
    CDlgCalendarStyleButton* StyleButtonOf(HWND window);

    // The preview (CalendarSettingsPreview.cpp).
    void BuildPreview();
    void TakeDaysFont(const LOGFONTA& font);
    void ApplyLookToPreview();
    void RenderCanvas();
    int CaptionHeight() const;
    void ComputeRegions();
    void RegisterRegionTips();
    void FillPreviewMonth();
    void LayOutPreview();
    void KeepPartsInsideFrame();
    void ShowRolledUp();
    void Redraw();
    void DrawCellGrid(const DRAWITEMSTRUCT& item);
    void RepaintCells();
    void PaintPartBackground(const HoverButtonBackground& part);
    void PaintFrameFace(HDC dc) const;
    bool DrawItem(const DRAWITEMSTRUCT& item);

    // Clicks, cursors and tips of the preview (CalendarSettingsPreviewClicks.cpp).
    void OnLeftButtonDown(POINT point, bool control);
    bool OnSetCursor();
    void OnMouseMove(WPARAM flags, POINT point);
    bool CtrlGradientApplies(bool control) const;
    bool ToggleGradientOnCtrlClick(bool control);
    void ChooseTextColorAndFont(bool control);
    void ChooseTitleFontAndColor();
    void ChooseTitleBackground();
    void ChooseBackground(bool control);
    void ChooseTexture();
    void ChooseBackgroundColor();
    void OnBackgroundCombo();
    void UpdateBackgroundTips();
    const char* RegionTipText(UINT id) const;
    int RegionAt(POINT point) const;

    HWND m_dialog;
    CCalendarSettingsDlg& m_record;
    CCalendarStyle& m_settings;
    std::unique_ptr<CColorSwatch> m_shadeSwatch;
    std::unique_ptr<CLinkStatic> m_hotkeyButton;
    CDlgCalendarStyleButton m_styleButtons[9];
    HWND m_hotkeyTip = nullptr;
    HWND m_comboTip = nullptr;

    // The preview.
    std::unique_ptr<CParentPaintedStatic> m_frame;
    std::unique_ptr<CMonthGrid> m_grid;
    CMemoryDC m_canvas;
    bool m_canvasMade = false;
    RECT m_frameRect = {};
    int m_captionHeight = 0;
    RECT m_regions[kRegionCount] = {};
    RECT m_captionText = {};
    RECT m_captionBack = {};
    HWND m_regionTip = nullptr;
    HWND m_captionTextTip = nullptr;
    HWND m_captionBackTip = nullptr;
    char m_backgroundTip[kTipSize] = "";
    char m_comboTipText[kTipSize] = "";
    bool m_ctrlGradient = false;
};
