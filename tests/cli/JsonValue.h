#pragma once

#include <string>
#include <string_view>
#include <vector>

// A parsed JSON document, for checking what kestrin-cli writes. Parsing is
// strict (no trailing commas, no NaN, nothing after the value), so output
// that other JSON readers would refuse fails here too.
class JsonValue
{
public:
    enum class Kind { null, boolean, number, string, array, object };

    Kind kind = Kind::null;
    bool boolean = false;
    double number = 0.0;
    std::string text;
    std::vector<JsonValue> items;
    std::vector<std::pair<std::string, JsonValue>> members;

    bool IsNull() const { return kind == Kind::null; }
    // Member access; throws std::out_of_range for a missing name or a value
    // of another kind.
    const JsonValue& operator[](std::string_view name) const;
    const JsonValue& operator[](std::size_t index) const;
    bool Has(std::string_view name) const;
    double Number() const;
    const std::string& String() const;
    std::size_t Size() const; // items of an array

    // Throws std::runtime_error, naming the offset, for text that is not
    // one JSON value.
    static JsonValue Parse(std::string_view text);
};
