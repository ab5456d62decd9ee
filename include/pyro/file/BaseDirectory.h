// The base directory: one process-wide directory, fixed at start-up, against which relative
// paths are resolved so that data is found wherever the current directory moves later.
// It always ends in a separator once set.
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
