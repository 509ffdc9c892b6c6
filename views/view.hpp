// view.hpp: the view a run is shown in, chosen on the program's command
// line: the classic trace (the default), --explain, or --json; --all shows
// every step of an explanation.
//
//     ViewOptions options = take_view_options(argc, argv);
//     ...read the parameters...
//     View view(options, {&cycles_classic}, {&cycles_explain});
//     floyd(u, view.steps());
//     view.finish();
#pragma once
#include "views/classic.hpp"
#include "views/explain.hpp"
#include <memory>

struct ViewOptions {
    enum Kind { classic, explain, json } kind = classic;
    bool all = false;
};

// Takes --explain, --json and --all out of the arguments, wherever they
// stand among the program's numbers; the last of --explain and --json wins.
ViewOptions take_view_options(int &argc, char **argv);

// What --help adds to the usage: the legend of the trace, and the views.
std::string view_usage(const Legend &legend);

class View
{
  public:
    View(const ViewOptions &options, std::vector<const ClassicTable *> classic,
         std::vector<const ExplainTable *> explain);
    ~View();
    Steps &steps();
    // Ends the run: the explanation's last block and the JSON listing are
    // written, the trace is flushed, and on a terminal a trace that ended in
    // the middle of a line gets its newline, so that the shell's prompt
    // starts a line of its own.
    void finish();

  private:
    ViewOptions options;
    std::unique_ptr<ClassicView> classic;
    std::unique_ptr<ExplainView> explain;
    std::unique_ptr<Steps> json;
    bool finished = false;
};
