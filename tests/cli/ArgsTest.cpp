// The command-line parser on its own: options and file names sorted, values
// taken, and every refusal in its own words.
#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/Args.h"

namespace args_test {

namespace {

constexpr OptionDef kOptions[] = {{"--json", "", 0},
                                  {"--D", "", 1, "N"},
                                  {"--filter", "", 2, "UNDER OVER"},
                                  {"--output", "-o", 1, "FILE"},
                                  {"--at", "", 1}};

// The message of the UsageError call throws; empty when it returns.
template <class Call>
std::string UsageErrorOf(Call call)
{
    try {
        call();
    } catch (const UsageError& e) {
        return e.what();
    }
    return {};
}

struct ParseCase
{
    const char* what;
    std::vector<std::string> args;
    // What the parser makes of them, or the message it throws.
    bool help = false;
    std::vector<std::string> positionals = {};
    std::map<std::string, std::vector<std::string>, std::less<>> options = {};
    std::string error = {};
};

TEST(Args, ParseArgsSortsFileNamesAndOptionsOrRefusesTheFirstProblem)
{
    using V = std::vector<std::string>;
    const std::vector<ParseCase> cases{
        {"nothing", {}},
        {"file names in order", {"a.txt", "b.txt"}, false, {"a.txt", "b.txt"}},
        {"a switch", {"--json", "a.txt"}, false, {"a.txt"}, {{"--json", {}}}},
        {"a value after a space", {"--D", "3", "a"}, false, {"a"}, {{"--D", {"3"}}}},
        {"a value after '='", {"--D=3"}, false, {}, {{"--D", {"3"}}}},
        {"an empty value after '='", {"--D="}, false, {}, {{"--D", {""}}}},
        {"'=' in the value", {"--at=a=b"}, false, {}, {{"--at", {"a=b"}}}},
        {"two values", {"--filter", "1", "5"}, false, {}, {{"--filter", {"1", "5"}}}},
        {"a value that starts with '-'",
         {"--at", "-3", "--D", "--json"},
         false,
         {},
         {{"--at", {"-3"}}, {"--D", {"--json"}}}},
        {"the short name is kept under the long one", {"-o", "out.kst"}, false, {}, {{"--output", {"out.kst"}}}},
        {"a repeated option keeps its last value", {"--D", "3", "--D", "4"}, false, {}, {{"--D", {"4"}}}},
        {"a lone '-' is a file name", {"-", "--json"}, false, {"-"}, {{"--json", {}}}},
        {"'--' ends the options", {"--", "--json", "-h", "-"}, false, {"--json", "-h", "-"}},
        {"a second '--' is a file name", {"--", "--"}, false, {"--"}},
        {"-h wins over what follows", {"-h", "--bogus"}, true},
        {"--help wins over what came before", {"--bogus", "--D", "x", "--help"}, true, {}, {{"--D", {"x"}}}},
        {"an unknown option", {"--bogus", "a"}, false, {}, {}, "unknown option \"--bogus\""},
        {"an unknown option with a value", {"--bogus=1"}, false, {}, {}, "unknown option \"--bogus\""},
        {"a single-dash word", {"-json"}, false, {}, {}, "unknown option \"-json\""},
        {"options are case-sensitive", {"--d", "3"}, false, {}, {}, "unknown option \"--d\""},
        {"the first problem is named", {"--bogus", "--other"}, false, {}, {}, "unknown option \"--bogus\""},
        {"a missing value", {"--D"}, false, {}, {}, "--D needs a value: N"},
        {"a missing value without a name for it", {"--at"}, false, {}, {}, "--at needs a value"},
        {"missing values", {"--filter", "5"}, false, {}, {}, "--filter needs 2 values: UNDER OVER"},
        {"a missing value of a short name", {"-o"}, false, {}, {}, "--output needs a value: FILE"},
        {"a value given to a switch", {"--json=yes"}, false, {}, {}, "--json takes no value"},
        {"two values after '='", {"--filter=1", "5"}, false, {}, {}, "--filter takes its values after a space"},
        {"'=' is not read after a short name", {"-o=x"}, false, {}, {}, "unknown option \"-o=x\""},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::optional<ParsedArgs> parsed;
        EXPECT_EQ(UsageErrorOf([&] { parsed = ParseArgs(c.args, kOptions); }), c.error);
        if (!parsed)
            continue;
        EXPECT_EQ(parsed->help, c.help);
        if (c.help)
            continue;
        EXPECT_EQ(parsed->positionals, c.positionals);
        EXPECT_EQ(parsed->options, c.options);
        for (const auto& [name, values] : c.options) {
            EXPECT_TRUE(parsed->Has(name));
            EXPECT_EQ(parsed->Values(name), values);
        }
        EXPECT_FALSE(parsed->Has("--absent"));
        EXPECT_EQ(parsed->Values("--absent"), V{});
    }
}

struct NumberCase
{
    std::string text;
    std::int64_t lowest;
    std::int64_t highest;
    std::int64_t value; // 0 when refused
    std::string error;
};

TEST(Args, ParseWholeNumberTakesOnlyDecimalDigitsWithinTheRange)
{
    constexpr std::int64_t kLow = std::numeric_limits<std::int64_t>::min();
    constexpr std::int64_t kHigh = std::numeric_limits<std::int64_t>::max();
    const std::vector<NumberCase> cases{
        {"12", 1, 1000, 12, ""},
        {"-3", -5, 5, -3, ""},
        {"007", 0, 10, 7, ""},
        {"-0", 0, 0, 0, ""},
        {"1", 1, 1, 1, ""},
        {"9223372036854775807", kLow, kHigh, kHigh, ""},
        {"-9223372036854775808", kLow, kHigh, kLow, ""},
        {"", 1, 10, 0, "--D: \"\" is not a whole number"},
        {"+2", 1, 10, 0, "--D: \"+2\" is not a whole number"},
        {" 2", 1, 10, 0, "--D: \" 2\" is not a whole number"},
        {"2 ", 1, 10, 0, "--D: \"2 \" is not a whole number"},
        {"2.0", 1, 10, 0, "--D: \"2.0\" is not a whole number"},
        {"1e3", 1, 10, 0, "--D: \"1e3\" is not a whole number"},
        {"12abc", 1, 10, 0, "--D: \"12abc\" is not a whole number"},
        {"0x10", 1, 100, 0, "--D: \"0x10\" is not a whole number"},
        {"-", 1, 10, 0, "--D: \"-\" is not a whole number"},
        {"0", 1, 1000, 0, "--D: 0 is out of range (allowed: 1 to 1000)"},
        {"1001", 1, 1000, 0, "--D: 1001 is out of range (allowed: 1 to 1000)"},
        {"-3", 2, 100000, 0, "--D: -3 is out of range (allowed: 2 to 100000)"},
        {"99999999999999999999", 1, 1000, 0, "--D: \"99999999999999999999\" is out of range (allowed: 1 to 1000)"},
        {"-99999999999999999999", kLow, kHigh, 0,
         "--D: \"-99999999999999999999\" is out of range (allowed: -9223372036854775808 to 9223372036854775807)"},
        {"99999999999999999999x", 1, 1000, 0, "--D: \"99999999999999999999x\" is not a whole number"},
    };
    for (const NumberCase& c : cases) {
        SCOPED_TRACE("\"" + c.text + "\"");
        std::int64_t value = 0;
        EXPECT_EQ(UsageErrorOf([&] { value = ParseWholeNumber(c.text, "--D", c.lowest, c.highest); }), c.error);
        EXPECT_EQ(value, c.value);
    }
}

struct ListCase
{
    std::string text;
    std::vector<std::int32_t> list; // empty when refused
    std::string error;
};

TEST(Args, ParseWholeNumberListTakesCommaSeparatedItems)
{
    const std::vector<ListCase> cases{
        {"", {}, ""},
        {" \t ", {}, ""},
        {"7", {7}, ""},
        {"3,6,9", {3, 6, 9}, ""},
        {" 3 ,\t6 , -9 ", {3, 6, -9}, ""},
        {"9,3,3", {9, 3, 3}, ""},
        {"2147483647,-2147483648", {2147483647, -2147483648LL}, ""},
        {"3,,6", {}, "--at: empty item in the list \"3,,6\""},
        {" 3, ", {}, "--at: empty item in the list \"3,\""},
        {",3", {}, "--at: empty item in the list \",3\""},
        {",", {}, "--at: empty item in the list \",\""},
        {"3;6", {}, "--at: \"3;6\" is not a whole number"},
        {"3,x", {}, "--at: \"x\" is not a whole number"},
        {"3 6", {}, "--at: \"3 6\" is not a whole number"},
        {"2147483648", {}, "--at: 2147483648 is out of range (allowed: -2147483648 to 2147483647)"},
    };
    for (const ListCase& c : cases) {
        SCOPED_TRACE("\"" + c.text + "\"");
        std::vector<std::int32_t> list;
        EXPECT_EQ(UsageErrorOf([&] { list = ParseWholeNumberList(c.text, "--at"); }), c.error);
        EXPECT_EQ(list, c.list);
    }
}

} // namespace

} // namespace args_test
