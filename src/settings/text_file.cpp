// Decoding and encoding hand-edited text files.
#include "settings/text_file.h"

namespace sp {

namespace {

// Continuation bytes after a UTF-8 lead byte; -1 for a byte that cannot lead.
int continuationBytes(unsigned lead) {
    if (lead < 0x80) return 0;
    if ((lead & 0xE0) == 0xC0) return 1;
    if ((lead & 0xF0) == 0xE0) return 2;
    if ((lead & 0xF8) == 0xF0) return 3;
    return -1;
}

// UTF-8 from byte `i` on; false at the first byte that is not.
bool decodeUtf8(const std::string& bytes, std::size_t i, std::u32string& text) {
    auto byte = [&](std::size_t at) { return static_cast<unsigned char>(bytes[at]); };
    const std::size_t n = bytes.size();
    while (i < n) {
        const unsigned lead = byte(i);
        const int more = continuationBytes(lead);
        if (more < 0 || n - i <= static_cast<std::size_t>(more)) return false;
        char32_t c = more == 0 ? lead : lead & (0x3F >> more);
        for (int k = 1; k <= more; ++k) {
            const unsigned next = byte(i + static_cast<std::size_t>(k));
            if ((next & 0xC0) != 0x80) return false;
            c = (c << 6) | (next & 0x3F);
        }
        static const char32_t lowest[] = {0, 0x80, 0x800, 0x10000};
        if (c < lowest[more] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
        text.push_back(c);
        i += static_cast<std::size_t>(more) + 1;
    }
    return true;
}

} // namespace

bool decodeText(const std::string& bytes, std::u32string& text, TextEncoding* encoding) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const std::size_t n = bytes.size();
    text.clear();
    if ((n >= 2 && byte(0) == 0xFF && byte(1) == 0xFE) || (n >= 2 && byte(0) != 0 && byte(1) == 0)) {
        if (encoding) *encoding = TextEncoding::Utf16Le;
        // Units as they are, unpaired surrogates too, so that writing the
        // text back gives the same bytes.
        for (std::size_t i = (byte(0) == 0xFF ? 2 : 0); i + 1 < n; i += 2)
            text.push_back(static_cast<char32_t>(byte(i) | (byte(i + 1) << 8)));
    } else {
        const bool marked = n >= 3 && byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF;
        if (encoding) *encoding = marked ? TextEncoding::Utf8WithMark : TextEncoding::Utf8;
        if (!decodeUtf8(bytes, marked ? 3 : 0, text)) return false;
    }
    // A zero is never part of a text file a user edits: this is binary.
    return text.find(U'\0') == std::u32string::npos;
}

std::vector<std::u32string> splitLines(const std::u32string& text, std::size_t most) {
    std::vector<std::u32string> lines;
    std::size_t from = 0;
    for (std::size_t i = 0; i < text.size() && lines.size() < most; ++i) {
        if (text[i] != U'\r' && text[i] != U'\n') continue;
        lines.push_back(text.substr(from, i - from));
        if (text[i] == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n') ++i;
        from = i + 1;
    }
    if (lines.size() < most && from < text.size()) lines.push_back(text.substr(from));
    return lines;
}

std::string toUtf8(const std::u32string& text) {
    std::string out;
    for (char32_t c : text) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::u32string fromUtf8(const std::string& text) {
    std::u32string out;
    // Text this program made itself; anything else reads as nothing.
    if (!decodeUtf8(text, 0, out)) out.clear();
    return out;
}

std::string encodeText(const std::u32string& text, TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf8: return toUtf8(text);
    case TextEncoding::Utf8WithMark: return "\xEF\xBB\xBF" + toUtf8(text);
    case TextEncoding::Utf16Le: break;
    }
    std::string bytes("\xFF\xFE", 2);
    auto unit = [&](unsigned u) {
        bytes.push_back(static_cast<char>(u & 0xFF));
        bytes.push_back(static_cast<char>(u >> 8));
    };
    for (char32_t c : text) {
        if (c < 0x10000) {
            unit(static_cast<unsigned>(c));
        } else {
            const unsigned v = static_cast<unsigned>(c) - 0x10000;
            unit(0xD800 | (v >> 10));
            unit(0xDC00 | (v & 0x3FF));
        }
    }
    return bytes;
}

} // namespace sp
