#include "protocol/ResponseReader.h"

#include "protocol/JsonDepth.h"
#include "protocol/Utf8.h"

#include <charconv>
#include <cmath>

namespace proto {
namespace {

// The direct reading gives up on this body; never leaves this file.
struct Decline {};

[[noreturn]] void decline() {
    throw Decline{};
}

// A key seen twice would make the two readings disagree on which value counts.
void once(bool& seen) {
    if (seen)
        decline();
    seen = true;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

void appendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

struct Number {
    bool integral = false; // written without fraction or exponent, and within 64 signed bits
    std::int64_t integer = 0;
    double real = 0;
};

// A strict JSON scanner over the body: the grammar of RFC 8259, nothing more.
class Reader {
public:
    explicit Reader(std::string_view text) : p_(text.data()), end_(text.data() + text.size()) {}

    char peek() {
        while (p_ < end_ && (*p_ == ' ' || *p_ == '\n' || *p_ == '\r' || *p_ == '\t'))
            ++p_;
        if (p_ == end_)
            decline();
        return *p_;
    }
    void expect(char c) {
        if (peek() != c)
            decline();
        ++p_;
    }
    bool consumeIf(char c) {
        if (peek() != c)
            return false;
        ++p_;
        return true;
    }
    bool atEnd() {
        while (p_ < end_ && (*p_ == ' ' || *p_ == '\n' || *p_ == '\r' || *p_ == '\t'))
            ++p_;
        return p_ == end_;
    }

    // Calls member(key) with the reader on each member's value, which member must consume.
    template <class F> void members(F&& member) {
        expect('{');
        enter();
        if (!consumeIf('}')) {
            do {
                const std::string key = string();
                expect(':');
                member(key);
            } while (consumeIf(','));
            expect('}');
        }
        --depth_;
    }
    template <class F> void elements(F&& element) {
        expect('[');
        enter();
        if (!consumeIf(']')) {
            do
                element();
            while (consumeIf(','));
            expect(']');
        }
        --depth_;
    }

    std::string string();
    Number number();
    void literal(std::string_view word);
    void skipValue();

private:
    // Past the bound the document reading refuses the answer; declining here lets it say so. A
    // declined body is abandoned whole, so the count needs no unwinding.
    void enter() {
        if (++depth_ > kMaxJsonDepth)
            decline();
    }
    char32_t hex4();
    void escape(std::string& out);

    const char* p_;
    const char* end_;
    int depth_ = 0;
};

std::string Reader::string() {
    expect('"');
    std::string out;
    bool wide = false;
    const char* run = p_;
    for (;;) {
        if (p_ == end_)
            decline();
        const auto c = static_cast<unsigned char>(*p_);
        if (c == '"') {
            out.append(run, p_);
            ++p_;
            break;
        }
        if (c == '\\') {
            out.append(run, p_);
            ++p_;
            escape(out);
            run = p_;
            continue;
        }
        if (c < 0x20)
            decline();
        wide |= c >= 0x80;
        ++p_;
    }
    // Escapes only ever add whole characters, so checking the decoded text checks the raw bytes.
    if (wide && !isValidUtf8(out))
        decline();
    return out;
}

char32_t Reader::hex4() {
    if (end_ - p_ < 4)
        decline();
    char32_t code = 0;
    for (int i = 0; i < 4; ++i) {
        const char c = *p_++;
        code <<= 4;
        if (isDigit(c))
            code |= static_cast<char32_t>(c - '0');
        else if (c >= 'a' && c <= 'f')
            code |= static_cast<char32_t>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            code |= static_cast<char32_t>(c - 'A' + 10);
        else
            decline();
    }
    return code;
}

void Reader::escape(std::string& out) {
    if (p_ == end_)
        decline();
    switch (*p_++) {
    case '"':
        out += '"';
        return;
    case '\\':
        out += '\\';
        return;
    case '/':
        out += '/';
        return;
    case 'b':
        out += '\b';
        return;
    case 'f':
        out += '\f';
        return;
    case 'n':
        out += '\n';
        return;
    case 'r':
        out += '\r';
        return;
    case 't':
        out += '\t';
        return;
    case 'u': {
        char32_t code = hex4();
        if (code >= 0xDC00 && code <= 0xDFFF)
            decline();
        if (code >= 0xD800 && code <= 0xDBFF) {
            if (end_ - p_ < 2 || p_[0] != '\\' || p_[1] != 'u')
                decline();
            p_ += 2;
            const char32_t low = hex4();
            if (low < 0xDC00 || low > 0xDFFF)
                decline();
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        }
        appendUtf8(out, code);
        return;
    }
    default:
        decline();
    }
}

Number Reader::number() {
    peek();
    const char* start = p_;
    const auto digits = [this] {
        if (p_ == end_ || !isDigit(*p_))
            decline();
        while (p_ < end_ && isDigit(*p_))
            ++p_;
    };
    if (*p_ == '-')
        ++p_;
    if (p_ < end_ && *p_ == '0')
        ++p_;
    else
        digits();
    Number n;
    n.integral = true;
    if (p_ < end_ && *p_ == '.') {
        n.integral = false;
        ++p_;
        digits();
    }
    if (p_ < end_ && (*p_ == 'e' || *p_ == 'E')) {
        n.integral = false;
        ++p_;
        if (p_ < end_ && (*p_ == '+' || *p_ == '-'))
            ++p_;
        digits();
    }
    if (n.integral) {
        const auto result = std::from_chars(start, p_, n.integer);
        if (result.ec != std::errc() || result.ptr != p_)
            decline();
        n.real = static_cast<double>(n.integer);
    } else {
        const auto result = std::from_chars(start, p_, n.real);
        if (result.ec != std::errc() || result.ptr != p_)
            decline();
    }
    return n;
}

void Reader::literal(std::string_view word) {
    peek();
    if (static_cast<std::size_t>(end_ - p_) < word.size() || std::string_view(p_, word.size()) != word)
        decline();
    p_ += word.size();
}

void Reader::skipValue() {
    switch (peek()) {
    case '{':
        members([&](const std::string&) { skipValue(); });
        return;
    case '[':
        elements([&] { skipValue(); });
        return;
    case '"':
        string();
        return;
    case 't':
        literal("true");
        return;
    case 'f':
        literal("false");
        return;
    case 'n':
        literal("null");
        return;
    default:
        number();
    }
}

bool startsNumber(char c) {
    return c == '-' || isDigit(c);
}

FieldType typeNamed(const std::string& name) {
    if (const std::optional<FieldType> type = fieldTypeNamed(name))
        return *type;
    decline();
}

FieldDef readField(Reader& in) {
    if (in.peek() != '{')
        decline();
    FieldDef field;
    bool named = false, typed = false, sized = false;
    std::string typeName;
    Number size;
    in.members([&](const std::string& key) {
        if (key == "name") {
            once(named);
            if (in.peek() != '"')
                decline();
            field.name = in.string();
        } else if (key == "type") {
            once(typed);
            if (in.peek() != '"')
                decline();
            typeName = in.string();
        } else if (key == "size") {
            once(sized);
            if (startsNumber(in.peek()))
                size = in.number();
            else
                in.skipValue();
        } else {
            in.skipValue();
        }
    });
    if (!named || field.name.empty() || !typed)
        decline();
    field.type = typeNamed(typeName);
    if (field.type == FieldType::String) {
        if (!sized || !size.integral || size.integer < 1 || size.integer > 65535)
            decline();
        field.size = static_cast<int>(size.integer);
    }
    return field;
}

Value readCell(Reader& in, const FieldDef& field) {
    const char c = in.peek();
    if (c == 'n') {
        in.literal("null");
        return std::monostate{};
    }
    switch (field.type) {
    case FieldType::String: {
        if (c != '"')
            decline();
        std::string text = in.string();
        if (utf8Length(text) > static_cast<std::size_t>(field.size))
            decline();
        return text;
    }
    case FieldType::Float: {
        if (!startsNumber(c))
            decline();
        const Number n = in.number();
        if (!std::isfinite(n.real))
            decline();
        return n.real;
    }
    case FieldType::Integer: {
        if (!startsNumber(c))
            decline();
        const Number n = in.number();
        if (!n.integral)
            decline();
        return n.integer;
    }
    case FieldType::DateTime: {
        if (c != '"')
            decline();
        const auto parsed = parseDateTime(in.string());
        if (!parsed)
            decline();
        return *parsed;
    }
    }
    decline();
}

void readRows(Reader& in, Packet& packet) {
    const std::size_t width = packet.fields.size();
    in.elements([&] {
        std::vector<Value> values;
        values.reserve(width);
        in.elements([&] {
            if (values.size() == width)
                decline();
            values.push_back(readCell(in, packet.fields[values.size()]));
        });
        if (values.size() != width)
            decline();
        packet.rows.push_back(std::move(values));
    });
}

void readPacket(Reader& in, Packet& packet) {
    if (in.peek() != '{')
        decline();
    bool fields = false, rows = false;
    in.members([&](const std::string& key) {
        if (key == "fields") {
            once(fields);
            in.elements([&] {
                FieldDef field = readField(in);
                if (packet.fieldIndex(field.name) >= 0)
                    decline();
                packet.fields.push_back(std::move(field));
            });
        } else if (key == "rows") {
            // Rows are checked against the fields as they are read.
            if (!fields)
                decline();
            once(rows);
            readRows(in, packet);
        } else {
            in.skipValue();
        }
    });
    if (!fields || !rows)
        decline();
}

// The new values of by-reference parameters: dates as text, keyed by a plain index.
void readOut(Reader& in, std::map<int, nlohmann::json>& out) {
    if (in.peek() == 'n') {
        in.literal("null");
        return;
    }
    if (in.peek() != '{')
        decline();
    in.members([&](const std::string& key) {
        if (key.empty() || key.size() > 9 || (key[0] == '0' && key.size() > 1))
            decline();
        int index = 0;
        for (const char c : key) {
            if (!isDigit(c))
                decline();
            index = index * 10 + (c - '0');
        }
        if (out.count(index))
            decline();
        const char c = in.peek();
        if (c == '"')
            out[index] = in.string();
        else if (c == 'n') {
            in.literal("null");
            out[index] = nullptr;
        } else {
            decline();
        }
    });
}

void readResult(Reader& in, RpcResponse& response) {
    if (in.peek() != '{')
        decline();
    bool packet = false, out = false;
    in.members([&](const std::string& key) {
        if (key == "packet") {
            once(packet);
            readPacket(in, response.packet);
        } else if (key == "out") {
            once(out);
            readOut(in, response.out);
        } else {
            in.skipValue();
        }
    });
    if (!packet)
        decline();
}

} // namespace

std::optional<RpcResponse> readResultDirect(std::string_view body, std::int64_t expectedId) {
    try {
        Reader in(body);
        RpcResponse response;
        bool version = false, id = false, result = false;
        in.members([&](const std::string& key) {
            if (key == "jsonrpc") {
                once(version);
                if (in.peek() != '"' || in.string() != "2.0")
                    decline();
            } else if (key == "id") {
                once(id);
                if (!startsNumber(in.peek()))
                    decline();
                const Number n = in.number();
                if (!n.integral || n.integer != expectedId)
                    decline();
            } else if (key == "result") {
                once(result);
                readResult(in, response);
            } else if (key == "error") {
                decline();
            } else {
                in.skipValue();
            }
        });
        if (!in.atEnd() || !version || !id || !result)
            decline();
        response.ok = true;
        return response;
    } catch (const Decline&) {
        return std::nullopt;
    }
}

} // namespace proto
