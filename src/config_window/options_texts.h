// Every word the two windows show, in one table: a row a text (for the
// options window an option's label and hint, a choice, a listed cell, the
// window's own words; for the settings window, "config.word", each of its
// labels, buttons and its title) with an English and a Spanish column, and
// for a number the step of its "-" and "+". A key without a row still
// shows: by its own name.
#pragma once

#include <string>

namespace sp {

// The window's language: the option's choice, or the user's for "auto".
enum class TextLanguage { English, Spanish };
TextLanguage textLanguageFor(int languageOption, bool userLanguageSpanish);
// The settings window has always been Spanish, whatever the user's
// language: it turns English only when the option says "en".
TextLanguage settingsTextLanguageFor(int languageOption);

// The label of `key`: an option key, "key.word" for a choice, "cell.word"
// for a listed cell, or one of the window's own ("window.title", "ok", ...).
// A key without a row gives `fallback`.
std::string optionsText(const std::string& key, TextLanguage language, const std::string& fallback);
// The one-line hint under an option's label; empty for none.
std::string optionsHint(const std::string& key, TextLanguage language);
// How far one "-" or "+" moves a number option; 1 for a key without one.
int optionStep(const std::string& key);

} // namespace sp
