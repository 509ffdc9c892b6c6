// steps.hpp: what a method reports as it runs. A run is a sequence of
// events, each naming what happened and carrying its numbers by name; the
// method reports them to a Steps sink and never prints. A view renders the
// events: the classic French trace, an explanation in sentences, or JSON.
//
//     out.run("floyd", "m", m, "u0", u0);                   // what is computed
//     out.step("floyd", "k", k, "tortoise", t, "hare", h);   // one step
//     out.result("floyd", "period", c.period, "entry", c.entry, "meeting", k);
#pragma once
#include <string>
#include <type_traits>
#include <vector>

// The kinds of event. `run` opens a run with its numbers; a `phase` starts a
// section of it; a `step` is one step of the method; an `item` is one entry
// of a listing (a prime, a point); `pause` is where the program waits for
// its reader; a `stage` is a picture shown; `result` is the conclusion, last.
enum class EventKind { run, phase, step, item, pause, stage, result };

// One named value of an event: a whole number, a real, a text (a verdict, a
// reason) or a list of whole numbers.
struct Value {
    enum Type : unsigned char { integer, real, text, list, none };
    const char *name;
    Type type;
    long long integer_value;
    double real_value;
    const char *text_value;
    const std::vector<long long> *list_value;
};

inline Value value(const char *name, long long v) { return {name, Value::integer, v, 0, nullptr, nullptr}; }
inline Value value(const char *name, long v) { return value(name, static_cast<long long>(v)); }
inline Value value(const char *name, int v) { return value(name, static_cast<long long>(v)); }
inline Value value(const char *name, double v) { return {name, Value::real, 0, v, nullptr, nullptr}; }
inline Value value(const char *name, const char *v) { return {name, Value::text, 0, 0, v, nullptr}; }
inline Value value(const char *name, const std::vector<long long> &v) { return {name, Value::list, 0, 0, nullptr, &v}; }
// A number that does not exist in this run (JSON null): a factor not found.
struct Missing {};
inline Value value(const char *name, Missing) { return {name, Value::none, 0, 0, nullptr, nullptr}; }

struct Event {
    EventKind kind;
    const char *what; // which event of its method: "floyd", "window", "base"
    const Value *values;
    int count;

    // The value named `name`; an integer or a real read as a whole number,
    // 0 when absent.
    const Value *find(const char *name) const;
    long long operator[](const char *name) const;
    bool has(const char *name) const { return find(name) != nullptr; }
};

const char *kind_name(EventKind kind);

// The program's own wait at a pause ("enter" or "key"), when the view of
// the run waits there (the classic view does; a recorder, the explanation
// and JSON do not). It is reached from Steps::pause by direct calls only, so
// that the web edition can suspend the program at it.
extern bool pauses_wait;
void wait_at_pause(const char *what);

// Where a method reports. The templates build the event on the stack from
// name-value pairs; a view overrides report().
class Steps
{
  public:
    virtual ~Steps() = default;
    virtual void report(const Event &event) = 0;

    template <class... Pairs> void run(const char *what, const Pairs &...pairs) { send(EventKind::run, what, pairs...); }
    template <class... Pairs> void phase(const char *what, const Pairs &...pairs)
    {
        send(EventKind::phase, what, pairs...);
    }
    template <class... Pairs> void step(const char *what, const Pairs &...pairs) { send(EventKind::step, what, pairs...); }
    template <class... Pairs> void result(const char *what, const Pairs &...pairs)
    {
        send(EventKind::result, what, pairs...);
    }
    template <class... Pairs> void stage(const char *what, const Pairs &...pairs)
    {
        send(EventKind::stage, what, pairs...);
    }
    // One entry of a listing: a single whole number ...
    template <class V, std::enable_if_t<std::is_integral_v<V>, int> = 0> void item(const char *what, V v)
    {
        Value one = value("value", static_cast<long long>(v));
        report(Event{EventKind::item, what, &one, 1});
    }
    // ... or named values.
    template <class... Pairs, std::enable_if_t<(sizeof...(Pairs) >= 2), int> = 0>
    void item(const char *what, const Pairs &...pairs)
    {
        send(EventKind::item, what, pairs...);
    }
    // The program waits: "enter" for a line, "key" for one key. The views
    // hand over what they hold first.
    void pause(const char *what = "enter")
    {
        report(Event{EventKind::pause, what, nullptr, 0});
        if (pauses_wait)
            wait_at_pause(what);
    }

  private:
    template <class... Pairs> void send(EventKind kind, const char *what, const Pairs &...pairs)
    {
        static_assert(sizeof...(Pairs) % 2 == 0, "values come as name, value pairs");
        if constexpr (sizeof...(Pairs) == 0) {
            report(Event{kind, what, nullptr, 0});
        } else {
            Value values[sizeof...(Pairs) / 2];
            fill(values, pairs...);
            report(Event{kind, what, values, static_cast<int>(sizeof...(Pairs) / 2)});
        }
    }
    static void fill(Value *) {}
    template <class V, class... Rest> static void fill(Value *out, const char *name, const V &v, const Rest &...rest)
    {
        *out = value(name, v);
        fill(out + 1, rest...);
    }
};

// A sink that keeps every event, for the tests and for views that need the
// whole run: names, texts and lists are copied.
class Recorder : public Steps
{
  public:
    struct KeptValue {
        std::string name;
        Value::Type type;
        long long integer;
        double real;
        std::string text;
        std::vector<long long> list;
    };
    struct Kept {
        EventKind kind;
        std::string what;
        std::vector<KeptValue> values;
        const KeptValue *find(const std::string &name) const;
        long long operator[](const std::string &name) const; // 0 when absent
    };
    void report(const Event &event) override;
    std::vector<Kept> events;

    // The events of one kind (and name, when given), in order.
    std::vector<const Kept *> all(EventKind kind, const char *what = nullptr) const;
    // The last event of that kind (and name), or nullptr.
    const Kept *last(EventKind kind, const char *what = nullptr) const;
};
