#pragma once

#include <initializer_list>
#include <string>
#include <vector>

// A command line of options written "--name", "--name VALUE" or "--name=VALUE", and the first thing wrong
// with it, in one line: an unknown option or word, a value missing or given where none goes, an option
// given twice, two options that do not go together, or whatever the program refuses.
class CommandLine {
public:
    enum class Takes { Nothing, Value, OptionalValue };
    struct Option {
        const char* name;
        Takes takes = Takes::Nothing;
        // What the value is, for the line that says it is missing: "a file".
        const char* value = "";
    };
    struct Given {
        std::string name;
        std::string value;
        bool hasValue = false;
    };

    // Reads every word, also behind an error, so that a call for help is seen wherever it stands.
    CommandLine(int argc, const char* const* argv, std::initializer_list<Option> known);

    const std::vector<Given>& GetGiven() const { return given; }
    // The option as given, or null when it was not.
    const Given* Find(const char* name) const;
    bool Has(const char* name) const { return Find(name) != nullptr; }
    // Refuses two options given together.
    void Exclude(const char* first, const char* second);
    // Refuses the command line for this reason, unless it is refused already.
    void Refuse(const std::string& why);
    bool IsRefused() const { return !error.empty(); }
    const std::string& GetError() const { return error; }

private:
    std::vector<Given> given;
    std::string error;
};
