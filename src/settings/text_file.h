// Text files a user may edit by hand: the encodings Notepad saves, lines
// however they end.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace sp {

enum class TextEncoding { Utf8, Utf8WithMark, Utf16Le };

// The text as code points; false for bytes that are no text this reader
// knows. No mark: UTF-8, unless the second byte is zero, which is how a
// mark-less UTF-16LE file of ASCII starts. `encoding`, when given, says
// which it was.
bool decodeText(const std::string& bytes, std::u32string& text, TextEncoding* encoding = nullptr);
// The bytes of `text` in `encoding`, with its mark where it has one.
std::string encodeText(const std::u32string& text, TextEncoding encoding);

// Whole lines, up to `most` of them; CR LF, LF and CR each end a line, and
// a last line without a line end counts when it holds anything.
std::vector<std::u32string> splitLines(const std::u32string& text, std::size_t most);

std::u32string fromUtf8(const std::string& text);
std::string toUtf8(const std::u32string& text);

} // namespace sp
