#pragma once

// The process's own folder for the C++ elements' sources and executables. It is made on first use
// in the temporary folder ($TMPDIR, else /tmp) as "quiran-<pid>-XXXXXX", readable by the user
// only, and removed with everything in it when the process ends in order. The pid in the name
// tells whose it is: a start removes the folders that killed programs of the same user left.

// The folder's path, made now when there is none; null (with a perror) when it cannot be made.
const char* PrivateDirectory();
// Removes the folder and the files in it; the next PrivateDirectory makes a new one.
void RemovePrivateDirectory();
// Removes every folder of that name in parent (null: the temporary folder) that belongs to this
// user and whose process no longer exists. The number removed.
int RemoveStalePrivateDirectories(const char* parent = nullptr);

// The pid a folder name of the form above carries, or 0 for any other name.
int PrivateDirectoryOwner(const char* name);
