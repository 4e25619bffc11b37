// The JSON writer on its own: string escapes, numbers JSON cannot express,
// and the layout of nested containers.
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/JsonValue.h"
#include "cli/JsonWriter.h"
#include "tests/support/TestSupport.h"

namespace json_writer_test {

namespace {

using namespace std::string_view_literals;

struct QuoteCase
{
    std::string_view text;
    std::string_view quoted;
};

TEST(JsonWriter, StringsEscapeQuotesBackslashesAndEveryControlCharacter)
{
    const std::vector<QuoteCase> cases{
        {"", R"("")"},
        {"plain text", R"("plain text")"},
        {"say \"hi\"", R"("say \"hi\"")"},
        {"C:\\data\\x.txt", R"("C:\\data\\x.txt")"},
        {"/slash/", R"("/slash/")"},
        {"\n\r\t\b\f", R"("\n\r\t\b\f")"},
        {"a\0b"sv, R"("a\u0000b")"},
        {"\x01\x1f", R"("\u0001\u001f")"},
        {"\x0b", R"("\u000b")"},
        {"\x7f", R"("\u007f")"},
        {"\x20~", R"(" ~")"},
        // UTF-8 passes through byte for byte, whatever it encodes.
        {"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80", "\"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80\""},
        {"\xc2\x80\xc2\x9f", "\"\xc2\x80\xc2\x9f\""},
    };
    for (const QuoteCase& c : cases) {
        SCOPED_TRACE(std::string(c.quoted));
        EXPECT_EQ(JsonQuoted(c.text), c.quoted);
        std::string out;
        CJsonWriter json(out);
        json.String(c.text);
        json.Finish();
        EXPECT_EQ(out, std::string(c.quoted) + "\n");
        // What a JSON reader makes of it is the text again.
        EXPECT_EQ(JsonValue::Parse(out).String(), std::string(c.text));
    }
}

struct NumberCase
{
    double value;
    std::string_view text;
};

TEST(JsonWriter, NumbersAreShortestRoundTripTextAndNonFiniteOnesNull)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<NumberCase> cases{
        {0.0, "0"},
        {-0.0, "-0"},
        {1.0, "1"},
        {-2.5, "-2.5"},
        {0.1, "0.1"},
        {0.1 + 0.2, "0.30000000000000004"},
        {1.0 / 3.0, "0.3333333333333333"},
        {1e21, "1e+21"},
        {123456789012.0, "123456789012"},
        {1e-7, "1e-07"},
        {std::numeric_limits<double>::max(), "1.7976931348623157e+308"},
        {std::numeric_limits<double>::denorm_min(), "5e-324"},
        {nan, "null"},
        {-nan, "null"},
        {inf, "null"},
        {-inf, "null"},
    };
    for (const NumberCase& c : cases) {
        SCOPED_TRACE(std::string(c.text));
        std::string out;
        CJsonWriter json(out);
        json.BeginArray(true);
        json.Number(c.value);
        json.EndArray();
        json.Finish();
        EXPECT_EQ(out, "[" + std::string(c.text) + "]\n");
        const JsonValue read = JsonValue::Parse(out)[0];
        if (std::isfinite(c.value)) {
            // The text reads back bit for bit (the JSON reader takes "-0" as
            // the integer 0, so the sign is checked on the text itself).
            EXPECT_EQ(read.Number(), c.value);
            EXPECT_EQ(Bits(std::strtod(std::string(c.text).c_str(), nullptr)), Bits(c.value));
        } else {
            EXPECT_TRUE(read.IsNull());
        }
    }
}

TEST(JsonWriter, IntegersAreWrittenInFull)
{
    std::string out;
    CJsonWriter json(out);
    json.BeginArray(true);
    for (const std::int64_t v : {std::int64_t{0}, std::int64_t{-1}, std::numeric_limits<std::int64_t>::max(),
                                 std::numeric_limits<std::int64_t>::min()})
        json.Integer(v);
    json.EndArray();
    json.Finish();
    EXPECT_EQ(out, "[0, -1, 9223372036854775807, -9223372036854775808]\n");
}

TEST(JsonWriter, ContainersIndentTwoSpacesAndOneLineOnesStayOnTheirLine)
{
    std::string out;
    CJsonWriter json(out);
    json.BeginObject();
    json.StringField("na\"me", "x");
    json.Key("empty_object");
    json.BeginObject();
    json.EndObject();
    json.Key("empty_array");
    json.BeginArray(true);
    json.EndArray();
    json.Key("rows");
    json.BeginArray();
    json.BeginObject(true);
    json.IntegerField("r", 1);
    json.Field("L", 0.5);
    // Containers inside a one-line one stay on its line.
    json.Key("inner");
    json.BeginArray();
    json.Null();
    json.Number(2);
    json.EndArray();
    json.EndObject();
    json.BeginObject(true);
    json.EndObject();
    json.EndArray();
    json.Key("nested");
    json.BeginObject();
    json.Field("nan", std::nan(""));
    json.EndObject();
    json.EndObject();
    json.Finish();
    EXPECT_EQ(out, "{\n"
                   "  \"na\\\"me\": \"x\",\n"
                   "  \"empty_object\": {},\n"
                   "  \"empty_array\": [],\n"
                   "  \"rows\": [\n"
                   "    {\"r\": 1, \"L\": 0.5, \"inner\": [null, 2]},\n"
                   "    {}\n"
                   "  ],\n"
                   "  \"nested\": {\n"
                   "    \"nan\": null\n"
                   "  }\n"
                   "}\n");
    EXPECT_NO_THROW(JsonValue::Parse(out));
}

} // namespace

} // namespace json_writer_test
