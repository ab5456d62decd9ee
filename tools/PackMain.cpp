// pyro-pack: builds, lists and extracts the framework's packed archives, and scrambles files.
//   pyro-pack create [--layout plain|ex|dx] [--store] [--scramble] ARCHIVE DIRECTORY
//   pyro-pack list ARCHIVE
//   pyro-pack extract [--unscramble] ARCHIVE DIRECTORY
//   pyro-pack scramble INPUT OUTPUT
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include "app/CommandLine.h"
#endif
#include "tools/Packer.h"

namespace {

int Usage()
{
    std::cerr << "usage: pyro-pack create [--layout plain|ex|dx] [--store] [--scramble] ARCHIVE DIRECTORY\n"
                 "       pyro-pack list ARCHIVE\n"
                 "       pyro-pack extract [--unscramble] ARCHIVE DIRECTORY\n"
                 "       pyro-pack scramble INPUT OUTPUT\n"
                 "A directory D is replaced by the archive D.dat beside it; members are named by their\n"
                 "paths relative to D. Ex and Dx archives hold LZSS-coded members where that is smaller.\n";
    return 2;
}

bool ParseLayout(const std::string& name, ArchiveLayout& layout)
{
    if (name == "plain") layout = ArchiveLayout::Plain;
    else if (name == "ex") layout = ArchiveLayout::Ex;
    else if (name == "dx") layout = ArchiveLayout::Dx;
    else return false;
    return true;
}

int Fail(const std::string& error)
{
    std::cerr << "pyro-pack: " << error << '\n';
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
#ifdef _WIN32
    CommandArguments arguments;  // file names in Shift-JIS, as the file functions take them
    UseCommandArguments(arguments, argc, argv);
#endif
    if (argc < 2) return Usage();
    const std::string command = argv[1];
    PackOptions options;
    bool unscramble = false;
    std::vector<std::string> operands;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--layout" && i + 1 < argc) {
            if (!ParseLayout(argv[++i], options.layout)) return Usage();
        } else if (arg == "--store") {
            options.compress = false;
        } else if (arg == "--scramble") {
            options.scramble = true;
        } else if (arg == "--unscramble") {
            unscramble = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return Usage();
        } else {
            operands.push_back(arg);
        }
    }

    std::string error;
    bool ok = false;
    if (command == "create" && operands.size() == 2) {
        ok = PackDirectory(operands[1], operands[0], options, error);
    } else if (command == "list" && operands.size() == 1) {
        ok = ListArchive(operands[0], std::cout, error);
    } else if (command == "extract" && operands.size() == 2) {
        ok = ExtractArchive(operands[0], operands[1], unscramble, error);
    } else if (command == "scramble" && operands.size() == 2) {
        std::vector<unsigned char> content;
        ok = ReadFileBytes(operands[0], content, error)
            && WriteFileBytes(operands[1], ScrambleContent(content), error);
    } else {
        return Usage();
    }
    return ok ? 0 : Fail(error);
}
