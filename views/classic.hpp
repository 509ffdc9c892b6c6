// classic.hpp: the classic view, the programs' French trace. Each event that
// the trace shows has a line in a table: its printf format and the names of
// the values it prints, in the order of the conversions. An integer
// conversion ("%5.d", "%ld") prints a whole number whatever its width; "%f"
// prints a real, "%s" a text. An event without a line prints nothing.
#pragma once
#include "views/steps.hpp"
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

struct ClassicLine {
    EventKind kind;
    const char *what;
    const char *format;
    std::vector<const char *> fields;
};
using ClassicTable = std::vector<ClassicLine>;

// Where the classic view writes: the trace's bytes as the program writes
// them (Latin-1). At a pause everything written is handed over, then
// `paused` is told (the wait itself is the program's: Steps::pause).
struct ClassicOutput {
    std::function<void(const char *bytes, size_t size)> write;
    std::function<void(const char *pause)> paused;
};

class ClassicView : public Steps
{
  public:
    ClassicView(std::vector<const ClassicTable *> tables, ClassicOutput output);
    ~ClassicView() override;
    void report(const Event &event) override;
    // Hands over what is still buffered.
    void flush();
    // The last byte written so far, or 0 when nothing was.
    char last_byte() const { return last; }

  private:
    struct Piece {
        std::string text;  // literal text, or a conversion for snprintf
        int field = -1;    // the field it prints, -1 for text
        bool real = false; // the conversion prints a double
        bool words = false; // the conversion prints a text value
        // "%d", "%5d", "%5.d": the digits right-aligned in `width`, without
        // snprintf; a precision of 0 ("%5.d") prints no digit for 0.
        bool fast = false;
        int width = 0;
        bool zero_is_empty = false;
    };
    struct Compiled {
        std::vector<Piece> pieces;
        std::vector<const char *> fields;
    };
    static Compiled compile(const ClassicLine &line);
    const Compiled *find(const Event &event);

    std::unordered_map<std::string, Compiled> lines;
    ClassicOutput output;
    std::string buffer;
    char last = 0;
    // The line used last, for events that come in long runs of one name.
    EventKind cached_kind = EventKind::run;
    const char *cached_what = nullptr;
    const Compiled *cached = nullptr;
};
