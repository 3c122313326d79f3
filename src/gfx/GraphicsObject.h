// Base of the pen, brush, font, bitmap and picture: a change event fired after every change.
#pragma once

#include <functional>

#include "classes/Persistent.h"

namespace gfx {

// Called after a graphics object changed; owners install it to repaint.
using TChangeEvent = std::function<void()>;

class TGraphicsObject : public classes::TPersistent {
  public:
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

    const TChangeEvent& OnChange() const { return m_onChange; }
    void SetOnChange(TChangeEvent handler) { m_onChange = std::move(handler); }

  protected:
    // Fires the change event when one is set.
    void Changed() {
        if (m_onChange) {
            m_onChange();
        }
    }

  private:
    TChangeEvent m_onChange;
};

}  // namespace gfx
