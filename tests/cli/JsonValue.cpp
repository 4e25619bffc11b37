#include "JsonValue.h"

#include <charconv>
#include <stdexcept>

#include "TextEncoding.h"

namespace {

class Parser
{
public:
    explicit Parser(std::string_view text) : m_text(text) {}

    JsonValue Document()
    {
        JsonValue value = Value();
        SkipSpace();
        if (m_pos != m_text.size())
            Fail("text after the value");
        return value;
    }

private:
    [[noreturn]] void Fail(const std::string& what) const
    {
        throw std::runtime_error("JSON: " + what + " at offset " + std::to_string(m_pos));
    }

    void SkipSpace()
    {
        while (m_pos < m_text.size() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\n' || m_text[m_pos] == '\r' ||
                                         m_text[m_pos] == '\t'))
            ++m_pos;
    }

    char Peek() const { return m_pos < m_text.size() ? m_text[m_pos] : '\0'; }

    void Expect(char c)
    {
        if (Peek() != c)
            Fail(std::string("expected '") + c + "'");
        ++m_pos;
    }

    bool Literal(std::string_view word)
    {
        if (m_text.substr(m_pos, word.size()) != word)
            return false;
        m_pos += word.size();
        return true;
    }

    JsonValue Value()
    {
        SkipSpace();
        JsonValue v;
        const char c = Peek();
        if (c == '{') {
            v.kind = JsonValue::Kind::object;
            ++m_pos;
            SkipSpace();
            if (Peek() == '}') { ++m_pos; return v; }
            for (;;) {
                SkipSpace();
                std::string name = String();
                SkipSpace();
                Expect(':');
                v.members.emplace_back(std::move(name), Value());
                SkipSpace();
                if (Peek() == ',') { ++m_pos; continue; }
                Expect('}');
                return v;
            }
        }
        if (c == '[') {
            v.kind = JsonValue::Kind::array;
            ++m_pos;
            SkipSpace();
            if (Peek() == ']') { ++m_pos; return v; }
            for (;;) {
                v.items.push_back(Value());
                SkipSpace();
                if (Peek() == ',') { ++m_pos; continue; }
                Expect(']');
                return v;
            }
        }
        if (c == '"') {
            v.kind = JsonValue::Kind::string;
            v.text = String();
            return v;
        }
        if (Literal("null"))
            return v;
        if (Literal("true")) {
            v.kind = JsonValue::Kind::boolean;
            v.boolean = true;
            return v;
        }
        if (Literal("false")) {
            v.kind = JsonValue::Kind::boolean;
            return v;
        }
        v.kind = JsonValue::Kind::number;
        v.number = Number();
        return v;
    }

    double Number()
    {
        // The JSON grammar: -? (0 | [1-9][0-9]*) (. [0-9]+)? ([eE] [+-]? [0-9]+)?
        const std::size_t start = m_pos;
        auto digits = [&] {
            const std::size_t from = m_pos;
            while (Peek() >= '0' && Peek() <= '9')
                ++m_pos;
            return m_pos - from;
        };
        if (Peek() == '-')
            ++m_pos;
        if (Peek() == '0')
            ++m_pos;
        else if (digits() == 0)
            Fail("not a value");
        if (Peek() == '.') {
            ++m_pos;
            if (digits() == 0)
                Fail("no digits after the point");
        }
        if (Peek() == 'e' || Peek() == 'E') {
            ++m_pos;
            if (Peek() == '+' || Peek() == '-')
                ++m_pos;
            if (digits() == 0)
                Fail("no exponent digits");
        }
        double value = 0.0;
        const auto r = std::from_chars(m_text.data() + start, m_text.data() + m_pos, value);
        if (r.ec != std::errc() || r.ptr != m_text.data() + m_pos)
            Fail("number out of range");
        return value;
    }

    unsigned Hex4()
    {
        if (m_pos + 4 > m_text.size())
            Fail("short \\u escape");
        unsigned v = 0;
        const auto r = std::from_chars(m_text.data() + m_pos, m_text.data() + m_pos + 4, v, 16);
        if (r.ptr != m_text.data() + m_pos + 4)
            Fail("bad \\u escape");
        m_pos += 4;
        return v;
    }

    std::string String()
    {
        Expect('"');
        std::string out;
        for (;;) {
            if (m_pos >= m_text.size())
                Fail("unterminated string");
            const char c = m_text[m_pos++];
            if (c == '"')
                return out;
            if (static_cast<unsigned char>(c) < 0x20)
                Fail("raw control character in a string");
            if (c != '\\') {
                out += c;
                continue;
            }
            const char e = Peek();
            ++m_pos;
            switch (e) {
            case '"': out += '"'; break;
            case '\\': out += '\\'; break;
            case '/': out += '/'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'u': {
                unsigned cp = Hex4();
                if (cp >= 0xD800 && cp < 0xDC00) {
                    if (!Literal("\\u"))
                        Fail("lone surrogate");
                    const unsigned low = Hex4();
                    if (low < 0xDC00 || low > 0xDFFF)
                        Fail("bad surrogate pair");
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                }
                AppendUtf8(out, cp);
                break;
            }
            default:
                Fail("unknown escape");
            }
        }
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
};

} // namespace

JsonValue JsonValue::Parse(std::string_view text)
{
    return Parser(text).Document();
}

const JsonValue& JsonValue::operator[](std::string_view name) const
{
    if (kind == Kind::object)
        for (const auto& [key, value] : members)
            if (key == name)
                return value;
    throw std::out_of_range("JSON: no member \"" + std::string(name) + "\"");
}

const JsonValue& JsonValue::operator[](std::size_t index) const
{
    if (kind != Kind::array || index >= items.size())
        throw std::out_of_range("JSON: no item " + std::to_string(index));
    return items[index];
}

bool JsonValue::Has(std::string_view name) const
{
    for (const auto& member : members)
        if (member.first == name)
            return true;
    return false;
}

double JsonValue::Number() const
{
    if (kind != Kind::number)
        throw std::out_of_range("JSON: not a number");
    return number;
}

const std::string& JsonValue::String() const
{
    if (kind != Kind::string)
        throw std::out_of_range("JSON: not a string");
    return text;
}

std::size_t JsonValue::Size() const
{
    if (kind != Kind::array)
        throw std::out_of_range("JSON: not an array");
    return items.size();
}
