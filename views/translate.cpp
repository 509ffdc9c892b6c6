// The catalogues embedded by the build, read as GNU .mo files: a header,
// then two tables of (length, offset) pairs, the messages sorted (msgfmt
// sorts them), and their translations in the same order.
#include "views/translate.hpp"
#include <cstdarg>
#include <cstdint>
#include <cstdlib>
#include <cstring>

// Written by the build from po/*.po (see po/CMakeLists.txt).
struct EmbeddedCatalogue {
    const char *language;
    const unsigned char *bytes;
    size_t size;
};
extern const EmbeddedCatalogue embedded_catalogues[];
extern const int embedded_catalogue_count;

std::string language_from_environment()
{
    for (const char *name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char *value = getenv(name);
        if (value == nullptr || *value == '\0')
            continue;
        // "fr_FR.UTF-8", "fr:en", "fr_CA@euro": the language is the first two letters.
        return std::strncmp(value, "fr", 2) == 0 ? "fr" : "en";
    }
    return "en";
}

static std::string language = "en";
static const EmbeddedCatalogue *catalogue = nullptr;

void set_language(const std::string &chosen)
{
    language = chosen == "fr" ? "fr" : "en";
    catalogue = nullptr;
    for (int i = 0; i < embedded_catalogue_count; i++)
        if (language == embedded_catalogues[i].language)
            catalogue = &embedded_catalogues[i];
}

const std::string &current_language()
{
    return language;
}

static uint32_t word(const unsigned char *bytes, size_t at)
{
    return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
           uint32_t(bytes[at + 3]) << 24;
}

const char *translate(const char *message)
{
    if (catalogue == nullptr || catalogue->size < 28 || word(catalogue->bytes, 0) != 0x950412de)
        return message;
    const unsigned char *mo = catalogue->bytes;
    uint32_t count = word(mo, 8), originals = word(mo, 12), translations = word(mo, 16);
    // Binary search in the sorted messages (byte order, as strcmp).
    uint32_t low = 0, high = count;
    while (low < high) {
        uint32_t middle = low + (high - low) / 2;
        const char *original = reinterpret_cast<const char *>(mo + word(mo, originals + 8 * middle + 4));
        int order = std::strcmp(message, original);
        if (order == 0) {
            uint32_t length = word(mo, translations + 8 * middle);
            const char *text = reinterpret_cast<const char *>(mo + word(mo, translations + 8 * middle + 4));
            return length > 0 ? text : message;
        }
        if (order < 0)
            high = middle;
        else
            low = middle + 1;
    }
    return message;
}

std::string format(const char *text, ...)
{
    va_list args, again;
    va_start(args, text);
    va_copy(again, args);
    int length = vsnprintf(nullptr, 0, text, args);
    va_end(args);
    std::string out(length > 0 ? length + 1 : 1, '\0');
    if (length > 0)
        vsnprintf(&out[0], out.size(), text, again);
    va_end(again);
    out.resize(length > 0 ? length : 0);
    return out;
}
