#pragma once

#include "base/ZString.h"

// The path up to and including its last separator; a single separator when there is none.
ZString DirectoryOf(const ZString& path);
// The directory of the running executable, with its trailing separator.
ZString GetExeDirectory();
// A file beside the executable, enclosed in double quotes so blanks in directory names survive.
ZString QuotedExeFilePath(const ZString& fileName);
