// The catalogues of the explanations' words in the web edition. A program
// that compiled them in would carry them, some 150 kB, in each of the 25
// programs of the site; the site holds them once instead (LANGUAGE.mo beside
// the pages), and the worker of a run that explains hands them to the
// program before its main runs. A run that has them not (the run of the
// classic trace, which translates nothing) keeps its words in English.
#include <cstddef>
#include <emscripten.h>

// As views/translate.cpp reads them.
struct EmbeddedCatalogue {
    const char *language;
    const unsigned char *bytes;
    size_t size;
};

// Room for a catalogue of up to 256 kB; the program's memory zeroes it, and
// a catalogue that is missing or does not fit leaves it so, which no lookup
// takes for a catalogue.
const size_t catalogue_room = 1 << 18;
static unsigned char english[catalogue_room], french[catalogue_room];

extern const EmbeddedCatalogue embedded_catalogues[] = {
    {"en", english, catalogue_room},
    {"fr", french, catalogue_room},
};
extern const int embedded_catalogue_count = 2;

// Module.suiteCatalogues[language], an array of bytes, copied into `into`.
EM_JS(void, page_catalogue, (const char *language, unsigned char *into, size_t room), {
    var bytes = (Module.suiteCatalogues || {})[UTF8ToString(language)];
    if (bytes && bytes.length <= room)
        HEAPU8.set(bytes, into);
});

__attribute__((constructor)) static void take_catalogues()
{
    page_catalogue("en", english, catalogue_room);
    page_catalogue("fr", french, catalogue_room);
}
