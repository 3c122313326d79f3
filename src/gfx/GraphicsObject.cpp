// Class information of the graphics object base.
#include "gfx/GraphicsObject.h"

#include "classes/Properties.h"

namespace gfx {

const classes::TClassInfo& TGraphicsObject::StaticClass() {
    static const classes::TClassInfo info("TGraphicsObject", &classes::TPersistent::StaticClass());
    return info;
}

const classes::TClassInfo& TGraphicsObject::ClassInfo() const {
    return StaticClass();
}

}  // namespace gfx
