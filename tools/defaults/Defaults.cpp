#include "Defaults.h"

#include "platform/prefs/DomainFiles.h"
#include "platform/prefs/PlistText.h"

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace {

const char kUsage[] = "usage: defaults read DOMAIN [KEY]\n"
                      "       defaults write DOMAIN KEY VALUE\n"
                      "       defaults write DOMAIN KEY -string VALUE\n"
                      "       defaults write DOMAIN KEY -int NUMBER\n"
                      "       defaults write DOMAIN KEY -bool YES|NO\n"
                      "       defaults write DOMAIN KEY -array [VALUE ...]\n"
                      "       defaults delete DOMAIN KEY\n";

void put(FILE *stream, const std::string &text)
{
    std::fwrite(text.data(), 1, text.size(), stream);
}

int fail(FILE *err, const std::string &message)
{
    put(err, message + '\n');
    return 1;
}

int usage(FILE *err)
{
    std::fputs(kUsage, err);
    return 1;
}

std::string pairMissing(const std::string &domain, const std::string &key)
{
    return "The domain/default pair of (" + domain + ", " + key + ") does not exist";
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// A decimal number with optional sign and surrounding blanks; nullopt when anything else is
// there or it does not fit 64 bits.
std::optional<int64_t> parseInteger(std::string_view text)
{
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        // One sign only: from_chars would take the '-' of "+-5".
        if (text.empty() || text.front() == '-')
            return std::nullopt;
    }
    int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::string lower(std::string_view text)
{
    std::string out(text);
    for (char &c : out) {
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    }
    return out;
}

std::optional<PlistValue> parseTyped(const std::string &type, const std::string &text)
{
    if (type == "-string")
        return PlistValue::string(text);
    if (type == "-int" || type == "-integer") {
        const auto n = parseInteger(text);
        return n ? std::optional<PlistValue>(PlistValue::integer(*n)) : std::nullopt;
    }
    if (type == "-bool" || type == "-boolean") {
        const std::string t = lower(text);
        if (t == "yes" || t == "true" || t == "1")
            return PlistValue::boolean(true);
        if (t == "no" || t == "false" || t == "0")
            return PlistValue::boolean(false);
    }
    return std::nullopt;
}

bool exists(const std::string &path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

int read(const std::string &path, const std::vector<std::string> &args, FILE *out, FILE *err)
{
    const std::string &domain = args.at(1);
    if (args.size() == 2 && !exists(path))
        return fail(err, "Domain " + domain + " does not exist");
    PlistValue::Dictionary dict;
    if (DomainFiles::read(path, dict) == DomainFiles::Contents::Corrupt)
        return fail(err, "defaults: domain " + domain + " is unreadable: " + path +
                             " is not a property list holding a dictionary");
    if (args.size() == 2) {
        put(out, PlistText::describe(PlistValue::dictionary(std::move(dict))) + '\n');
        return 0;
    }
    const std::string &key = args.at(2);
    const auto it = dict.find(key);
    if (it == dict.end())
        return fail(err, pairMissing(domain, key));
    put(out, PlistText::describe(it->second) + '\n');
    return 0;
}

} // namespace

int runDefaults(const std::vector<std::string> &args, FILE *out, FILE *err)
{
    if (args.size() < 2)
        return usage(err);
    const std::string &command = args.at(0);
    const std::string &domain = args.at(1);

    const bool known = (command == "read" && args.size() <= 3) ||
                       (command == "write" && args.size() >= 4) ||
                       (command == "delete" && args.size() == 3);
    if (!known)
        return usage(err);
    if (!DomainFiles::isValidDomain(domain))
        return fail(err, "defaults: invalid domain name " + domain);

    const std::string path = DomainFiles::pathForDomain(DomainFiles::defaultDirectory(), domain);
    if (path.empty())
        return fail(err, "defaults: invalid domain name " + domain);

    if (command == "read")
        return read(path, args, out, err);

    const std::string &key = args.at(2);
    if (command == "delete") {
        bool existed = false;
        const bool ok = DomainFiles::update(path, [&](PlistValue::Dictionary &dict) {
            existed = dict.erase(key) > 0;
            return true;
        });
        if (!ok)
            return fail(err, "defaults: could not write domain " + domain);
        return existed ? 0 : fail(err, pairMissing(domain, key));
    }

    std::optional<PlistValue> value;
    const std::string &first = args.at(3);
    if (first == "-array") {
        PlistValue::Array items;
        for (size_t i = 4; i < args.size(); ++i)
            items.push_back(PlistValue::string(args[i]));
        value = PlistValue::array(std::move(items));
    } else if (args.size() == 4) {
        // A bare word after the key is a string; a flag there needs its value.
        if (first.size() > 1 && first.front() == '-')
            return usage(err);
        value = PlistValue::string(first);
    } else if (args.size() == 5) {
        value = parseTyped(first, args.at(4));
        if (!value)
            return usage(err);
    } else {
        return usage(err);
    }
    // The XML form cannot carry control characters; say so rather than fail to write.
    bool storable = PlistText::isPlistText(key);
    for (size_t i = 3; i < args.size(); ++i)
        storable = storable && PlistText::isPlistText(args[i]);
    if (!storable)
        return fail(err, "defaults: keys and values cannot hold control characters");
    const bool ok = DomainFiles::update(path, [&](PlistValue::Dictionary &dict) {
        dict.insert_or_assign(key, std::move(*value));
        return true;
    });
    if (!ok)
        return fail(err, "defaults: could not write domain " + domain);
    return 0;
}
