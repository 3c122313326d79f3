// The peer of the chart benchmarks: cairo's image backend drawing aliased on a frame of the same
// size as the chart's, so each kind can be timed against a general-purpose vector library on the
// same geometry. Only bench_chart links cairo, and only where the machine has it.
#pragma once

#ifdef KEYVET_BENCH_CAIRO

#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cstdint>

namespace bench {

class TCairoFrame {
public:
    TCairoFrame(int32_t width, int32_t height)
        : surface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height)),
          cr_(cairo_create(surface_)) {
        cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
    }
    ~TCairoFrame() {
        cairo_destroy(cr_);
        cairo_surface_destroy(surface_);
    }
    TCairoFrame(const TCairoFrame&) = delete;
    TCairoFrame& operator=(const TCairoFrame&) = delete;

    cairo_t* Cr() const { return cr_; }

    // Fills the frame with one colour (components 0..1), as a paint starts from the chart's
    // background.
    void Clear(double red, double green, double blue) {
        cairo_set_source_rgb(cr_, red, green, blue);
        cairo_paint(cr_);
    }

    // Ends a drawing: the pixels are written and kept from the optimiser.
    void Finish() {
        cairo_surface_flush(surface_);
        benchmark::DoNotOptimize(cairo_image_surface_get_data(surface_));
    }

private:
    cairo_surface_t* surface_;
    cairo_t* cr_;
};

}  // namespace bench

#endif
