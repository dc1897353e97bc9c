// The defaults tool reading and printing a domain file that holds the input.

#include "Defaults.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const std::string folder = [] {
        char name[] = "/tmp/vexilo-fuzz-defaults-XXXXXX";
        if (!::mkdtemp(name))
            std::abort();
        static const std::string made = name;
        std::atexit([] { std::filesystem::remove_all(made); });
        ::setenv("XDG_CONFIG_HOME", name, 1);
        const std::string preferences = std::string(name) + "/vexilo/Preferences";
        std::filesystem::create_directories(preferences);
        return preferences;
    }();
    static FILE *sink = std::fopen("/dev/null", "w");
    if (!sink)
        std::abort();

    FILE *file = std::fopen((folder + "/org.vexilo.Fuzz.plist").c_str(), "wb");
    if (!file || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0)
        std::abort();
    runDefaults({"read", "org.vexilo.Fuzz"}, sink, sink);
    runDefaults({"read", "org.vexilo.Fuzz", "AppleLanguages"}, sink, sink);
    return 0;
}
