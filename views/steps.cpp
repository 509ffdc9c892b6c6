// Events and the recording sink.
#include "views/steps.hpp"
#include <cstring>

const Value *Event::find(const char *name) const
{
    for (int i = 0; i < count; i++)
        if (std::strcmp(values[i].name, name) == 0)
            return &values[i];
    return nullptr;
}

long long Event::operator[](const char *name) const
{
    const Value *v = find(name);
    if (v == nullptr)
        return 0;
    return v->type == Value::real ? static_cast<long long>(v->real_value) : v->integer_value;
}

const char *kind_name(EventKind kind)
{
    switch (kind) {
    case EventKind::run:
        return "run";
    case EventKind::phase:
        return "phase";
    case EventKind::step:
        return "step";
    case EventKind::item:
        return "item";
    case EventKind::pause:
        return "pause";
    case EventKind::stage:
        return "stage";
    case EventKind::result:
        return "result";
    }
    return "?";
}

void Recorder::report(const Event &event)
{
    Kept kept{event.kind, event.what, {}};
    for (int i = 0; i < event.count; i++) {
        const Value &v = event.values[i];
        KeptValue k{v.name, v.type, v.integer_value, v.real_value, v.text_value ? v.text_value : "", {}};
        if (v.list_value)
            k.list = *v.list_value;
        kept.values.push_back(std::move(k));
    }
    events.push_back(std::move(kept));
}

const Recorder::KeptValue *Recorder::Kept::find(const std::string &name) const
{
    for (const KeptValue &v : values)
        if (v.name == name)
            return &v;
    return nullptr;
}

long long Recorder::Kept::operator[](const std::string &name) const
{
    const KeptValue *v = find(name);
    if (v == nullptr)
        return 0;
    return v->type == Value::real ? static_cast<long long>(v->real) : v->integer;
}

std::vector<const Recorder::Kept *> Recorder::all(EventKind kind, const char *what) const
{
    std::vector<const Kept *> found;
    for (const Kept &e : events)
        if (e.kind == kind && (what == nullptr || e.what == what))
            found.push_back(&e);
    return found;
}

const Recorder::Kept *Recorder::last(EventKind kind, const char *what) const
{
    for (auto e = events.rbegin(); e != events.rend(); ++e)
        if (e->kind == kind && (what == nullptr || e->what == what))
            return &*e;
    return nullptr;
}
