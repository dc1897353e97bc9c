// The defaults tool's command line: NUL-separated arguments, made valid UTF-8 as the tool's
// main() makes them, run against a preferences folder of its own. Whatever the arguments,
// nothing may be written outside that folder, and a write or delete that reports success must
// be what the file then holds.

#include "Defaults.h"
#include "platform/prefs/DomainFiles.h"
#include "platform/prefs/PlistText.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Folders {
    std::string root;        // XDG_CONFIG_HOME
    std::string preferences; // root/vexilo/Preferences
};

const Folders &folders()
{
    static const Folders made = [] {
        std::string base = fs::exists("/dev/shm") ? "/dev/shm" : "/tmp";
        base += "/vexilo-fuzz-args-XXXXXX";
        if (!::mkdtemp(base.data()))
            std::abort();
        static const std::string root = base;
        std::atexit([] { fs::remove_all(root); });
        ::setenv("XDG_CONFIG_HOME", root.c_str(), 1);
        const std::string preferences = root + "/vexilo/Preferences";
        fs::create_directories(preferences);
        return Folders{root, preferences};
    }();
    return made;
}

// Exactly root/vexilo/Preferences holding regular files only.
bool confined(const Folders &f)
{
    std::error_code error;
    for (const auto &entry : fs::recursive_directory_iterator(f.root, error)) {
        const std::string path = entry.path().string();
        if (path == f.root + "/vexilo" || path == f.preferences)
            continue;
        if (entry.path().parent_path().string() != f.preferences || !entry.is_regular_file(error) ||
            entry.is_symlink(error))
            return false;
    }
    return !error;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const Folders &f = folders();
    static FILE *sink = std::fopen("/dev/null", "w");
    if (!sink)
        std::abort();

    std::vector<std::string> args;
    std::string word;
    for (size_t i = 0; i < size && args.size() < 16; ++i) {
        if (data[i] == '\0') {
            args.push_back(PlistText::toValidUtf8(word));
            word.clear();
        } else {
            word += char(data[i]);
        }
    }
    if (args.size() < 16)
        args.push_back(PlistText::toValidUtf8(word));

    const int status = runDefaults(args, sink, sink);
    if (!confined(f))
        std::abort();

    // What a successful change says it did is what the domain's file holds.
    if (status == 0 && args.size() >= 3 && (args[0] == "write" || args[0] == "delete")) {
        const bool written = args[0] == "write";
        const std::string path = DomainFiles::pathForDomain(f.preferences, args[1]);
        if (path.empty())
            std::abort();
        PlistValue::Dictionary dict;
        const DomainFiles::Contents contents = DomainFiles::read(path, dict);
        if (written && contents != DomainFiles::Contents::Dictionary)
            std::abort();
        if ((dict.find(args[2]) != dict.end()) != written)
            std::abort();
    }

    std::error_code error;
    for (const auto &entry : fs::directory_iterator(f.preferences, error))
        fs::remove_all(entry.path(), error);
    return 0;
}
