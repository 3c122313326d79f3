// The panel (a raised or lowered frame holding controls) and the picture control.
#pragma once

#include "forms/Control.h"

namespace forms {

enum class TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };

class TPanel : public TWinControl {
  public:
    explicit TPanel(classes::TComponent* owner);
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

    TPanelBevel BevelInner() const { return m_bevelInner; }
    void SetBevelInner(TPanelBevel value);
    TPanelBevel BevelOuter() const { return m_bevelOuter; }
    void SetBevelOuter(TPanelBevel value);
    // Pixels per bevel.
    int32_t BevelWidth() const { return m_bevelWidth; }
    void SetBevelWidth(int32_t value);

  private:
    TPanelBevel m_bevelInner = TPanelBevel::bvNone;
    TPanelBevel m_bevelOuter = TPanelBevel::bvRaised;
    int32_t m_bevelWidth = 1;
};

// Shows a picture. The picture is named by `PictureName`, a file the program ships (looked up
// beside the program and in its installed data folder); it is drawn unscaled from the top-left
// corner and cut off at the control's edges unless Stretch is set.
class TImage : public TControl {
  public:
    explicit TImage(classes::TComponent* owner);
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

    const std::string& PictureName() const { return m_pictureName; }
    void SetPictureName(const std::string& value);
    bool Stretch() const { return m_stretch; }
    void SetStretch(bool value);

  private:
    std::string m_pictureName;
    bool m_stretch = false;
};

}  // namespace forms
