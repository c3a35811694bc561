#include "json.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace apsim {

JsonValue JsonValue::MakeBool(bool b)
{
    JsonValue v;
    v.m_kind = Kind::Bool;
    v.m_bool = b;
    return v;
}

JsonValue JsonValue::MakeNumber(double n)
{
    JsonValue v;
    v.m_kind = Kind::Number;
    v.m_number = n;
    return v;
}

JsonValue JsonValue::MakeString(std::string s)
{
    JsonValue v;
    v.m_kind = Kind::String;
    v.m_string = std::move(s);
    return v;
}

JsonValue JsonValue::MakeArray()
{
    JsonValue v;
    v.m_kind = Kind::Array;
    return v;
}

JsonValue JsonValue::MakeObject()
{
    JsonValue v;
    v.m_kind = Kind::Object;
    return v;
}

const JsonValue* JsonValue::Find(std::string_view key) const
{
    if (m_kind != Kind::Object) {
        return nullptr;
    }
    for (const auto& [name, value] : m_members) {
        if (name == key) {
            return &value;
        }
    }
    return nullptr;
}

JsonValue& JsonValue::Push(JsonValue v)
{
    m_kind = Kind::Array;
    m_items.push_back(std::move(v));
    return m_items.back();
}

JsonValue& JsonValue::Set(std::string key, JsonValue v)
{
    m_kind = Kind::Object;
    for (auto& [name, value] : m_members) {
        if (name == key) {
            value = std::move(v);
            return value;
        }
    }
    m_members.emplace_back(std::move(key), std::move(v));
    return m_members.back().second;
}

namespace {

void DumpString(std::string& out, const std::string& s)
{
    out += '"';
    for (unsigned char c : s) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    out += '"';
}

void Newline(std::string& out, int indent, int depth)
{
    if (indent >= 0) {
        out += '\n';
        out.append(static_cast<std::size_t>(indent * depth), ' ');
    }
}

} // namespace

void JsonValue::DumpTo(std::string& out, int indent, int depth) const
{
    switch (m_kind) {
    case Kind::Null:
        out += "null";
        break;
    case Kind::Bool:
        out += m_bool ? "true" : "false";
        break;
    case Kind::Number: {
        char buf[40];
        if (std::isfinite(m_number) && m_number == std::floor(m_number) && std::fabs(m_number) < 1e15) {
            std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(m_number));
        } else if (std::isfinite(m_number)) {
            std::snprintf(buf, sizeof buf, "%.17g", m_number);
        } else {
            std::snprintf(buf, sizeof buf, "null");
        }
        out += buf;
        break;
    }
    case Kind::String:
        DumpString(out, m_string);
        break;
    case Kind::Array: {
        // Lists of plain values stay on one line.
        bool flat = true;
        for (const JsonValue& v : m_items) {
            flat = flat && v.m_kind != Kind::Array && v.m_kind != Kind::Object;
        }
        const int inner = flat ? -1 : indent;
        out += '[';
        for (std::size_t i = 0; i < m_items.size(); ++i) {
            if (i) {
                out += flat && indent >= 0 ? ", " : ",";
            }
            Newline(out, inner, depth + 1);
            m_items[i].DumpTo(out, indent, depth + 1);
        }
        if (!m_items.empty()) {
            Newline(out, inner, depth);
        }
        out += ']';
        break;
    }
    case Kind::Object:
        out += '{';
        for (std::size_t i = 0; i < m_members.size(); ++i) {
            if (i) {
                out += ',';
            }
            Newline(out, indent, depth + 1);
            DumpString(out, m_members[i].first);
            out += indent >= 0 ? ": " : ":";
            m_members[i].second.DumpTo(out, indent, depth + 1);
        }
        if (!m_members.empty()) {
            Newline(out, indent, depth);
        }
        out += '}';
        break;
    }
}

std::string JsonValue::Dump(int indent) const
{
    std::string out;
    DumpTo(out, indent, 0);
    return out;
}

namespace {

class Parser
{
public:
    explicit Parser(std::string_view text)
        : m_text(text)
    {
    }

    bool ParseDocument(JsonValue& out, std::string& error)
    {
        if (!ParseValue(out, 0)) {
            error = m_error;
            return false;
        }
        SkipSpace();
        if (m_pos != m_text.size()) {
            Fail("unexpected text after the document");
            error = m_error;
            return false;
        }
        return true;
    }

private:
    bool Fail(const char* what)
    {
        if (m_error.empty()) {
            int line = 1;
            for (std::size_t i = 0; i < m_pos && i < m_text.size(); ++i) {
                line += m_text[i] == '\n';
            }
            m_error = "line " + std::to_string(line) + ": " + what;
        }
        return false;
    }

    void SkipSpace()
    {
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos];
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
                ++m_pos;
            } else if (c == '/' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] == '/') {
                // Comments to the end of the line are allowed in configuration files.
                while (m_pos < m_text.size() && m_text[m_pos] != '\n') {
                    ++m_pos;
                }
            } else {
                break;
            }
        }
    }

    bool Literal(std::string_view word)
    {
        if (m_text.substr(m_pos, word.size()) == word) {
            m_pos += word.size();
            return true;
        }
        return false;
    }

    static void AppendUtf8(std::string& s, std::uint32_t cp)
    {
        if (cp < 0x80) {
            s += static_cast<char>(cp);
        } else if (cp < 0x800) {
            s += static_cast<char>(0xC0 | (cp >> 6));
            s += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            s += static_cast<char>(0xE0 | (cp >> 12));
            s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            s += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            s += static_cast<char>(0xF0 | (cp >> 18));
            s += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            s += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }

    bool Hex4(std::uint32_t& cp)
    {
        if (m_pos + 4 > m_text.size()) {
            return Fail("short \\u escape");
        }
        cp = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = m_text[m_pos++];
            cp <<= 4;
            if (c >= '0' && c <= '9') {
                cp |= static_cast<std::uint32_t>(c - '0');
            } else if (c >= 'a' && c <= 'f') {
                cp |= static_cast<std::uint32_t>(c - 'a' + 10);
            } else if (c >= 'A' && c <= 'F') {
                cp |= static_cast<std::uint32_t>(c - 'A' + 10);
            } else {
                return Fail("bad \\u escape");
            }
        }
        return true;
    }

    bool ParseString(std::string& s)
    {
        ++m_pos; // opening quote
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos++];
            if (c == '"') {
                return true;
            }
            if (static_cast<unsigned char>(c) < 0x20) {
                return Fail("control character in string");
            }
            if (c != '\\') {
                s += c;
                continue;
            }
            if (m_pos >= m_text.size()) {
                break;
            }
            const char e = m_text[m_pos++];
            switch (e) {
            case '"':
            case '\\':
            case '/':
                s += e;
                break;
            case 'b':
                s += '\b';
                break;
            case 'f':
                s += '\f';
                break;
            case 'n':
                s += '\n';
                break;
            case 'r':
                s += '\r';
                break;
            case 't':
                s += '\t';
                break;
            case 'u': {
                std::uint32_t cp = 0;
                if (!Hex4(cp)) {
                    return false;
                }
                if (cp >= 0xD800 && cp < 0xDC00 && m_text.substr(m_pos, 2) == "\\u") {
                    m_pos += 2;
                    std::uint32_t lo = 0;
                    if (!Hex4(lo)) {
                        return false;
                    }
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (lo - 0xDC00);
                }
                AppendUtf8(s, cp);
                break;
            }
            default:
                return Fail("bad escape in string");
            }
        }
        return Fail("unterminated string");
    }

    bool ParseValue(JsonValue& out, int depth)
    {
        if (depth > 64) {
            return Fail("nesting too deep");
        }
        SkipSpace();
        if (m_pos >= m_text.size()) {
            return Fail("unexpected end of text");
        }
        const char c = m_text[m_pos];
        if (c == '{') {
            ++m_pos;
            out = JsonValue::MakeObject();
            SkipSpace();
            if (m_pos < m_text.size() && m_text[m_pos] == '}') {
                ++m_pos;
                return true;
            }
            for (;;) {
                SkipSpace();
                if (m_pos >= m_text.size() || m_text[m_pos] != '"') {
                    return Fail("expected a member name");
                }
                std::string key;
                if (!ParseString(key)) {
                    return false;
                }
                SkipSpace();
                if (m_pos >= m_text.size() || m_text[m_pos] != ':') {
                    return Fail("expected ':'");
                }
                ++m_pos;
                JsonValue v;
                if (!ParseValue(v, depth + 1)) {
                    return false;
                }
                out.Set(std::move(key), std::move(v));
                SkipSpace();
                if (m_pos < m_text.size() && m_text[m_pos] == ',') {
                    ++m_pos;
                    continue;
                }
                if (m_pos < m_text.size() && m_text[m_pos] == '}') {
                    ++m_pos;
                    return true;
                }
                return Fail("expected ',' or '}'");
            }
        }
        if (c == '[') {
            ++m_pos;
            out = JsonValue::MakeArray();
            SkipSpace();
            if (m_pos < m_text.size() && m_text[m_pos] == ']') {
                ++m_pos;
                return true;
            }
            for (;;) {
                JsonValue v;
                if (!ParseValue(v, depth + 1)) {
                    return false;
                }
                out.Push(std::move(v));
                SkipSpace();
                if (m_pos < m_text.size() && m_text[m_pos] == ',') {
                    ++m_pos;
                    continue;
                }
                if (m_pos < m_text.size() && m_text[m_pos] == ']') {
                    ++m_pos;
                    return true;
                }
                return Fail("expected ',' or ']'");
            }
        }
        if (c == '"') {
            std::string s;
            if (!ParseString(s)) {
                return false;
            }
            out = JsonValue::MakeString(std::move(s));
            return true;
        }
        if (Literal("true")) {
            out = JsonValue::MakeBool(true);
            return true;
        }
        if (Literal("false")) {
            out = JsonValue::MakeBool(false);
            return true;
        }
        if (Literal("null")) {
            out = JsonValue();
            return true;
        }
        if (c == '-' || (c >= '0' && c <= '9')) {
            const std::size_t start = m_pos;
            ++m_pos;
            while (m_pos < m_text.size()) {
                const char d = m_text[m_pos];
                if ((d >= '0' && d <= '9') || d == '.' || d == 'e' || d == 'E' || d == '+' || d == '-') {
                    ++m_pos;
                } else {
                    break;
                }
            }
            const std::string num(m_text.substr(start, m_pos - start));
            char* end = nullptr;
            const double value = std::strtod(num.c_str(), &end);
            if (!end || *end != '\0') {
                return Fail("bad number");
            }
            out = JsonValue::MakeNumber(value);
            return true;
        }
        return Fail("unexpected character");
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
    std::string m_error;
};

} // namespace

bool ParseJson(std::string_view text, JsonValue& out, std::string& error)
{
    Parser p(text);
    return p.ParseDocument(out, error);
}

bool ReadJsonFile(const std::string& path, JsonValue& out, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path;
        return false;
    }
    std::ostringstream ss;
    ss << in.rdbuf();
    if (!ParseJson(ss.str(), out, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

bool WriteFileAtomic(const std::string& path, const std::string& text)
{
    const std::string tmp = path + ".tmp";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out) {
            return false;
        }
        out << text;
        if (!out) {
            return false;
        }
    }
    return std::rename(tmp.c_str(), path.c_str()) == 0;
}

} // namespace apsim
