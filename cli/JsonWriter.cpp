#include "cli/JsonWriter.h"

#include <cassert>
#include <cmath>

#include "core/Format.h"
#include "platform/TextEncoding.h"

std::string JsonQuotedBytes(std::string_view bytes)
{
    static const char kHex[] = "0123456789abcdef";
    std::string out = "\"";
    std::size_t run = 0; // start of the valid UTF-8 not yet written
    const auto flush = [&](std::size_t end) {
        const std::string quoted = JsonQuoted(bytes.substr(run, end - run));
        out.append(quoted, 1, quoted.size() - 2);
    };
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = Utf8CharacterLength(bytes, i);
        if (length > 0) {
            i += length;
            continue;
        }
        flush(i);
        const auto c = static_cast<unsigned char>(bytes[i]);
        out += "\\udc";
        out += kHex[c >> 4];
        out += kHex[c & 0xf];
        run = ++i;
    }
    flush(bytes.size());
    return out + '"';
}

std::string JsonQuoted(std::string_view text)
{
    static const char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        default:
            if (c < 0x20 || c == 0x7f) {
                out += "\\u00";
                out += kHex[c >> 4];
                out += kHex[c & 0xf];
            } else {
                out += ch;
            }
        }
    }
    out += '"';
    return out;
}

void CJsonWriter::NewLine()
{
    m_out += '\n';
    m_out.append(2 * m_levels.size(), ' ');
}

void CJsonWriter::BeforeValue()
{
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_levels.empty())
        return;
    Level& level = m_levels.back();
    if (!level.empty)
        m_out += ',';
    if (level.oneLine) {
        if (!level.empty)
            m_out += ' ';
    } else {
        NewLine();
    }
    level.empty = false;
}

void CJsonWriter::Open(char bracket, bool oneLine)
{
    BeforeValue();
    m_out += bracket;
    const bool inherited = !m_levels.empty() && m_levels.back().oneLine;
    m_levels.push_back({oneLine || inherited, true});
}

void CJsonWriter::Close(char bracket)
{
    assert(!m_levels.empty() && !m_afterKey);
    const Level level = m_levels.back();
    m_levels.pop_back();
    if (!level.empty && !level.oneLine)
        NewLine();
    m_out += bracket;
}

void CJsonWriter::BeginObject(bool oneLine) { Open('{', oneLine); }
void CJsonWriter::EndObject() { Close('}'); }
void CJsonWriter::BeginArray(bool oneLine) { Open('[', oneLine); }
void CJsonWriter::EndArray() { Close(']'); }

void CJsonWriter::Key(std::string_view name)
{
    BeforeValue();
    m_out += JsonQuoted(name);
    m_out += ": ";
    m_afterKey = true;
}

void CJsonWriter::Number(double value)
{
    if (!std::isfinite(value)) {
        Null();
        return;
    }
    BeforeValue();
    m_out += FormatRoundTrip(value);
}

void CJsonWriter::Integer(std::int64_t value)
{
    BeforeValue();
    m_out += std::to_string(value);
}

void CJsonWriter::String(std::string_view text)
{
    BeforeValue();
    m_out += JsonQuoted(text);
}

void CJsonWriter::FileNameField(std::string_view name, std::string_view bytes)
{
    Key(name);
    BeforeValue();
    m_out += JsonQuotedBytes(bytes);
}

void CJsonWriter::Null()
{
    BeforeValue();
    m_out += "null";
}

void CJsonWriter::Boolean(bool value)
{
    BeforeValue();
    m_out += value ? "true" : "false";
}

void CJsonWriter::Finish()
{
    assert(m_levels.empty());
    m_out += '\n';
}
