// archive: keeping a high score in the player's save folder, written so that a crash cannot
// leave half a file (the guide's Shipping chapter shows this function).
#pragma once

#include <string>
#include <vector>

#include <pyro/file/BaseDirectory.h>
#include <pyro/file/FileBuffer.h>

// Writes the high score; false when it could not be saved (the old one is then kept).
bool SaveHighScore(const std::vector<unsigned char>& record)
{
    const std::string folder = GetSaveDirectory("MyGame");
    CFileBuffer file;
    return !folder.empty() && file.WriteBytesAtomic(folder + "highscore.dat", record) == 0;
}
