// The names of colour values as design data writes them (clBlue, clBtnFace, ...).
#pragma once

#include "classes/Properties.h"

namespace gfx {

// Every named colour and system colour with its value.
const classes::TIdentMap& ColorIdents();

}  // namespace gfx
