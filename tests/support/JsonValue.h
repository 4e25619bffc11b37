#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json_fwd.hpp>

// A read-only view of a parsed JSON document, for checking what kestrin-cli
// writes. Parsing is strict (no trailing commas, no NaN, nothing after the
// value, valid UTF-8), so output that other JSON readers would refuse fails
// here too. Access to a missing member or index, or to a value of another
// kind, throws instead of asserting, so a wrong output fails one test rather
// than the whole run.
class JsonValue
{
public:
    JsonValue(); // null
    // Throws std::runtime_error for text that is not one JSON value.
    static JsonValue Parse(std::string_view text);

    // Throw std::out_of_range for a missing name or index, or a value of
    // another kind.
    JsonValue operator[](std::string_view name) const;
    JsonValue operator[](std::size_t index) const;
    bool Has(std::string_view name) const;
    bool IsNull() const;
    double Number() const;
    std::string String() const;
    std::size_t Size() const; // items of an array
    std::vector<JsonValue> Items() const;
    // The value written out again, compact: equal values give equal text.
    std::string Dump() const;

    const nlohmann::json& Json() const { return *m_node; }

private:
    JsonValue(std::shared_ptr<const nlohmann::json> root, const nlohmann::json* node)
        : m_root(std::move(root)), m_node(node)
    {}

    std::shared_ptr<const nlohmann::json> m_root;
    const nlohmann::json* m_node;
};
