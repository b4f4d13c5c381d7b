// Where the advice texts, pictures and sounds of a knowledge base live, and the check made when a
// media base is loaded.
//
// A media base entry names a file of the per-base subdirectory of one of three sibling
// directories of the base directory: "..\RADY\" + W + "\" + name for advice (the name carries its
// extension), "..\GRAFIKA\" + W + "\" + name + ".bmp" for pictures and "..\DŹWIĘKI\" + W + "\" +
// name + ".wav" for sounds. W is the distinguisher of the knowledge base (`wyroznik`), or, when
// none is recorded, the distinguisher of the media base's own file name. A picture or sound name
// that already carries an extension ("widok.png", "dzwonek.wav") is used as it stands.
#pragma once

#include <string>
#include <vector>

#include "kb/facts.h"

namespace xamo {

class UserInteraction;

enum class MediaKind { Advice, Picture, Sound };

// The positive and negated entry kinds of a media kind (rada/nrada, ...).
Kind positive_entry_kind(MediaKind kind);
Kind negated_entry_kind(MediaKind kind);
// The base kinds' sections: advice, graphics, sounds.
Section media_section(MediaKind kind);

// The distinguisher naming the media subdirectory (see above).
std::string media_distinguisher(const FactStore& store, MediaKind kind);

// The media directory of the knowledge base, relative to the current directory, as the system
// writes it ("..\RADY\grypa").
std::string media_directory(const FactStore& store, MediaKind kind);

struct MediaFile {
    std::string path;  // on disk, as found, or as named when it does not exist
    bool exists = false;
};

// Resolves a base entry's name to its file and records the file's directory at the front of
// `sciezka` (advice), `sciezka1` (pictures) or `sciezka2` (sounds).
MediaFile resolve_media(FactStore& store, MediaKind kind, const std::string& name);

// The names of the positive entries, then of the negated ones, each once, in store order.
StringList media_names(const FactStore& store, MediaKind kind);

// The directory check of a media base load: the media directory must hold at least one file of
// the kind's extension. Reports a missing one in the output stream and in a note; true when the
// directory is there.
bool check_media_directory(const FactStore& store, UserInteraction& ui, MediaKind kind);

}  // namespace xamo
