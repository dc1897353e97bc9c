#pragma once

#include "platform/prefs/PlistValue.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

// The preferences store's file rules: one XML property list per domain,
// <folder>/<domain>.plist, written only through LockedFile. Names and paths are file-system
// bytes (UTF-8).
namespace DomainFiles {

// A domain is an identifier, never a path: empty names, "/", "\\", "..", a leading ".",
// control characters and malformed UTF-8 are refused, and so is a name too long for the
// names the store derives from it (lock, temporary file, copies of corrupt files).
bool isValidDomain(std::string_view domain);

// $XDG_CONFIG_HOME/vexilo/Preferences, else $HOME/.config/vexilo/Preferences.
std::string defaultDirectory();

// The file of a valid domain; empty for an invalid domain or an empty folder.
std::string pathForDomain(const std::string &folder, std::string_view domain);

enum class Contents { Missing, Dictionary, Corrupt };

// What the bytes of a domain file hold. `dict` is the file's dictionary for Dictionary, empty
// otherwise: no file, an empty or blank file (Missing), or anything that is not a property
// list holding a dictionary, or not one that can be read whole (Corrupt).
Contents decode(const std::optional<std::string> &bytes, PlistValue::Dictionary &dict);

// The same for the domain's file; a file that cannot be read counts as Missing.
Contents read(const std::string &path, PlistValue::Dictionary &dict);

// Keeps the bytes of a file we cannot read as <path>.corrupt, .corrupt-2, ... before it is
// replaced; never overwrites an earlier copy. False when no copy could be made.
bool keepCorruptCopy(const std::string &path, const std::string &bytes);

// Locked read-modify-write of a domain file. `change` gets the current dictionary (see
// decode) and edits it in place; false refuses the change. An unchanged dictionary is not
// rewritten (so a missing domain is not created and a corrupt file stays); a corrupt file is
// copied aside first, and not replaced when that fails. False when refused, when the copy
// failed, when the dictionary has no XML form, or when the file could not be written.
bool update(const std::string &path,
            const std::function<bool(PlistValue::Dictionary &dict)> &change);

} // namespace DomainFiles
