#pragma once

#include "platform/audio/RenderQuality.h"

namespace openmpt {
class module;
}

/// Sets module to render as quality says; a setting this libopenmpt does not know leaves the
/// module as it was. For the module that plays and for any rendered apart from it.
void applyRenderQuality(openmpt::module& module, const RenderQuality& quality);
