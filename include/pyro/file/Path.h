// Path strings of the file module: normalisation against the base directory, the parent
// directory, and the file-name parts. Paths are Shift-JIS byte strings with Windows rules
// (drive letters, UNC names, backslashes); every scan steps over double-byte characters.
#pragma once

#include <string>

// An absolute path: UNC names and paths with a drive colon are taken as they are; any other path
// is joined to the base directory after its leading "..\", ".\" and separators are consumed.
// Slashes become backslashes.
std::string NormalizePath(const std::string& path);

// Cuts path to its parent directory (ending in a separator): 0 when changed, 1 when the path has
// no parent (empty, a drive root such as C:\ or the share directory of a UNC name). A path not
// ending in a separator loses its file name; a bare name gets a backslash appended.
int GetParentDirectory(std::string& path);

// Whether the last character is a backslash or a slash (not the second byte of a character).
bool EndsWithSeparator(const std::string& path);

// The part after the last backslash or slash.
std::string GetFileNamePart(const std::string& path);

// The part of the file name after its last full stop; empty when it has none.
std::string GetSuffixPart(const std::string& path);

// Whether a component of the path names a DOS device: CON, PRN, AUX, NUL, COM1 to COM9 or
// LPT1 to LPT9 in any case, alone or before a full stop (an extension) or a colon, trailing
// spaces ignored. Such names reach a device on every directory, never a file.
bool NamesDevice(const std::string& path);
