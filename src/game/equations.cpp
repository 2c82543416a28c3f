#include "game/equations.h"

#include <stdexcept>

namespace numora {
namespace {

void Append(std::string& list, int a, char op, int b) {
    if (!list.empty()) list += ',';
    list += std::to_string(a);
    list += op;
    list += std::to_string(b);
    list += '=';
    list += std::to_string(op == '+' ? a + b : a - b);
}

std::array<std::string, kModeCount> BuildLists() {
    std::array<std::string, kModeCount> lists;
    lists[0] = "1+1=2,1+2=3,2+2=4,2+3=5,3+3=6,3+4=7,4+4=8,4+5=9,5+5=10,9-1=8,9-7=2,5-2=3,"
               "8-4=4,6-1=5,8-2=6";
    // Addition within 10.
    for (int a = 1; a <= 9; ++a)
        for (int b = 1; b <= 10 - a; ++b)
            Append(lists[1], a, '+', b);
    // Subtraction within 10.
    for (int a = 10; a >= 2; --a)
        for (int b = 1; b <= a - 1; ++b)
            Append(lists[2], a, '-', b);
    // Addition with carrying: sums 11..18.
    for (int a = 2; a <= 9; ++a)
        for (int b = 11 - a; b <= 9; ++b)
            Append(lists[3], a, '+', b);
    // Subtraction with borrowing: differences below 10.
    for (int b = 2; b <= 9; ++b)
        for (int a = 11; a <= b + 9; ++a)
            Append(lists[4], a, '-', b);
    return lists;
}

std::string WithLineBreak(std::string_view text) {
    constexpr std::size_t kLineLength = 8;
    if (text.size() <= kLineLength) return std::string(text);
    std::string out(text.substr(0, kLineLength));
    out += '\r';
    out += text.substr(kLineLength);
    return out;
}

} // namespace

const std::string& EquationList(int mode) {
    static const std::array<std::string, kModeCount> lists = BuildLists();
    if (mode < 1 || mode > kModeCount) throw std::out_of_range("equation list mode");
    return lists[static_cast<std::size_t>(mode - 1)];
}

void LoadEquations(std::string_view list, EquationTable& table) {
    table.equationCount = 0;
    for (;;) {
        const std::size_t comma = list.find(',');
        if (comma == std::string_view::npos) break; // the text after the last comma is dropped
        if (table.equationCount >= kEquationCapacity) break;
        const std::string_view item = list.substr(0, comma);
        list.remove_prefix(comma + 1);

        const std::size_t eq = item.find('=');
        const std::string_view expression = item.substr(0, eq);
        const std::string_view result =
            eq == std::string_view::npos ? std::string_view{} : item.substr(eq + 1);
        const auto k = static_cast<std::size_t>(table.equationCount);
        table.expressions[k] = WithLineBreak(expression);
        table.results[k] = WithLineBreak(result);
        ++table.equationCount;
    }
}

} // namespace numora
