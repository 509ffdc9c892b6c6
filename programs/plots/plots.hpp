// plots.hpp: what the picture programs share besides the drawing toolkit.
// A picture program draws its picture in stages and reports what it
// computes as events: a `run` with the run's numbers, a `stage` each time a
// picture is shown (its numbers and its caption), a `pause` ("key") where it
// waits, and the `result`. PictureView renders the events: the line
// "stage k of N: caption" (classic), each stage with its legend
// (--explain), or JSON Lines (--json).
//
//     show_stage(out, "primes", caption, "stage", 2, "count", 3, "primes", dots);
//     wait_for_key(out);
#pragma once
#include "draw/draw.hpp"
#include "views/view.hpp"
#include <cmath>
#include <memory>
#include <string>

class PictureView : public Steps
{
  public:
    PictureView(const ViewOptions &options, const ExplainTable &explain);
    ~PictureView() override;
    // Each stage's text and each pause's are handed over at once.
    void report(const Event &event) override;
    // Ends the run: the explanation's last lines, the JSON result.
    void finish();

  private:
    Steps &sink();
    std::unique_ptr<ClassicView> classic; // the stage lines, each written at once
    std::unique_ptr<View> view;           // --explain or --json
};

// Shows the picture as drawn so far, with its caption (the window's title,
// the page), then reports the stage with its values and its "caption". The
// screen is reached by direct calls only, as the web edition needs to
// suspend the program there.
template <class... Pairs>
void show_stage(Steps &out, const char *what, const std::string &caption, const Pairs &...pairs)
{
    show_stage(caption.c_str());
    out.stage(what, pairs..., "caption", caption.c_str());
}

// The program's wait at a stage: a pause event, then a key in the window.
inline void wait_for_key(Steps &out)
{
    out.pause("key");
    wait_key_or_quit();
}

// The one line of the classic view: "stage k of N: caption", for every
// stage of the theme.
extern const ClassicTable plots_classic;

// Each program's explanation, and its legend (--help and the explanation).
extern const ExplainTable ulam_spiral_plot_explain, ulam_spiral_labels_explain, prime_count_plot_explain,
    gaussian_walk_explain, gaussian_graph_explain, fermat_walk_plot_explain;
extern const Legend ulam_spiral_plot_legend, ulam_spiral_labels_legend, prime_count_plot_legend,
    gaussian_walk_legend, gaussian_graph_legend, fermat_walk_plot_legend;

// The polynomial n*n + b*n + c as the captions write it: "n*n + n + 41",
// "n*n - 79*n + 1601".
std::string polynomial_text(long long b, long long c);
// The Gaussian integer a + bi as the captions write it: "1 + i", "5 - 2i",
// "-3", "7i".
std::string gaussian_text(long long a, long long b);

// The lattice coordinate nearest a pixel `offset` pixels from the origin,
// at `unit` pixels a step (halfway rounds up): the point a read-out names.
inline int nearest_lattice(int offset, int unit)
{
    return static_cast<int>(std::floor((offset + unit / 2.0) / unit));
}
