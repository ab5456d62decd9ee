// pyro-qga: converts bitmaps into qga images and back.
//   pyro-qga [--store] IMAGE.bmp [MASK.bmp] OUTPUT.qga
//     IMAGE is a 32-bit bitmap with alpha, or a 24-bit (or 8-bit) bitmap whose alpha comes from
//     the grey MASK (white opaque). Pixels are LZSS-coded where that makes them smaller, unless
//     --store is given.
//   pyro-qga --decode INPUT.qga OUTPUT.bmp
//     writes a 32-bit bitmap with the alpha in the fourth byte.
#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include "app/CommandLine.h"
#endif
#include "tools/BmpFile.h"
#include "tools/Packer.h"
#include "tools/QgaFile.h"

namespace {

int Usage()
{
    std::cerr << "usage: pyro-qga [--store] IMAGE.bmp [MASK.bmp] OUTPUT.qga\n"
                 "       pyro-qga --decode INPUT.qga OUTPUT.bmp\n";
    return 2;
}

bool LoadBitmap(const std::string& path, PixelImage& image, std::string& error)
{
    std::vector<unsigned char> file;
    if (!ReadFileBytes(path, file, error)) return false;
    if (DecodeBmp(file, image, error)) return true;
    error = path + ": " + error;
    return false;
}

bool Convert(const std::vector<std::string>& operands, bool compress, std::string& error)
{
    PixelImage image;
    if (!LoadBitmap(operands[0], image, error)) return false;
    if (operands.size() == 3) {
        PixelImage mask;
        if (!LoadBitmap(operands[1], mask, error) || !ApplyAlphaMask(image, mask, error)) return false;
    }
    return WriteFileBytes(operands.back(), EncodeQga(image, compress), error);
}

bool Decode(const std::vector<std::string>& operands, std::string& error)
{
    std::vector<unsigned char> file;
    PixelImage image;
    if (!ReadFileBytes(operands[0], file, error)) return false;
    if (!DecodeQga(file, image, error)) {
        error = operands[0] + ": " + error;
        return false;
    }
    return WriteFileBytes(operands[1], EncodeBmp(image, 32), error);
}

}  // namespace

int main(int argc, char** argv)
{
#ifdef _WIN32
    CommandArguments arguments;  // file names in Shift-JIS, as the file functions take them
    UseCommandArguments(arguments, argc, argv);
#endif
    bool compress = true;
    bool decode = false;
    std::vector<std::string> operands;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--store") {
            compress = false;
        } else if (arg == "--decode") {
            decode = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return Usage();
        } else {
            operands.push_back(arg);
        }
    }
    std::string error;
    bool ok;
    if (decode && operands.size() == 2) {
        ok = Decode(operands, error);
    } else if (!decode && (operands.size() == 2 || operands.size() == 3)) {
        ok = Convert(operands, compress, error);
    } else {
        return Usage();
    }
    if (!ok) std::cerr << "pyro-qga: " << error << '\n';
    return ok ? 0 : 1;
}
