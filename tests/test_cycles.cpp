// The three cycle-detection programs on u -> u*u + 1 (mod m), run as
// processes. The built-in traces (modulus 41) are typed in; for other moduli
// the expected trace is predicted from the entry index and the period found
// by brute force: u(i) = u(j) with i > j exactly when j has reached the
// entry index and the period divides i - j.
#include "harness.hpp"
#include "programs/cycles/cycles.hpp"
#include <algorithm>
#include <cstdio>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

TEST(CycleThreeMethods, PrintsTheThreeSearches)
{
    const std::string windows = "\n"
                                " (u(1)= 11   u(2)= 40)\n"
                                " (u(2)= 40   u(3)= 2)\n"
                                " (u(2)= 40   u(4)= 5)\n"
                                " (u(4)= 5   u(5)= 26)\n"
                                " (u(4)= 5   u(6)= 21)\n"
                                " (u(4)= 5   u(7)= 32)\n"
                                " (u(4)= 5   u(8)= 0)\n"
                                " (u(8)= 0   u(9)= 1)\n"
                                " (u(8)= 0   u(10)= 2)\n"
                                " (u(8)= 0   u(11)= 5)\n"
                                " (u(8)= 0   u(12)= 26)\n"
                                " (u(8)= 0   u(13)= 21)\n"
                                " (u(8)= 0   u(14)= 32)\n"
                                " (u(8)= 0   u(15)= 0)\n"
                                "\n"
                                " Periode = 7  Indice d'entree = 3\n\n";
    const std::string floyd = " \n\n"
                              "  FLOYD\n"
                              "\n"
                              " 1 2    11  40\n"
                              " 2 4    40  5\n"
                              " 3 6    2  21\n"
                              " 4 8    5  0\n"
                              " 5 10    26  2\n"
                              " 6 12    21  26\n"
                              " 7 14    32  32 \n"
                              "\n"
                              "periode = 7";
    const std::string brent = "\n\n"
                              "  BRENT\n"
                              "\n"
                              " (u(1)= 11   u(2)= 40)\n"
                              " (u(2)= 40   u(4)= 5)\n"
                              " (u(4)= 5   u(7)= 32)\n"
                              " (u(4)= 5   u(8)= 0)\n"
                              " (u(8)= 0   u(13)= 21)\n"
                              " (u(8)= 0   u(14)= 32)\n"
                              " (u(8)= 0   u(15)= 0)\n"
                              "\n"
                              " Periode = 7  Indice d'entree = 3\n\n";
    // Two Enters for the two pauses, or none at all: the same trace.
    for (const char *input : {"\n\n", ""}) {
        ProgramRun run = run_to_end(PROGRAM(cycle_three_methods), input);
        EXPECT_TRANSCRIPT(windows + floyd + brent, run.out) << "input \"" << input << "\"";
    }
}

TEST(CycleDoublingSearch, ComparesWithTheTermBeforeEachWindow)
{
    // No pause: the input is left unread.
    ProgramRun run = run_to_end(PROGRAM(cycle_doubling_search), "");
    EXPECT_TRANSCRIPT(builtin_doubling_search_transcript, run.out);
}

TEST(CycleFloyd, MeetsAfterSevenSteps)
{
    const std::string expected = "\n"
                                 " 1    11  40\n"
                                 " 2    40  5\n"
                                 " 3    2  21\n"
                                 " 4    5  0\n"
                                 " 5    26  2\n"
                                 " 6    21  26\n"
                                 " 7    32  32 \n"
                                 "\n"
                                 "periode = 7";
    for (const char *input : {"\n", ""}) {
        ProgramRun run = run_to_end(PROGRAM(cycle_floyd), input);
        EXPECT_TRANSCRIPT(expected, run.out) << "input \"" << input << "\"";
    }
}

// The sequence from u(first) = start, its entry index and its period, found
// by recording where each value first appears until one comes back.
struct Orbit {
    long m;
    std::vector<long> u; // u[i] for i >= first; entries below first unused
    long entry = 0, period = 0;

    Orbit(long modulus, long start, int first) : m(modulus), u(first, -1)
    {
        std::vector<long> seen_at(m, -1);
        for (long i = first, v = start;; i++, v = (v * v + 1) % m) {
            if (seen_at[v] >= 0) {
                entry = seen_at[v];
                period = i - entry;
                return;
            }
            seen_at[v] = i;
            u.push_back(v);
        }
    }
    // Term i: past the first repeat, the cycle gives it.
    long at(long i) const { return i < static_cast<long>(u.size()) ? u[i] : u[entry + (i - entry) % period]; }
    // u(i) = u(j) for i > j.
    bool same(long j, long i) const { return j >= entry && (i - j) % period == 0; }
    std::string pair(long j, long i) const
    {
        return "\n (u(" + std::to_string(j) + ")= " + std::to_string(at(j)) + "   u(" + std::to_string(i) +
               ")= " + std::to_string(at(i)) + ")";
    }
};

// Windows of length e/2 after u(e/2), compared from `from(e)` on; returns
// the trace and the difference at the match.
static std::string windows(const Orbit &o, long (*from)(long), long &found)
{
    std::string text;
    for (long e = 2;; e *= 2)
        for (long i = e / 2 + 1; i <= e; i++)
            if (i > from(e)) {
                text += o.pair(e / 2, i);
                if (o.same(e / 2, i)) {
                    found = i - e / 2;
                    return text;
                }
            }
}

static std::string three_methods(long m, long u1)
{
    Orbit o(m, u1, 1);
    long period;
    std::string text = windows(o, [](long e) { return e / 2; }, period);
    EXPECT_EQ(o.period, period);
    text += "\n\n Periode = " + std::to_string(o.period) + "  Indice d'entree = " + std::to_string(o.entry) +
            "\n\n \n\n  FLOYD\n";
    long k = 1;
    for (;; k++) {
        text += "\n " + std::to_string(k) + " " + std::to_string(2 * k) + "    " + std::to_string(o.at(k)) + "  " +
                std::to_string(o.at(2 * k));
        if (o.same(k, 2 * k))
            break;
    }
    // They meet at a multiple of the period; FLOYD prints the least one.
    text += " \n\nperiode = " + std::to_string(o.period) + "\n\n  BRENT\n";
    long multiple;
    text += windows(o, [](long e) { return 3 * e / 4; }, multiple);
    // The match is a multiple of the period; BRENT prints the least one.
    EXPECT_EQ(0, multiple % o.period);
    return text + "\n\n Periode = " + std::to_string(o.period) + "  Indice d'entree = " + std::to_string(o.entry) +
           "\n\n";
}

static std::string doubling_search(long m, long u0)
{
    Orbit o(m, u0, 0);
    std::string text;
    for (long b = 1;; b *= 2)
        for (long i = b; i < 2 * b; i++) {
            text += o.pair(b - 1, i);
            if (o.same(b - 1, i))
                return text + "\n\n Periode = " + std::to_string(o.period) +
                       "   Indice d'entree = " + std::to_string(o.entry) + "\n";
        }
}

static std::string floyd(long m, long u0)
{
    Orbit o(m, u0, 0);
    std::string text;
    for (long k = 1;; k++) {
        text += "\n " + std::to_string(k) + "    " + std::to_string(o.at(k)) + "  " + std::to_string(o.at(2 * k));
        // They meet at a multiple of the period; the trace gives the least one.
        if (o.same(k, 2 * k))
            return text + " \n\nperiode = " + std::to_string(o.period);
    }
}

// 101 from 3: period 9, entered after 12 steps, so Floyd meets at 18 and
// then prints the period 9. 41 from 6: period 7, entered after 8 steps;
// Brent's half windows first match 14 terms on, and it prints the period 7.
// 193 from 40: a fixed point after 17 steps, which Brent matches 17 terms
// on. 46009 from 0: period 800, more than a thousand terms before a window
// matches. 46340 from 46339: the largest modulus and square. Modulo 2 and 3
// the smallest sequences.
TEST(CyclePrograms, FindTheEntryAndThePeriodOfOtherSequences)
{
    struct {
        long m, start;
    } rows[] = {{101, 3}, {41, 6}, {46009, 0}, {46340, 46339}, {46340, 3}, {2, 0}, {2, 1}, {3, 0}, {193, 40}};
    for (auto row : rows) {
        std::vector<std::string> args{std::to_string(row.m), std::to_string(row.start)};
        SCOPED_TRACE("m = " + args[0] + ", start " + args[1]);
        EXPECT_TRANSCRIPT(three_methods(row.m, row.start), run_to_end(PROGRAM(cycle_three_methods), "", args).out);
        EXPECT_TRANSCRIPT(doubling_search(row.m, row.start),
                          run_to_end(PROGRAM(cycle_doubling_search), "", args).out);
        EXPECT_TRANSCRIPT(floyd(row.m, row.start), run_to_end(PROGRAM(cycle_floyd), "", args).out);
    }
}

// With the modulus alone the start is the built-in one reduced modulo m.
TEST(CyclePrograms, TakeTheBuiltInStartModuloTheModulus)
{
    EXPECT_TRANSCRIPT(floyd(101, 16), run_to_end(PROGRAM(cycle_floyd), "", {"101"}).out);
    EXPECT_TRANSCRIPT(floyd(7, 16 % 7), run_to_end(PROGRAM(cycle_floyd), "", {"7"}).out);
    EXPECT_TRANSCRIPT(three_methods(5, 11 % 5), run_to_end(PROGRAM(cycle_three_methods), "", {"5"}).out);
}

// The least positive multiple of the period that is at least `low`.
static long multiple_from(long period, long low)
{
    return std::max(1L, (low + period - 1) / period) * period;
}

// The values of the last event of a kind, by name.
static std::vector<long long> values(const Recorder &r, EventKind kind, std::initializer_list<const char *> names)
{
    std::vector<long long> v;
    for (const char *name : names)
        v.push_back((*r.last(kind))[name]);
    return v;
}

// The three searches called in process on every start modulo 2 .. 60 and on
// the large moduli above (39366 from 0: the longest orbit, period 4374;
// 34981 from 1587: the longest tail, 720 terms), against the brute-force
// orbit: the least period and the entry index each search reports, and
// where its match or meeting falls (the traces above check the comparisons
// themselves). Floyd meets at the least multiple of the period that reaches
// the entry index; the windows match one period after the first saved term
// on the cycle whose window is as long as the period; Brent at the first
// multiple of the period beyond the half window it skips, which it then
// reduces to the period.
TEST(CycleMethods, ReportThePeriodAndTheEntryOfTheOrbit)
{
    std::vector<std::pair<long, long>> runs = {{101, 3},       {41, 6},   {193, 40},    {46009, 0},
                                               {46340, 46339}, {39366, 0}, {34981, 1587}};
    for (long m = 2; m <= 60; m++)
        for (long start = 0; start < m; start++)
            runs.push_back({m, start});
    for (auto [m, start] : runs) {
        SCOPED_TRACE("m = " + std::to_string(m) + ", start " + std::to_string(start));
        Orbit o0(m, start, 0), o1(m, start, 1);
        long period = o0.period, b = 1, h = 1, brent = 1;
        while (b - 1 < o0.entry || b < period)
            b *= 2;
        while (h < o1.entry || h < period)
            h *= 2;
        while (brent < o1.entry || multiple_from(period, brent / 2 + 1) > brent)
            brent *= 2;
        Recorder floyd, doubling, three;
        cycle_floyd(m, start, floyd);
        cycle_doubling(m, start, doubling);
        cycle_three_methods(m, start, three);
        long meeting = multiple_from(period, o0.entry), pair_meeting = multiple_from(period, o1.entry);
        EXPECT_EQ((std::vector<long long>{period, o0.entry, meeting}),
                  values(floyd, EventKind::result, {"period", "entry", "meeting"}));
        EXPECT_EQ((std::vector<long long>{period, o0.entry, b - 1, b - 1 + period}),
                  values(doubling, EventKind::result, {"period", "entry", "saved_index", "index"}));
        EXPECT_EQ((std::vector<long long>{period, o1.entry, pair_meeting, h, h + period, brent,
                                          brent + multiple_from(period, brent / 2 + 1)}),
                  values(three, EventKind::result,
                         {"period", "entry", "meeting", "windows_saved_index", "windows_index", "brent_saved_index",
                          "brent_index"}));
        // Each section ends on the period and the entry index, the first two
        // with a pause; the result comes last.
        std::vector<std::string> ends;
        for (const Recorder::Kept &e : three.events)
            if (e.kind == EventKind::pause || e.kind == EventKind::result ||
                (e.find("period") && e["period"] == period && e["entry"] == o1.entry))
                ends.push_back(e.what);
        EXPECT_EQ((std::vector<std::string>{"window_match", "enter", "meeting", "enter", "brent_match",
                                            "three_methods"}),
                  ends);
    }
}

// --json, wherever it stands among the numbers: one object a line, the
// result last with the period, the entry index and (for Floyd) the meeting
// of the brute-force orbit in the program's own numbering, and every number
// of the classic trace of the same run among the events' values.
TEST(CyclePrograms, WriteTheirRunAsJsonLines)
{
    const std::string number = "-?[0-9]+", value = number + "|\"([^\"\\\\]|\\\\.)*\"|null|\\[(" + number + "(, " +
                                                   number + ")*)?\\]";
    const std::regex object("\\{\"[a-z0-9_]+\": (" + value + ")(, \"[a-z0-9_]+\": (" + value + "))*\\}"),
        whole(number);
    struct {
        std::string program;
        long m, start, first;
        bool meeting;
    } rows[] = {{PROGRAM(cycle_three_methods), 41, 11, 1, true}, {PROGRAM(cycle_three_methods), 101, 3, 1, true},
                {PROGRAM(cycle_three_methods), 41, 6, 1, true},  {PROGRAM(cycle_doubling_search), 101, 3, 0, false},
                {PROGRAM(cycle_floyd), 101, 3, 0, true},         {PROGRAM(cycle_floyd), 39366, 0, 0, true}};
    int row_number = 0;
    for (const auto &row : rows) {
        std::vector<std::string> args{std::to_string(row.m), std::to_string(row.start)};
        SCOPED_TRACE(row.program + " " + args[0] + " " + args[1]);
        std::string classic = run_to_end(row.program, "", args).out;
        args.insert(args.begin() + row_number++ % 3, "--json");
        std::istringstream json(run_to_end(row.program, "", args).out);
        std::set<std::string> values;
        std::string line, last;
        while (std::getline(json, line)) {
            ASSERT_TRUE(std::regex_match(line, object)) << line;
            for (std::sregex_iterator n(line.begin(), line.end(), whole); n != std::sregex_iterator(); ++n)
                values.insert(n->str());
            last = line;
        }
        auto field = [&last](const char *name) {
            std::smatch found;
            bool there = std::regex_search(last, found, std::regex("\"" + std::string(name) + "\": ([^,}]*)"));
            return there ? found[1].str() : "";
        };
        Orbit o(row.m, row.start, row.first);
        EXPECT_EQ((std::vector<std::string>{"\"result\"", std::to_string(o.period), std::to_string(o.entry),
                                            row.meeting ? std::to_string(multiple_from(o.period, o.entry)) : ""}),
                  (std::vector<std::string>{field("event"), field("period"), field("entry"), field("meeting")}));
        for (std::sregex_iterator n(classic.begin(), classic.end(), whole); n != std::sregex_iterator(); ++n)
            EXPECT_TRUE(values.count(n->str())) << n->str() << " of the trace is in no event";
    }
}

// --explain on the largest inputs (the largest modulus, the longest orbit,
// the longest tail), in English and in French: at most 20 kB, lines within
// 80 columns, ending with the conclusion, which states the orbit's period
// and entry index after the last step. --help shows the legend.
TEST(CyclePrograms, ExplainTheirLargestRunsWithinBounds)
{
    const char *en = "The period is %ld and the entry index %ld:", *fr = "La période est %ld et l'indice d'entrée %ld :";
    struct {
        std::string program;
        long first;
        const char *en, *fr;
    } programs[] = {{PROGRAM(cycle_three_methods), 1, en, fr},
                    {PROGRAM(cycle_doubling_search), 0, en, fr},
                    {PROGRAM(cycle_floyd), 0, "(period %ld), found", "(période %ld), trouvée"}};
    for (const auto &p : programs) {
        for (auto [m, start] : {std::pair<long, long>{46340, 46339}, {39366, 0}, {34981, 1587}})
            for (const char *language : {"en", "fr"}) {
                SCOPED_TRACE(p.program + " " + std::to_string(m) + " " + std::to_string(start) + " " + language);
                RunOptions options;
                options.args = {std::to_string(m), std::to_string(start), "--explain"};
                options.env = {std::string("LANGUAGE=") + language};
                ProgramRun run = run_program(p.program, options);
                EXPECT_EQ(0, run.status);
                EXPECT_LE(run.out.size(), 20000u);
                Orbit o(m, start, p.first);
                char conclusion[100];
                snprintf(conclusion, sizeof conclusion, language[0] == 'e' ? p.en : p.fr, o.period, o.entry);
                size_t at = run.out.find(conclusion);
                ASSERT_NE(std::string::npos, at) << conclusion;
                for (const char *step : {"\nk = ", "\nSaved", "\nGardé", "\n  u("})
                    EXPECT_EQ(std::string::npos, run.out.find(step, at)) << "a step after the conclusion";
                std::istringstream lines(run.out);
                for (std::string line; std::getline(lines, line);)
                    EXPECT_LE(std::count_if(line.begin(), line.end(), [](char c) { return (c & 0xC0) != 0x80; }), 80)
                        << line;
            }
        EXPECT_NE(std::string::npos, run_to_end(p.program, "", {"--help"}).out.find("What the trace shows:\n"));
    }
}
