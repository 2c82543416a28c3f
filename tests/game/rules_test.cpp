// The rules as tables: speed, the equation lists, taps and the top-ten list.
#include "game/tap.h"
#include "game/top_ten.h"
#include "game_test_support.h"

namespace numora::test {

// Wrong step size, wrong cap, or a level that adds the wrong bonus: score, level → ms.
TEST(Speed, IntervalFollowsScorePlusLevel) {
    const std::int64_t scores[] = {0, 999,  1000, 2999, 8999, 9000, 250000,
                                   0, 3999, 6000, 0,    2999, 3000, 0};
    const int levels[] = {1, 1, 1, 1, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4};
    std::string got;
    for (std::size_t i = 0; i < std::size(scores); ++i)
        got += std::to_string(Game::SpeedInterval(scores[i], Game::LevelBonus(levels[i]))) + " ";
    EXPECT_EQ(got, "2000 2000 1800 1600 400 200 200 1400 800 200 800 400 200 2000 ");
}

struct ListCase {
    const char* name;
    int mode, count;
    const char *first, *last, *neverDealt;
};
class Lists : public ::testing::TestWithParam<ListCase> {};

// A wrong generator rule, a last item dealt, or a result that is not the sum.
TEST_P(Lists, DealAllButTheLastItemAndEveryResultIsRight) {
    const ListCase& c = GetParam();
    EquationTable t;
    LoadEquations(EquationList(c.mode), t);
    ASSERT_EQ(t.equationCount, c.count);
    EXPECT_EQ(t.expressions[0] + "=" + t.results[0], c.first);
    EXPECT_EQ(t.expressions[std::size_t(c.count - 1)] + "=" + t.results[std::size_t(c.count - 1)],
              c.last);
    EXPECT_TRUE(EquationList(c.mode).ends_with(std::string(",") + c.neverDealt));
    for (int k = 0; k < c.count; ++k) {
        const std::string& text = t.expressions[std::size_t(k)];
        const std::size_t op = text.find_first_of("+-");
        const int a = std::stoi(text.substr(0, op)), b = std::stoi(text.substr(op + 1));
        EXPECT_EQ(std::to_string(text[op] == '+' ? a + b : a - b), t.results[std::size_t(k)])
            << text;
    }
}
INSTANTIATE_TEST_SUITE_P(Modes, Lists,
                         ::testing::Values(ListCase{"demo", 1, 14, "1+1=2", "6-1=5", "8-2=6"},
                                           ListCase{"add10", 2, 44, "1+1=2", "8+2=10", "9+1=10"},
                                           ListCase{"sub10", 3, 44, "10-1=9", "3-2=1", "2-1=1"},
                                           ListCase{"add20", 4, 35, "2+9=11", "9+8=17", "9+9=18"},
                                           ListCase{"sub20", 5, 35, "11-2=9", "17-9=8", "18-9=9"}),
                         kCaseName);

// A text past 8 characters breaks after the eighth, as an expression and as a result.
TEST(Lists, LongTextsBreakAfterTheEighthCharacter) {
    EquationTable t;
    LoadEquations("12345678+123=123456789,12345678=12345678,", t);
    EXPECT_EQ(t.expressions[0] + "|" + t.results[0] + "|" + t.expressions[1] + "|" + t.results[1],
              "12345678\r+123|12345678\r9|12345678|12345678");
}

// Where a score enters a list of 900 800 800 700 600 ... 100 (ties below, the tenth's score
// earns nothing), and the list it leaves: the old tenth gone.
TEST(TopTen, PlacesGoBelowTiesAndTheTenthDropsOut) {
    struct Entry {
        std::int64_t score;
    };
    const TopTen<Entry> list{
        {{900}, {800}, {800}, {700}, {600}, {500}, {400}, {300}, {200}, {100}}};
    std::string got;
    for (std::int64_t score : {901, 801, 800, 101, 100, -5})
        got += std::to_string(PlaceFor(list, score)) + " ";
    for (const Entry& entry : WithEntry(list, 3, Entry{750}))
        got += std::to_string(entry.score) + " ";
    EXPECT_EQ(got, "0 1 3 9 -1 -1 900 800 800 750 700 600 500 400 300 200 ");
    EXPECT_EQ(WithEntry(list, kTopTenSize, Entry{750})[9].score, 100); // no eleventh place
}

} // namespace numora::test
