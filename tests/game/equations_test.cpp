#include "game/equations.h"

#include <gtest/gtest.h>

#include <set>

namespace numora {
namespace {

struct ListCase {
    int mode;
    int count;
    const char* firstText;
    const char* firstRes;
    const char* lastText;  // the last equation dealt
    const char* lastRes;
    const char* neverDealt;  // the list's last item
    int lowest;
    int highest;
};

class EquationLists : public ::testing::TestWithParam<ListCase> {};

TEST_P(EquationLists, LoadsAllButTheLastItem) {
    const ListCase& c = GetParam();
    EquationTable table;
    LoadEquations(EquationList(c.mode), table);
    ASSERT_EQ(table.eqCount, c.count);
    EXPECT_EQ(table.eqText[0], c.firstText);
    EXPECT_EQ(table.eqRes[0], c.firstRes);
    EXPECT_EQ(table.eqText[static_cast<std::size_t>(c.count - 1)], c.lastText);
    EXPECT_EQ(table.eqRes[static_cast<std::size_t>(c.count - 1)], c.lastRes);

    const std::string& list = EquationList(c.mode);
    EXPECT_TRUE(list.ends_with(std::string(",") + c.neverDealt)) << list;
    std::set<int> results;
    for (int k = 0; k < table.eqCount; ++k) {
        const auto i = static_cast<std::size_t>(k);
        EXPECT_NE(table.eqText[i] + "=" + table.eqRes[i], c.neverDealt);
        // Every item is arithmetically right.
        const std::string& text = table.eqText[i];
        const std::size_t op = text.find_first_of("+-");
        const int a = std::stoi(text.substr(0, op));
        const int b = std::stoi(text.substr(op + 1));
        EXPECT_EQ(std::to_string(text[op] == '+' ? a + b : a - b), table.eqRes[i]) << text;
        results.insert(std::stoi(table.eqRes[i]));
    }
    EXPECT_EQ(*results.begin(), c.lowest);
    EXPECT_EQ(*results.rbegin(), c.highest);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, EquationLists,
    ::testing::Values(ListCase{1, 14, "1+1", "2", "6-1", "5", "8-2=6", 2, 10},
                      ListCase{2, 44, "1+1", "2", "8+2", "10", "9+1=10", 2, 10},
                      ListCase{3, 44, "10-1", "9", "3-2", "1", "2-1=1", 1, 9},
                      ListCase{4, 35, "2+9", "11", "9+8", "17", "9+9=18", 11, 17},
                      ListCase{5, 35, "11-2", "9", "17-9", "8", "18-9=9", 2, 9}));

TEST(EquationListText, ModeOneIsExactAndGeneratedListsBeginAsWritten) {
    EXPECT_EQ(EquationList(1),
              "1+1=2,1+2=3,2+2=4,2+3=5,3+3=6,3+4=7,4+4=8,4+5=9,5+5=10,9-1=8,9-7=2,5-2=3,"
              "8-4=4,6-1=5,8-2=6");
    EXPECT_TRUE(EquationList(2).starts_with("1+1=2,1+2=3,1+3=4"));
    EXPECT_TRUE(EquationList(2).ends_with("8+2=10,9+1=10"));
    EXPECT_TRUE(EquationList(3).starts_with("10-1=9,10-2=8"));
    EXPECT_TRUE(EquationList(3).ends_with("3-2=1,2-1=1"));
    EXPECT_TRUE(EquationList(4).starts_with("2+9=11,3+8=11,3+9=12"));
    EXPECT_TRUE(EquationList(4).ends_with("9+8=17,9+9=18"));
    EXPECT_TRUE(EquationList(5).starts_with("11-2=9,11-3=8,12-3=9,11-4=7"));
    EXPECT_TRUE(EquationList(5).ends_with("17-9=8,18-9=9"));
    EXPECT_EQ(EquationList(1).find(' '), std::string::npos);
}

TEST(LoadEquations, KeepsResultTextsAsSpelled) {
    EquationTable table;
    LoadEquations(EquationList(1), table);
    EXPECT_EQ(table.eqText[8], "5+5");
    EXPECT_EQ(table.eqRes[8], "10");  // two characters, never "1" or "10.0"
    EXPECT_EQ(table.eqText[13], "6-1");
    EXPECT_EQ(table.eqRes[13], "5");
    // In mode 2 the result "10" comes in 8 of the 44 equations dealt, "2" in one.
    LoadEquations(EquationList(2), table);
    int tens = 0, twos = 0;
    for (int k = 0; k < table.eqCount; ++k) {
        tens += table.eqRes[static_cast<std::size_t>(k)] == "10";
        twos += table.eqRes[static_cast<std::size_t>(k)] == "2";
    }
    EXPECT_EQ(tens, 8);
    EXPECT_EQ(twos, 1);
}

TEST(LoadEquations, BreaksTextsLongerThanEightCharacters) {
    EquationTable table;
    LoadEquations("12345678901=123456789,12345678=12345678,x=1", table);
    ASSERT_EQ(table.eqCount, 2);
    EXPECT_EQ(table.eqText[0], "12345678\r901");
    EXPECT_EQ(table.eqRes[0], "12345678\r9");
    EXPECT_EQ(table.eqText[1], "12345678");
    EXPECT_EQ(table.eqRes[1], "12345678");
}

TEST(LoadEquations, ASmallerListLeavesLaterEntriesUnused) {
    EquationTable table;
    LoadEquations(EquationList(2), table);
    LoadEquations(EquationList(1), table);
    EXPECT_EQ(table.eqCount, 14);
    EXPECT_EQ(table.eqText[14], "2+6");  // left from mode 2, never drawn
}

TEST(LoadEquations, ListWithoutCommaLoadsNothingAndCapacityHolds) {
    EquationTable table;
    LoadEquations("1+1=2", table);
    EXPECT_EQ(table.eqCount, 0);
    std::string many;
    for (int k = 0; k < 150; ++k) many += "1+1=2,";
    LoadEquations(many, table);
    EXPECT_EQ(table.eqCount, kEquationCapacity);
}

}  // namespace
}  // namespace numora
