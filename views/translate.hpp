// translate.hpp: the words of the explanations in the reader's language.
// English is written in the sources; the catalogues under po/ give each
// message in English and in French, and the build embeds them (compiled
// with msgfmt) in the programs, so that a run needs no installed locale.
#pragma once
#include <string>

// Marks a message and looks it up in the language of the explanations.
#define _(message) translate(message)
// Marks a message that is looked up later, where it is used.
#define N_(message) message

// The language of the explanations: "fr" when the environment asks for
// French messages, else "en". The variables are read in GNU gettext's
// order, LANGUAGE (its first entry), LC_ALL, LC_MESSAGES, LANG; the first
// one set decides. Unlike gettext, LANGUAGE counts also under the C locale,
// so that LANGUAGE=fr works on a machine without a French locale.
std::string language_from_environment();

// The language used from now on ("en" or "fr"; anything else is English).
void set_language(const std::string &language);
const std::string &current_language();

// The message in the current language; the message itself when the
// catalogue has none for it.
const char *translate(const char *message);

// printf into a string; the format may number its arguments ("%2$lld"), so
// that a translation can put them in another order.
std::string format(const char *format, ...) __attribute__((format(printf, 1, 2)));
