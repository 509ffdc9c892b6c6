// The views of a picture program. The stage's line and the explanation go
// to the terminal as each stage is shown; the program then waits for a key
// in the window, not on the terminal (wait_for_key).
#include "console/console.hpp"
#include "plots.hpp"
#include <cstdio>

// A page of the web edition renders every view of the run (its View), a
// terminal the one asked for.
#ifdef __EMSCRIPTEN__
const bool every_view = true;
#else
const bool every_view = false;
#endif

PictureView::PictureView(const ViewOptions &options, const ExplainTable &explain)
{
    if (options.kind != ViewOptions::classic || every_view) {
        view = std::make_unique<View>(options, std::vector<const ClassicTable *>{&plots_classic},
                                      std::vector<const ExplainTable *>{&explain});
        // The picture waits for its key in the window (wait_for_key), not
        // at the pause.
        pauses_wait = false;
        return;
    }
    // The classic view writes each stage's line through the trace, flushed
    // at once: a line that cannot be written shows in the output's state,
    // which the check at exit reports.
    ClassicOutput out;
    out.write = [](const char *bytes, size_t size) {
        trace_write(bytes, size);
        flush_trace();
    };
    classic = std::make_unique<ClassicView>(std::vector<const ClassicTable *>{&plots_classic}, out);
}

PictureView::~PictureView()
{
    finish();
}

Steps &PictureView::sink()
{
    if (classic)
        return *classic;
    return view->steps();
}

void PictureView::report(const Event &event)
{
    sink().report(event);
    // What the stage brought is on the terminal before the program draws
    // on or waits.
    if (event.kind == EventKind::stage || event.kind == EventKind::pause) {
        if (classic)
            classic->flush();
        flush_trace();
    }
}

void PictureView::finish()
{
    if (classic)
        classic->flush();
    if (view)
        view->finish();
    flush_trace();
}
