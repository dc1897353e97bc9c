#pragma once

#include "PlistNode.h"

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

// What the bytes of a domain file hold. `dict` is a dictionary afterwards in every case:
// the file's for Dictionary, an empty one otherwise (no file, an empty or blank file, or
// anything that is not a property list holding a dictionary).
Contents decode(const std::optional<std::string> &bytes, PlistNode::Ptr &dict);

// The domain's dictionary; empty when missing, unreadable or corrupt.
PlistNode::Ptr read(const std::string &path);

// Keeps the bytes of a file we cannot read as <path>.corrupt, .corrupt-2, ... before it is
// replaced; never overwrites an earlier copy. False when no copy could be made.
bool keepCorruptCopy(const std::string &path, const std::string &bytes);

// Locked read-modify-write of a domain file. `change` gets the current dictionary (see
// decode) and edits it in place or puts another dictionary in its place; false refuses the
// change. An unchanged dictionary is not rewritten (so a missing domain is not created and a
// corrupt file stays); a corrupt file is copied aside first, and not replaced when that
// fails. False when refused, when the copy failed, or when the file could not be written.
bool update(const std::string &path, const std::function<bool(PlistNode::Ptr &dict)> &change);

} // namespace DomainFiles
