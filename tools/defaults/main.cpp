// The preferences command-line tool: reads, writes and deletes values of the preferences
// store, and prints them in the old-style property-list text form.
//
// Vexilo waits for it on its main thread at every selection, so it links nothing it does not
// need: no Qt, only the store's file rules (shared with Vexilo) and expat.

#include "Defaults.h"
#include "platform/prefs/PlistText.h"

int main(int argc, char **argv)
{
    // Arguments mean what they would to the program: malformed UTF-8 reads as U+FFFD.
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(PlistText::toValidUtf8(argv[i]));
    const int status = runDefaults(args, stdout, stderr);
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        return 1;
    return status;
}
