// The base directory: one process-wide directory, fixed at start-up, against which relative
// paths are resolved so that data is found wherever the current directory moves later.
// It always ends in a separator once set. Beside it, the program's own folder and the per-user
// folder where a game keeps its saves.
#pragma once

#include <string>

// Sets the base directory from the current directory; called once at start-up.
void InitBaseDirectory();

// An empty path changes nothing. A path opening with a double quote (a quoted program path, maybe
// with arguments) is cut to its folder when it contains a full stop; otherwise a backslash is
// appended unless the path ends in a separator.
void SetBaseDirectory(const std::string& path);

// The base directory, set from the current directory first if it is still empty.
std::string GetBaseDirectory();

// The folder of the running program, ending in a separator; empty when the system cannot tell.
// Paths are in Shift-JIS, a folder whose name does not fit it in its short 8.3 form.
std::string GetProgramDirectory();
// Makes the program's folder the base directory, so that a game started from a shortcut or from
// another folder still finds its data; false (nothing changed) when it cannot be found. The
// base directory is the current directory at start-up unless a program calls this.
bool UseProgramDirectoryAsBase();

// The per-user folder for a game's saves and settings: the user's roaming application-data
// folder followed by the game's folder name (for example "MyGame", or "Studio\\MyGame" for a
// folder inside a folder), created where missing. It ends in a separator and is absolute, so a
// relative path such as GetSaveDirectory("MyGame") + "save1.dat" works with CFileBuffer. Empty
// when the name is empty, has an empty part, "." or "..", or a character that file names cannot
// hold (control characters and < > : " / | ? *), or when the folder cannot be made.
std::string GetSaveDirectory(const std::string& game);
