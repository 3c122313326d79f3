// A window built from its design data: caption, outer and client size, placement, frame style
// and main menu.
#pragma once

#include "forms/Control.h"
#include "forms/Menus.h"

namespace forms {

enum class TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };

// Frame sizes (pixels) between a window's outer and client size, as the classic desktop draws
// them: a border on every side, a caption bar above, and a menu bar below it when there is one.
constexpr int32_t kFrameBorder = 4;
constexpr int32_t kFrameCaption = 19;
constexpr int32_t kFrameMenu = 19;
constexpr int32_t kDialogBorder = 3;

class TForm : public TWinControl {
  public:
    explicit TForm(classes::TComponent* owner);
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

    // Client area, pixels: the outer size less the frame.
    int32_t ClientWidth() const;
    int32_t ClientHeight() const;
    void SetClientWidth(int32_t value);
    void SetClientHeight(int32_t value);

    TPosition Position() const { return m_position; }
    void SetPosition(TPosition value) { m_position = value; }
    TFormBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TFormBorderStyle value) { m_borderStyle = value; }
    TMainMenu* Menu() const { return m_menu; }
    void SetMenu(TMainMenu* menu);
    int32_t PixelsPerInch() const { return m_pixelsPerInch; }
    void SetPixelsPerInch(int32_t value) { m_pixelsPerInch = value; }
    // Height of the design font's text, kept for the record of how the window was designed.
    int32_t TextHeight() const { return m_textHeight; }
    void SetTextHeight(int32_t value) { m_textHeight = value; }

    // Shows the window and brings it to the front; hides it.
    void Show();
    void Hide() { SetVisible(false); }
    // Closing hides the window; closing the main window ends the program.
    void Close();
    void BringToFront() { Changed(TControlChange::ccBringToFront); }

    // The width of the frame's left and right parts, and its top (caption, menu) and bottom.
    int32_t FrameWidth() const;
    int32_t FrameTopHeight() const;
    int32_t FrameBottomHeight() const;

    void Notification(classes::TComponent* component, classes::TOperation operation) override;

  private:
    TPosition m_position = TPosition::poDesigned;
    TFormBorderStyle m_borderStyle = TFormBorderStyle::bsSizeable;
    TMainMenu* m_menu = nullptr;
    int32_t m_pixelsPerInch = 96;
    int32_t m_textHeight = 13;
};

}  // namespace forms
