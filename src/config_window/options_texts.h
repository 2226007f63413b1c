// Every word the options window shows, in one table: a row a text (an
// option's label and hint, a choice, a listed cell, the window's own words)
// with an English and a Spanish column, and for a number the step of its
// "-" and "+". A key without a row still shows: by its own name.
#pragma once

#include <string>

namespace sp {

// The window's language: the option's choice, or the user's for "auto".
enum class TextLanguage { English, Spanish };
TextLanguage textLanguageFor(int languageOption, bool userLanguageSpanish);

// The label of `key`: an option key, "key.word" for a choice, "cell.word"
// for a listed cell, or one of the window's own ("window.title", "ok", ...).
// A key without a row gives `fallback`.
std::string optionsText(const std::string& key, TextLanguage language, const std::string& fallback);
// The one-line hint under an option's label; empty for none.
std::string optionsHint(const std::string& key, TextLanguage language);
// How far one "-" or "+" moves a number option; 1 for a key without one.
int optionStep(const std::string& key);

} // namespace sp
