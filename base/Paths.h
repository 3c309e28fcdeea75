#pragma once

#include <functional>

#include "base/ZString.h"

// The path up to and including its last separator; a single separator when there is none.
ZString DirectoryOf(const ZString& path);
// The directory of the running executable, with its trailing separator.
ZString GetExeDirectory();
// A data file beside the executable, or else in an install's bin/../share/tintorix/; the one beside the
// executable when neither exists, so a complaint names the usual place.
ZString FindDataFile(const ZString& exeDirectory, const ZString& fileName,
                     const std::function<bool(const char* path)>& exists);
// The data file as FindDataFile finds it, enclosed in double quotes so blanks in directory names survive.
ZString QuotedExeFilePath(const ZString& fileName);
