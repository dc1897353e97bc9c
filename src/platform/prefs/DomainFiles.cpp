#include "platform/prefs/DomainFiles.h"

#include "platform/prefs/LockedFile.h"
#include "platform/prefs/PlistText.h"
#include "platform/prefs/PlistXml.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace DomainFiles {

namespace {

const char kSuffix[] = ".plist";

// <domain>.plist.corrupt-999 is the longest name the store makes; it must fit in 255 bytes.
constexpr size_t kMaxDomainBytes = 255 - 32;
constexpr int kMaxCorruptCopies = 999;

bool isBlank(const std::string &bytes)
{
    for (const char c : bytes) {
        if (c != ' ' && c != '\t' && c != '\n' && c != '\v' && c != '\f' && c != '\r')
            return false;
    }
    return true;
}

// Lexical clean-up of $HOME as the rest of the program does it: no empty or "." segments,
// ".." folded into the segment before it where there is one, no trailing slash.
std::string cleanPath(const std::string &path)
{
    const bool absolute = !path.empty() && path.front() == '/';
    std::vector<std::string> segments;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        const std::string segment = path.substr(start, end - start);
        if (segment == "..") {
            if (!segments.empty() && segments.back() != "..")
                segments.pop_back();
            else
                segments.push_back(segment);
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        start = end + 1;
    }
    std::string out(absolute ? "/" : "");
    for (size_t i = 0; i < segments.size(); ++i)
        out += (i > 0 ? "/" : "") + segments[i];
    if (out.empty() && !path.empty())
        out = ".";
    return out;
}

} // namespace

bool isValidDomain(std::string_view domain)
{
    if (domain.empty() || domain.size() > kMaxDomainBytes || domain.front() == '.')
        return false;
    if (domain.find('/') != std::string_view::npos || domain.find('\\') != std::string_view::npos ||
        domain.find("..") != std::string_view::npos)
        return false;
    // Malformed UTF-8 has no name that reads back as the same domain.
    const auto text = PlistText::codePoints(domain);
    if (!text)
        return false;
    for (const char32_t c : *text) {
        if (c < 0x20 || (c >= 0x7f && c <= 0x9f))
            return false;
    }
    return true;
}

std::string defaultDirectory()
{
    std::string base;
    const char *config = std::getenv("XDG_CONFIG_HOME");
    if (config && *config) {
        base = config;
    } else {
        const char *home = std::getenv("HOME");
        base = (home && *home ? cleanPath(home) : std::string("/")) + "/.config";
    }
    return base + "/vexilo/Preferences";
}

std::string pathForDomain(const std::string &folder, std::string_view domain)
{
    if (folder.empty() || !isValidDomain(domain))
        return {};
    return folder + '/' + std::string(domain) + kSuffix;
}

Contents decode(const std::optional<std::string> &bytes, PlistValue::Dictionary &dict)
{
    dict.clear();
    // An empty file holds nothing worth keeping.
    if (!bytes || isBlank(*bytes))
        return Contents::Missing;
    std::optional<PlistValue> parsed = Plist::parse(*bytes);
    if (!parsed || !parsed->isDictionary())
        return Contents::Corrupt;
    dict = std::move(parsed->toDictionary());
    return Contents::Dictionary;
}

Contents read(const std::string &path, PlistValue::Dictionary &dict)
{
    std::string bytes;
    std::optional<std::string> contents;
    if (!path.empty() && LockedFile::read(path, bytes) == LockedFile::ReadResult::Ok)
        contents = std::move(bytes);
    return decode(contents, dict);
}

bool keepCorruptCopy(const std::string &path, const std::string &bytes)
{
    for (int n = 1; n <= kMaxCorruptCopies; ++n) {
        std::string name = path + ".corrupt";
        if (n > 1)
            name += '-' + std::to_string(n);
        // O_EXCL also refuses a link of that name, dangling or not: a copy never lands on
        // anything that exists.
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST || errno == EINTR)
                continue;
            return false;
        }
        // Synced: the file is about to be replaced, the copy must outlive a crash.
        bool ok = LockedFile::writeAll(fd, bytes) && ::fsync(fd) == 0;
        ok = ::close(fd) == 0 && ok;
        if (!ok)
            ::unlink(name.c_str());
        return ok;
    }
    return false;
}

bool update(const std::string &path,
            const std::function<bool(PlistValue::Dictionary &dict)> &change)
{
    if (path.empty())
        return false;
    bool refused = false;
    const bool written = LockedFile::update(
        path, [&](const std::optional<std::string> &bytes) -> std::optional<std::string> {
            PlistValue::Dictionary dict;
            const Contents contents = decode(bytes, dict);
            const PlistValue::Dictionary before = dict;
            if (!change(dict)) {
                refused = true;
                return std::nullopt;
            }
            // Equal values write equal bytes, and a change of type (1 to YES) is no equality.
            if (dict == before)
                return std::nullopt;
            std::optional<std::string> after =
                Plist::toXml(PlistValue::dictionary(std::move(dict)));
            if (!after) {
                refused = true;
                return std::nullopt;
            }
            if (contents == Contents::Corrupt && !keepCorruptCopy(path, *bytes)) {
                refused = true;
                return std::nullopt;
            }
            return after;
        });
    return written && !refused;
}

} // namespace DomainFiles
