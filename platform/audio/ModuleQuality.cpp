#include "platform/audio/ModuleQuality.h"

#include <libopenmpt/libopenmpt.hpp>

void applyRenderQuality(openmpt::module& module, const RenderQuality& quality)
{
    try {
        module.set_render_param(openmpt::module::RENDER_INTERPOLATIONFILTER_LENGTH, quality.interpolationTaps);
        module.set_render_param(openmpt::module::RENDER_STEREOSEPARATION_PERCENT, quality.stereoSeparation);
        module.set_render_param(openmpt::module::RENDER_VOLUMERAMPING_STRENGTH, quality.volumeRamping);
        module.ctl_set_boolean("render.resampler.emulate_amiga", quality.amigaResampler);
    } catch (...) {
        // Left as it was.
    }
}
