// The three cycle-detection programs on u -> u*u + 1 (mod 41), run as
// processes; their traces are typed from the documented runs. The shared step
// is checked against the remainder operator for every residue.
#include "harness.hpp"
#include "programs/cycles/sequence.hpp"
#include <string>

TEST(NextTerm, IsSquarePlusOneModulo41)
{
    for (int u = 0; u <= 40; u++) {
        int expected = (u * u + 1) % 41;
        EXPECT_EQ(expected, next_term(u)) << "u = " << u;
        EXPECT_EQ((expected * expected + 1) % 41, next_term_twice(u)) << "u = " << u;
    }
    // The documented values: 11 -> 40 -> 2, and the zero of the cycle.
    EXPECT_EQ(40, next_term(11));
    EXPECT_EQ(2, next_term(40));
    EXPECT_EQ(0, next_term(32));
    EXPECT_EQ(1, next_term(0));
}

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
    const std::string expected = "\n"
                                 " (u(0)= 16   u(1)= 11)\n"
                                 " (u(1)= 11   u(2)= 40)\n"
                                 " (u(1)= 11   u(3)= 2)\n"
                                 " (u(3)= 2   u(4)= 5)\n"
                                 " (u(3)= 2   u(5)= 26)\n"
                                 " (u(3)= 2   u(6)= 21)\n"
                                 " (u(3)= 2   u(7)= 32)\n"
                                 " (u(7)= 32   u(8)= 0)\n"
                                 " (u(7)= 32   u(9)= 1)\n"
                                 " (u(7)= 32   u(10)= 2)\n"
                                 " (u(7)= 32   u(11)= 5)\n"
                                 " (u(7)= 32   u(12)= 26)\n"
                                 " (u(7)= 32   u(13)= 21)\n"
                                 " (u(7)= 32   u(14)= 32)\n"
                                 "\n"
                                 " Periode = 7   Indice d'entree = 3\n";
    // No pause: the input is left unread.
    ProgramRun run = run_to_end(PROGRAM(cycle_doubling_search), "");
    EXPECT_TRANSCRIPT(expected, run.out);
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
