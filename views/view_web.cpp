// The views of a run on a page of the web edition. The page offers every
// view of the run: the classic trace, the explanation in English and in
// French (every step shown, as --explain --all gives it with no terminal to
// wait at) and JSON. It runs the program twice with the same numbers, in
// two workers: once for the classic trace, with which the reader moves on,
// and once, without waiting, for the other views, whose rendering costs far
// more. The page tells each run which views it renders (page_views) and
// gets them step by step: one event is one step, except that a listing of
// single numbers is gathered, as the JSON view gathers it, into steps of up
// to 1000 values. Both runs cut the same steps whatever they render, so
// that the page joins them step by step. A pause of the program is a step
// of its own, and the program waits there for the page.
#include "console/console.hpp"
#include "views/json.hpp"
#include "views/view.hpp"
#include <cstdio>
#include <cstring>
#include <emscripten.h>

// The views a run renders, as the page asks: a sum of these.
enum PageViews { page_classic = 1, page_explanations = 2, page_json = 4 };
EM_JS(int, page_views, (), { return Module.suiteViews; });

// One step handed to the page: the kind of event and its name (string
// literals, which the page keeps by their address), then where the classic
// bytes (Latin-1), the two explanations and the JSON lines (UTF-8) that the
// step wrote lie in memory, and their sizes.
EM_JS(void, page_step,
      (const char *kind, const char *what, const char *classic, int classic_size, const char *english,
       int english_size, const char *french, int french_size, const char *json, int json_size),
      {
          Module.suiteStep(kind, what, classic, classic_size, english, english_size, french, french_size, json,
                           json_size);
      });

// The values of one "list" line at most, as the JSON view cuts a listing.
const int gathered_at_most = 1000;

namespace {

class PageSteps : public Steps
{
  public:
    PageSteps(const std::vector<const ClassicTable *> &classic_tables,
              const std::vector<const ExplainTable *> &explain_tables)
        : views(page_views()),
          classic(classic_tables, {[this](const char *bytes, size_t size) { classic_bytes.append(bytes, size); },
                                   nullptr}),
          english(explain_tables, explained(english_text)), french(explain_tables, explained(french_text)),
          json([this](const std::string &line) { json_text += line + "\n"; })
    {
    }

    void report(const Event &event) override
    {
        bool listed = event.kind == EventKind::item && event.count == 1 && event.values[0].type == Value::integer;
        if (gathered > 0 && !(listed && std::strcmp(what, event.what) == 0 && gathered < gathered_at_most))
            end_step();
        kind = event.kind;
        what = event.what;
        // The explanations skip a pause; the program then waits for the
        // page (Steps::pause), once the step is out.
        if (event.kind != EventKind::pause) {
            if (views & page_classic)
                classic.report(event);
            if (views & page_explanations) {
                explain(english, "en", event);
                explain(french, "fr", event);
            }
        }
        if (views & page_json)
            json.report(event);
        if (listed)
            gathered++;
        else
            end_step();
    }

    // The explanations' last block (a listing ends only here when nothing
    // follows it) is a last step of its own, when there is one.
    void finish()
    {
        if (gathered > 0)
            end_step();
        if (views & page_explanations) {
            set_language("en");
            english.finish();
            set_language("fr");
            french.finish();
        }
        if (!classic_bytes.empty() || !english_text.empty() || !french_text.empty()) {
            what = "";
            end_step("end");
        }
    }

  private:
    // The words of the explanations come from the catalogue of the language
    // set last.
    static void explain(ExplainView &view, const char *language, const Event &event)
    {
        set_language(language);
        view.report(event);
    }

    static Explainer::Settings explained(std::string &text)
    {
        Explainer::Settings settings;
        settings.all = true;
        settings.write = [&text](const std::string &written) { text += written; };
        return settings;
    }

    // Hands over what the open step wrote (the JSON view's gathered list
    // and held result included), as a step of the open event's kind unless
    // another is named.
    void end_step(const char *step_kind = nullptr)
    {
        // What the program printed itself, outside the views, goes first.
        fflush(stdout);
        classic.flush();
        json.flush();
        gathered = 0;
        page_step(step_kind != nullptr ? step_kind : kind_name(kind), what, classic_bytes.data(),
                  static_cast<int>(classic_bytes.size()), english_text.data(), static_cast<int>(english_text.size()),
                  french_text.data(), static_cast<int>(french_text.size()), json_text.data(),
                  static_cast<int>(json_text.size()));
        classic_bytes.clear();
        english_text.clear();
        french_text.clear();
        json_text.clear();
    }

    int views;
    std::string classic_bytes, english_text, french_text, json_text;
    ClassicView classic;
    ExplainView english, french;
    JsonView json;
    // The step in progress: its event, and how many values it gathered.
    EventKind kind = EventKind::run;
    const char *what = "";
    int gathered = 0;
};

} // namespace

// The page's sink stands where the console's JSON view would. The program
// waits at its pauses, as in the classic trace.
View::View(const ViewOptions &options_, std::vector<const ClassicTable *> classic_tables,
           std::vector<const ExplainTable *> explain_tables)
    : options(options_)
{
    json = std::make_unique<PageSteps>(classic_tables, explain_tables);
    pauses_wait = true;
}

View::~View()
{
    finish();
}

Steps &View::steps()
{
    return *json;
}

void View::finish()
{
    if (finished)
        return;
    finished = true;
    pauses_wait = false;
    static_cast<PageSteps &>(*json).finish();
    fflush(stdout);
}
