#include "shell/CommandLine.h"

#include <cstring>

CommandLine::CommandLine(int argc, const char* const* argv, std::initializer_list<Option> known) {
    for (int i = 1; i < argc; ++i) {
        std::string word = argv[i];
        if (word.size() < 2 || word[0] != '-') {
            Refuse((word.empty() ? "an empty word" : word) + " is not an option");
            continue;
        }
        size_t equals = word.compare(0, 2, "--") == 0 ? word.find('=') : std::string::npos;
        Given option;
        option.name = word.substr(0, equals);
        const Option* rule = nullptr;
        for (const Option& candidate : known) {
            rule = option.name == candidate.name ? &candidate : rule;
        }
        if (!rule) {
            Refuse("unknown option: " + option.name);
            continue;
        }
        if (equals != std::string::npos) {
            option.value = word.substr(equals + 1);
            option.hasValue = true;
        } else if (rule->takes != Takes::Nothing && i + 1 < argc && std::strncmp(argv[i + 1], "--", 2) != 0 &&
                   (rule->takes == Takes::Value || argv[i + 1][0] != '\0')) {
            // An option where the value should be is a forgotten value, not a value.
            option.value = argv[++i];
            option.hasValue = true;
        }
        if (rule->takes == Takes::Nothing && option.hasValue) {
            Refuse(option.name + " takes no value");
        } else if (option.value.empty() && (rule->takes == Takes::Value || option.hasValue)) {
            Refuse(option.name + " needs " + rule->value);
        } else if (Has(option.name.c_str())) {
            Refuse(option.name + " is given twice");
        }
        given.push_back(option);
    }
}

const CommandLine::Given* CommandLine::Find(const char* name) const {
    for (const Given& option : given) {
        if (option.name == name) {
            return &option;
        }
    }
    return nullptr;
}

void CommandLine::Exclude(const char* first, const char* second) {
    if (Has(first) && Has(second)) {
        Refuse(std::string(first) + " and " + second + " do not go together");
    }
}

void CommandLine::Refuse(const std::string& why) {
    if (error.empty()) {
        error = why;
    }
}
