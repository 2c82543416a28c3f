// The web edition's stored lists, natively: only a text the page writes is a list it may
// write over; anything else (damaged, edited by hand) is left alone and said.
#include "web/leaderboard_list.h"

#include <gtest/gtest.h>

namespace numora::web {

TEST(StoredList, OnlyTheTextThePageWritesIsAList) {
    const std::string zeros = [] {
        std::string s;
        for (int k = 0; k < 10; ++k)
            s += "0,0\r\n";
        return s;
    }();
    StoredList list{};
    list[0] = {"小明，1", 880};
    const std::string written = FormatList(list);
    EXPECT_EQ(written, "小明，1,880\r\n" + zeros.substr(5));
    EXPECT_EQ(ParseList(written), list);
    EXPECT_EQ(ParseList(zeros), StoredList{});
    std::string got; // each damaged text: refused (x) or taken (o)
    for (const std::string& text :
         {zeros.substr(5), zeros + "0,0\r\n", "a,05\r\n" + zeros.substr(5),
          "a,+5\r\n" + zeros.substr(5), "a,1x\r\n" + zeros.substr(5),
          "a\tb,1\r\n" + zeros.substr(5), "a,b,1\r\n" + zeros.substr(5),
          std::string("a,1\n") + zeros.substr(5), "a,-3\r\n" + zeros.substr(5)})
        got += ParseList(text) ? "o" : "x";
    EXPECT_EQ(got, "xxxxxxxxo");
    EXPECT_EQ(StorableName("a,b\tc\x7f\xc2\x85"
                           "d😀"),
              "a，bcd😀");
    EXPECT_EQ(StorageKey(3), "numora.kavex3");
}

} // namespace numora::web
