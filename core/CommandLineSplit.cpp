// Splitting the raw command line into arguments, and replacing part of one
// argument inside the raw text.
#include "CommandLine.h"

namespace brevalo {

namespace {

struct RawArgument {
    CommandLineArgument argument;
    std::vector<bool> quoted; // whether each character lay inside a quoted stretch
};

// Characters 1 to 32 separate arguments; a zero ends the text. A double quote
// opens a stretch, up to the next double quote or the end, in which blanks
// belong to the argument. The quotes themselves are dropped; there is no
// escape character.
std::vector<RawArgument> Split(std::string_view raw) {
    const auto at = [raw](std::size_t i) -> unsigned char {
        return i < raw.size() ? static_cast<unsigned char>(raw[i]) : 0;
    };
    std::vector<RawArgument> list;
    std::size_t p = 0;
    for (;;) {
        // Skip separators and empty "" pairs where an argument would start.
        for (;;) {
            while (at(p) != 0 && at(p) <= ' ') {
                ++p;
            }
            if (at(p) == '"' && at(p + 1) == '"') {
                p += 2;
            } else {
                break;
            }
        }
        if (at(p) == 0) {
            break;
        }
        RawArgument arg;
        const auto take = [&](bool inQuotes) {
            arg.argument.text += raw[p];
            arg.argument.sourceIndex.push_back(p);
            arg.quoted.push_back(inQuotes);
            ++p;
        };
        while (at(p) > ' ') {
            if (at(p) == '"') {
                ++p;
                while (at(p) != 0 && at(p) != '"') {
                    take(true);
                }
                if (at(p) != 0) {
                    ++p;
                }
            } else {
                take(false);
            }
        }
        list.push_back(std::move(arg));
    }
    return list;
}

} // namespace

std::vector<CommandLineArgument> SplitCommandLineDetailed(std::string_view raw) {
    std::vector<CommandLineArgument> list;
    for (auto& arg : Split(raw)) {
        list.push_back(std::move(arg.argument));
    }
    return list;
}

std::vector<std::string> SplitCommandLine(std::string_view raw) {
    std::vector<std::string> list;
    for (auto& arg : Split(raw)) {
        list.push_back(std::move(arg.argument.text));
    }
    return list;
}

std::string ReplaceArgumentTail(std::string_view raw, std::size_t item, std::size_t offset,
                                std::string_view replacement) {
    const std::vector<RawArgument> list = Split(raw);
    if (item >= list.size() || offset >= list[item].argument.text.size()) {
        return std::string(raw);
    }
    const RawArgument& arg = list[item];
    const std::size_t first = arg.argument.sourceIndex[offset];
    const std::size_t last = arg.argument.sourceIndex.back();

    // An argument can never hold a double quote or a zero, so they are dropped.
    std::string value;
    bool needsQuotes = false;
    for (const char c : replacement) {
        if (c == '"' || c == '\0') {
            continue;
        }
        needsQuotes = needsQuotes || static_cast<unsigned char>(c) <= ' ';
        value += c;
    }

    // The replaced stretch may hold double quotes of its own. Whatever it
    // held, the text after it must continue in the same quoting state as
    // before, so that the rest of the line splits exactly as it did.
    bool inQuotes = arg.quoted[offset];
    std::string stretch;
    if (needsQuotes && !inQuotes) {
        stretch += '"';
        inQuotes = true;
    }
    stretch += value;
    if (inQuotes != arg.quoted.back()) {
        stretch += '"';
    }

    std::string out(raw.substr(0, first));
    out += stretch;
    out += raw.substr(last + 1);
    return out;
}

} // namespace brevalo
