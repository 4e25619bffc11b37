#include "tests/support/JsonValue.h"

#include <stdexcept>

#include <nlohmann/json.hpp>

JsonValue::JsonValue() : m_root(std::make_shared<const nlohmann::json>()), m_node(m_root.get())
{}

JsonValue JsonValue::Parse(std::string_view text)
{
    try {
        auto root = std::make_shared<const nlohmann::json>(nlohmann::json::parse(text));
        const nlohmann::json* node = root.get();
        return JsonValue(std::move(root), node);
    } catch (const nlohmann::json::exception& e) {
        throw std::runtime_error(std::string("JSON: ") + e.what());
    }
}

JsonValue JsonValue::operator[](std::string_view name) const
{
    if (!m_node->is_object())
        throw std::out_of_range("JSON: not an object, looking for \"" + std::string(name) + "\"");
    const auto it = m_node->find(name);
    if (it == m_node->end())
        throw std::out_of_range("JSON: no member \"" + std::string(name) + "\"");
    return JsonValue(m_root, &*it);
}

JsonValue JsonValue::operator[](std::size_t index) const
{
    if (!m_node->is_array() || index >= m_node->size())
        throw std::out_of_range("JSON: no item " + std::to_string(index));
    return JsonValue(m_root, &(*m_node)[index]);
}

bool JsonValue::Has(std::string_view name) const
{
    return m_node->is_object() && m_node->contains(name);
}

bool JsonValue::IsNull() const
{
    return m_node->is_null();
}

double JsonValue::Number() const
{
    if (!m_node->is_number())
        throw std::out_of_range("JSON: not a number: " + m_node->dump());
    return m_node->get<double>();
}

std::string JsonValue::String() const
{
    if (!m_node->is_string())
        throw std::out_of_range("JSON: not a string: " + m_node->dump());
    return m_node->get<std::string>();
}

std::size_t JsonValue::Size() const
{
    if (!m_node->is_array())
        throw std::out_of_range("JSON: not an array: " + m_node->dump());
    return m_node->size();
}

std::vector<JsonValue> JsonValue::Items() const
{
    std::vector<JsonValue> items;
    for (std::size_t i = 0; i < Size(); ++i)
        items.push_back((*this)[i]);
    return items;
}

std::string JsonValue::Dump() const
{
    return m_node->dump();
}
