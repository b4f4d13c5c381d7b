#include "media/media_files.h"

#include <unordered_set>

#include "dialog/interaction.h"
#include "dialog/write_lines.h"
#include "kb/conditions.h"
#include "kb/files.h"
#include "media/media_paths.h"

namespace xamo {
namespace {

struct MediaTexts {
    Kind positive;
    Kind negated;
    Section section;
    Kind base_name;  // the fact holding the loaded base's file name or path
    Kind directory_fact;
    const char* directory;  // "..\RADY\"
    const char* extension;  // added to names without one; "" for advice
    std::vector<std::string> directory_check_extensions;
    const char* missing_output;   // + W + "."
    const char* missing_output2;  // the second output line
    const char* missing_note;     // after W in the note
};

const MediaTexts& texts(MediaKind kind) {
    static const MediaTexts advice{Kind::rada,
                                   Kind::nrada,
                                   Section::Advice,
                                   Kind::nazwa_ra,
                                   Kind::sciezka,
                                   "..\\RADY\\",
                                   "",
                                   {".HLP"},
                                   "Brak kartoteki z radami ",
                                   "Bazy rad nie można ładować gdy brak kartoteki z radami.",
                                   ".\nBazy rad nie można ładować gdy brak kartoteki z radami."};
    // Pictures in PNG and JPEG are shown as well as bitmaps, so they count for the check too.
    static const MediaTexts picture{
        Kind::grafika,
        Kind::ngrafika,
        Section::Graphics,
        Kind::nazwa_gr,
        Kind::sciezka1,
        "..\\GRAFIKA\\",
        ".bmp",
        {".BMP", ".PNG", ".JPG", ".JPEG"},
        "Brak kartoteki z grafikami ",
        "Bazy grafik nie można ładować gdy brak kartoteki z grafikami.",
        ".\nBbazy grafiki nie można ładować gdy brak kartoteki z grafikami."};
    static const MediaTexts sound{
        Kind::dzwiek,
        Kind::ndzwiek,
        Section::Sounds,
        Kind::nazwa_me,
        Kind::sciezka2,
        "..\\DŹWIĘKI\\",
        ".wav",
        {".WAV"},
        "Brak kartoteki z dźwiękami ",
        "Bazy dźwięków nie można ładować gdy brak kartoteki z dźwiękami.",
        ".\nBazy dźwięków nie można ładować gdy brak kartoteki z dźwiękami."};
    switch (kind) {
        case MediaKind::Advice:
            return advice;
        case MediaKind::Picture:
            return picture;
        case MediaKind::Sound:
            return sound;
    }
    return advice;
}

// True when the last part of the name has an extension of its own.
bool has_extension(const std::string& name) {
    const auto slash = name.find_last_of("/\\");
    const auto dot = name.rfind('.');
    return dot != std::string::npos && (slash == std::string::npos || dot > slash) &&
           dot + 1 < name.size();
}

}  // namespace

Kind positive_entry_kind(MediaKind kind) { return texts(kind).positive; }
Kind negated_entry_kind(MediaKind kind) { return texts(kind).negated; }
Section media_section(MediaKind kind) { return texts(kind).section; }

std::string media_distinguisher(const FactStore& store, MediaKind kind) {
    if (const auto recorded = store.text(Kind::wyroznik)) return *recorded;
    return distinguisher(file_name_of(store.text(texts(kind).base_name).value_or("")));
}

std::string media_directory(const FactStore& store, MediaKind kind) {
    return texts(kind).directory + media_distinguisher(store, kind);
}

MediaFile resolve_media(FactStore& store, MediaKind kind, const std::string& name) {
    const MediaTexts& t = texts(kind);
    std::string file = media_directory(store, kind) + "\\" + name;
    if (!has_extension(name)) file += t.extension;
    MediaFile result;
    result.exists = find_file(file, &result.path);
    if (!result.exists) result.path = disk_path(file);
    // The newest directory first, each directory once.
    const std::string directory = directory_of(result.path);
    store.remove_if(t.directory_fact,
                    [&](const Fact& fact) { return TextFact(fact).text() == directory; });
    store.add_front(make_text_fact(t.directory_fact, directory));
    return result;
}

StringList media_names(const FactStore& store, MediaKind kind) {
    StringList names;
    std::unordered_set<std::string> seen;
    for (Kind entry : {positive_entry_kind(kind), negated_entry_kind(kind)}) {
        for (const Fact& fact : store.all(entry)) {
            const Name& name = MediaEntry(fact).name();
            if (seen.insert(name.str()).second) names.push_back(name.str());
        }
    }
    return names;
}

bool check_media_directory(const FactStore& store, UserInteraction& ui, MediaKind kind) {
    const MediaTexts& t = texts(kind);
    if (directory_has_file_with(media_directory(store, kind), t.directory_check_extensions))
        return true;
    const std::string w = media_distinguisher(store, kind);
    write_line(ui, t.missing_output + w + ".");
    write_line(ui, t.missing_output2);
    ui.note("Uwaga błąd!", t.missing_output + w + t.missing_note);
    return false;
}

}  // namespace xamo
