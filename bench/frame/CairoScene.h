// The same scene drawn by cairo on an RGB16_565 image surface with antialiasing off.
#pragma once

#include <cairo.h>

#include "bench/frame/FrameScene.h"

namespace bench {

struct CairoScene {
    explicit CairoScene(const Scene& scene);
    ~CairoScene();
    void draw();

    const Scene& scene;
    cairo_surface_t* target = nullptr;
    cairo_t* cr = nullptr;
    // Keyed pictures become alpha; glyphs become 1-bit masks.
    cairo_surface_t* vehicle = nullptr;
    cairo_surface_t* button = nullptr;
    cairo_surface_t* glyphs[256] = {};
};

}  // namespace bench
