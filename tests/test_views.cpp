// The three views of a run, on events made here: the classic formats, the
// JSON lines, and the explanation's page (wrapping, cut blocks, columns,
// waits), with the language taken from the environment.
#include "harness.hpp"
#include "views/json.hpp"
#include "views/view.hpp"
#include <gtest/gtest.h>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace
{

// Formats with a width and a precision of 0 print 0 as blanks; every
// integer conversion takes 64 bits; a real keeps its precision; the pause
// hands over the bytes before the program waits (a recorder's run, like
// this one, never waits); an event without a line is silent.
TEST(ClassicView, AppliesTheFormatsToTheNamedValues)
{
    ClassicTable table = {
        {EventKind::step, "gcd", "\n%2.d  %5.d    pgcd(%5.d %5.d)  =%7.d", {"k", "a", "a_1", "n", "g"}},
        {EventKind::step, "walk", "(%d %d)", {"x", "y"}},
        {EventKind::result, "share", "\n Proportion = %3.3f %s", {"p", "unit"}},
    };
    std::string out, when_waiting;
    ClassicView view({&table}, {[&](const char *b, size_t n) { out.append(b, n); },
                                [&](const char *) { when_waiting = out; }});
    view.step("gcd", "k", 12, "a", 7005, "a_1", 7004, "n", 10403, "g", 103);
    view.step("gcd", "k", 3, "a", 1, "a_1", 0, "n", 10403, "g", 1);
    view.step("walk", "x", 4842037507LL, "y", -417);
    view.step("unknown", "x", 1);
    view.pause();
    view.result("share", "p", 12251 / 131072.0, "unit", "pour un");
    view.flush();
    EXPECT_EQ("\n12   7005    pgcd( 7004 10403)  =    103\n 3      1    pgcd(      10403)  =      1"
              "(4842037507 -417)",
              when_waiting);
    EXPECT_EQ(when_waiting + "\n Proportion = 0.093 pour un", out);
}

// Every integer conversion prints what the C library's printf prints for
// the same value taken as 64 bits, whatever its flags, width and precision.
TEST(ClassicView, PrintsIntegersAsPrintfDoes)
{
    const char *formats[] = {"%d", "%ld", "%7d", "%5.d", "%2.ld", "%-4d", "%05d", "%+d", "%.3d", "%6.2d", "% d", "%i"};
    const long long values[] = {0, 7, -7, 103, 123456789, -4611686018427387847LL, INT64_MIN, INT64_MAX};
    for (const char *format : formats) {
        ClassicTable table = {{EventKind::step, "n", format, {"n"}}};
        std::string out, expected;
        ClassicView view({&table}, {[&](const char *b, size_t n) { out.append(b, n); }, nullptr});
        std::string as_64 = format; // "%2.ld" read as "%2.lld"
        while (std::strchr("dil", as_64.back()))
            as_64.pop_back();
        as_64 += "lld";
        for (long long v : values) {
            char reference[64];
            snprintf(reference, sizeof reference, as_64.c_str(), v);
            expected += reference;
            expected += '|';
            view.step("n", "n", v);
            view.flush();
            out += '|';
        }
        EXPECT_EQ(expected, out) << format;
    }
}

// One object a line; single-number items gathered into lists of at most
// 1000; the result written last even when a pause follows it; texts escaped.
TEST(JsonView, WritesOneObjectALineWithTheResultLast)
{
    std::vector<std::string> lines;
    {
        JsonView view([&](const std::string &line) { lines.push_back(line); });
        view.run("sieve", "limit", 10, "name", "a \"quoted\"\nline");
        for (int p = 0; p < 2500; p++)
            view.item("prime", p);
        view.result("sieve", "count", 2500, "factor", Missing{}, "share", 0.25);
        view.pause();
    }
    ASSERT_EQ(6u, lines.size());
    EXPECT_EQ("{\"event\": \"run\", \"name\": \"sieve\", \"limit\": 10, \"name\": \"a \\\"quoted\\\"\\nline\"}", lines[0]);
    EXPECT_EQ(0u, lines[1].rfind("{\"event\": \"list\", \"name\": \"prime\", \"values\": [0, 1, 2,", 0));
    EXPECT_NE(std::string::npos, lines[2].find("[1000, 1001,"));
    EXPECT_NE(std::string::npos, lines[3].find(", 2498, 2499]}"));
    EXPECT_EQ("{\"event\": \"pause\", \"name\": \"enter\"}", lines[4]);
    EXPECT_EQ("{\"event\": \"result\", \"name\": \"sieve\", \"count\": 2500, \"factor\": null, \"share\": 0.25}", lines[5]);
}

struct Page {
    std::string text;
    int waits = 0;
    Explainer::Settings settings(bool all, int waits_before_all = 1000)
    {
        Explainer::Settings s;
        s.all = all;
        s.write = [this](const std::string &t) { text += t; };
        s.next_step = [this, waits_before_all] { return ++waits < waits_before_all; };
        return s;
    }
};

// A block of 100 teaching lines keeps its first 20 and last 20, says that
// 60 were left out, and waits after each line shown until the reader asks
// for the rest; --all shows and counts every line.
TEST(Explainer, CutsLongBlocksAndWaitsAtTeachingSteps)
{
    for (bool all : {false, true}) {
        Page page;
        Explainer x(page.settings(all, 5));
        for (int i = 1; i <= 100; i++)
            x.line("step " + std::to_string(i), true);
        x.end_block();
        std::vector<std::string> lines = text_lines(page.text);
        EXPECT_EQ(5, page.waits) << "a after the fifth wait stops the waits";
        if (all) {
            EXPECT_EQ(100u, lines.size());
            continue;
        }
        ASSERT_EQ(41u, lines.size());
        EXPECT_EQ("step 20", lines[19]);
        EXPECT_NE(std::string::npos, lines[20].find(" 60 more lines left out")) << lines[20];
        EXPECT_EQ("step 81", lines[21]);
        EXPECT_EQ("step 100", lines[40]);
    }
}

// A listing of the numbers 1 .. n in columns: every row within 80
// columns, the numbers read back in order, and what is left out counted
// exactly, for listings short and long.
TEST(Explainer, LaysListingsOutInColumnsWithinTheWidth)
{
    for (long n : {7L, 300L, 100000L}) {
        SCOPED_TRACE(n);
        Page page;
        Explainer x(page.settings(false));
        for (long v = 1; v <= n; v++)
            x.cell(std::to_string(v));
        x.end_block();
        long expected = 1, left_out = 0;
        for (const std::string &line : text_lines(page.text)) {
            EXPECT_LE(text_width(line), 80) << line;
            std::istringstream words(line);
            if (line.find("left out") != std::string::npos) {
                ASSERT_EQ(1, sscanf(line.c_str(), " ... %ld", &left_out)) << line;
                expected += left_out;
                continue;
            }
            for (long v; words >> v; expected++)
                ASSERT_EQ(expected, v);
        }
        EXPECT_EQ(n + 1, expected);
        EXPECT_EQ(n == 100000, left_out > 0) << "300 numbers fit in 19 rows";
    }
}

// Prose wraps within the width, never at a sign between two terms.
TEST(Explainer, WrapsProseAndKeepsEquationsWhole)
{
    Page page;
    Explainer x(page.settings(false));
    std::string text;
    for (int i = 0; i < 30; i++)
        text += "u(" + std::to_string(i) + ") = u(" + std::to_string(i + 9) + ") and ";
    x.paragraph(text);
    for (const std::string &line : text_lines(page.text)) {
        EXPECT_LE(text_width(line), explain_width) << line;
        EXPECT_NE('=', line.empty() ? ' ' : line.back()) << line;
        EXPECT_NE(0u, line.rfind("= ", 0)) << line;
    }
}

// The first of LANGUAGE, LC_ALL, LC_MESSAGES and LANG that is set decides,
// also under the C locale; French messages come from the catalogue.
TEST(Translate, TakesTheLanguageFromTheEnvironment)
{
    struct Case {
        const char *language, *all, *messages, *lang, *expected;
    } cases[] = {
        {"fr", nullptr, nullptr, "en_US.UTF-8", "fr"},
        {"", "fr_FR.UTF-8", nullptr, nullptr, "fr"},
        {nullptr, nullptr, "fr_CA", "en_GB", "fr"},
        {nullptr, "C", nullptr, "fr_FR.UTF-8", "en"},
        {nullptr, nullptr, nullptr, nullptr, "en"},
    };
    for (const Case &c : cases) {
        const char *names[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};
        const char *values[] = {c.language, c.all, c.messages, c.lang};
        for (int i = 0; i < 4; i++)
            values[i] ? setenv(names[i], values[i], 1) : unsetenv(names[i]);
        EXPECT_EQ(c.expected, language_from_environment());
    }
    set_language("fr");
    EXPECT_STREQ("Comment lire la trace :", _("How to read the trace:"));
    EXPECT_STREQ("no such message", _("no such message"));
    set_language("en");
    EXPECT_STREQ("How to read the trace:", _("How to read the trace:"));
}

TEST(ViewOptions, AreTakenFromAnyPlaceAmongTheNumbers)
{
    char a0[] = "rho_floyd", a1[] = "--json", a2[] = "8051", a3[] = "--all", a4[] = "2", a5[] = "--explain";
    char *argv[] = {a0, a1, a2, a3, a4, a5, nullptr};
    int argc = 6;
    ViewOptions options = take_view_options(argc, argv);
    EXPECT_EQ(ViewOptions::explain, options.kind);
    EXPECT_TRUE(options.all);
    ASSERT_EQ(3, argc);
    EXPECT_STREQ("8051", argv[1]);
    EXPECT_STREQ("2", argv[2]);
    EXPECT_EQ(nullptr, argv[3]);
}

} // namespace
